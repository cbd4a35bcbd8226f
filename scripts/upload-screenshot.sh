#!/usr/bin/env bash
# Under Xvfb: publishes the example site into a local FTP server once from the
# command line, then starts the desktop program, publishes again from its
# publish dialog, opens Tools > Upload, connects and saves a screenshot of the
# upload dialog with the server's tree open (docs/upload.png).
# Needs what scripts/screenshot.sh needs, and python3-pyftpdlib.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/upload.png}"
display="${UPLOAD_SCREENSHOT_DISPLAY:-:94}"
root="$(pwd)"
[ -x build/app/webquill ] || scripts/build.sh default

work="$(mktemp -d)"
trap 'kill "${app_pid:-}" "${xvfb_pid:-}" "${server_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r examples "$work/examples"
mkdir -p "$work/home" "$work/config/Tessaly"
export XDG_CONFIG_HOME="$work/config"
printf '[Preferences]\nImageFileFilter="*.svg"\n' > "$XDG_CONFIG_HOME/Tessaly/Webquill.conf"
/usr/bin/python3 tests/core/upload/ftp_test_server.py --home "$work/home" > "$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port="$(awk '{print $2}' "$work/port")"
sed -i "s|^ExecuteSequence|FtpURL: ftp://127.0.0.1:$port\nWWWServerDir: site/www\nTOCServerDir: site\nExecuteSequence|" \
  "$work/examples/manual.rul"
(cd "$work/examples" && "$root/build/app/webquill-publish" --upload manual.rul > /dev/null)

export DISPLAY="$display"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
sleep 1
(cd "$work/examples" && exec "$root/build/app/webquill") &
app_pid=$!
dialog="$(xdotool search --sync --name 'HTML/Text File Document Publisher' | head -1)"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 'manual.rul'
xdotool key Tab alt+s
sleep 4
main="$(xdotool search --name '^Webquill' | head -1)"
xdotool windowfocus --sync "$main"
xdotool key alt+t
sleep 0.5
xdotool key u
upload="$(xdotool search --sync --name 'Quillet FTP - Upload Files' | head -1)"
xdotool windowfocus --sync "$upload"
xdotool key alt+c
sleep 2
xwd -id "$upload" -silent | convert xwd:- "$out"
echo "screenshot: $out"
