#!/usr/bin/env bash
# Starts the desktop program under Xvfb, publishes the example site from its
# publish dialog as a user would (typing the rule file, Tab, Alt+S), once more
# in a second log window (Ctrl+N), and saves a screenshot of the main window
# with the two finished runs' logs. SCREENSHOT_DISPLAY picks the X display.
# Needs: xvfb, xdotool, x11-apps (xwd), imagemagick (convert).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
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
trap 'kill "${app_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r examples "$work/examples"
export XDG_CONFIG_HOME="$work/config"
export DISPLAY="${SCREENSHOT_DISPLAY:-:87}"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
sleep 1

# A placement that fills most of the screen, so the log has room.
mkdir -p "$XDG_CONFIG_HOME/Tessaly"
printf '[Last%%20Window%%20Data]\nCoordinates=0010 0010 1010 0750\n' > "$XDG_CONFIG_HOME/Tessaly/Webquill.conf"

(cd "$work/examples" && exec "$program") &
app_pid=$!
publish() {
  local dialog
  dialog="$(xdotool search --sync --name 'HTML/Text File Document Publisher' | head -1)"
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 20 'manual.rul'
  xdotool key Tab alt+s
  sleep 4
}
publish
main="$(xdotool search --name '^Webquill' | head -1)"
xdotool windowfocus --sync "$main"
xdotool key ctrl+n
publish
xwd -root -silent | convert xwd:- "$out"
echo "screenshot: $out"
