#!/usr/bin/env bash
# Starts the desktop program under Xvfb, publishes the example site from its
# publish dialog as a user would (typing the rule file, Tab, Alt+S) and saves
# a screenshot of the main window with the finished run's log; then opens
# Tools > Upload, connects to a local FTP server that already holds the site
# and saves the upload dialog with the server's tree open.
# Usage: scripts/screenshot.sh [PNG [UPLOAD_PNG]]
# Needs: xvfb, xdotool, x11-apps (xwd), imagemagick (convert), python3-pyftpdlib.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
upload_out="${2:-docs/upload.png}"
root="$(pwd)"
program="$(pwd)/build/app/webquill"
tools=(xvfb xdotool x11-apps imagemagick)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  [ "$(id -u)" -eq 0 ] || { echo "screenshot: needs ${missing[*]}" >&2; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -x "$program" ] || scripts/build.sh default

work="$(mktemp -d)"
trap 'kill "${app_pid:-}" "${xvfb_pid:-}" "${server_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r examples "$work/examples"
export XDG_CONFIG_HOME="$work/config"
export DISPLAY="${SCREENSHOT_DISPLAY:-:87}"

# The site's FTP server, holding an earlier upload of the site.
mkdir -p "$work/home"
/usr/bin/python3 tests/upload/ftp_test_server.py --home "$work/home" > "$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
sed -i "s|^ExecuteSequence|FtpURL: ftp://$(awk '{print "127.0.0.1:" $2}' "$work/port")\nWWWServerDir: site/www\nTOCServerDir: site\nExecuteSequence|" \
  "$work/examples/manual.rul"
(cd "$work/examples" && XDG_CONFIG_HOME="$work/upload-config" "$root/build/app/webquill-publish" --upload manual.rul > /dev/null)
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
sleep 1

# A placement that fills most of the screen, so the log has room.
mkdir -p "$XDG_CONFIG_HOME/Tessaly"
printf '[Last%%20Window%%20Data]\nCoordinates=0010 0010 1010 0750\n' > "$XDG_CONFIG_HOME/Tessaly/Webquill.conf"

(cd "$work/examples" && exec "$program") &
app_pid=$!
dialog="$(xdotool search --sync --name 'HTML/Text File Document Publisher' | head -1)"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 'manual.rul'
xdotool key Tab alt+s
sleep 4
xwd -root -silent | convert xwd:- "$out"
echo "screenshot: $out"

xdotool windowfocus --sync "$(xdotool search --name '^Webquill' | head -1)"
xdotool key alt+t
sleep 0.5
xdotool key u
upload="$(xdotool search --sync --name 'Quillet FTP - Upload Files' | head -1)"
xdotool windowfocus --sync "$upload"
xdotool key alt+c
sleep 2
xwd -id "$upload" -silent | convert xwd:- "$upload_out"
echo "screenshot: $upload_out"
