#!/usr/bin/env bash
# Starts the desktop program under Xvfb twice and works its publish dialog as a
# user would (typing the example's rule file, Tab, Alt+E or Alt+S): first it
# saves a screenshot of the rule editor's sheet on that file
# (docs/rule-editor.png), then publishes the example twice, the second time in a
# new log window (Ctrl+N), and saves one of the main window with the two
# finished runs' logs. SCREENSHOT_DISPLAY picks the X display.
# Needs: xvfb, xdotool, x11-apps (xwd), imagemagick (convert).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
editor_out="${2:-docs/rule-editor.png}"
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
Xvfb "$DISPLAY" -screen 0 1440x900x24 -nolisten tcp &
xvfb_pid=$!
sleep 1

# Starts the program in the example's folder and types the rule file into the
# first window's publish dialog.
start_with_rule_file() {
  (cd "$work/examples" && exec "$program") &
  app_pid=$!
  local dialog
  dialog="$(xdotool search --sync --name 'HTML/Text File Document Publisher' | head -1)"
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 20 'manual.rul'
}

# First start: the rule editor on the example's rule file. Rule Editor brings
# the file dialog with the typed name proposed, Edit Existing loads it into
# the sheet.
start_with_rule_file
xdotool key Tab alt+e
chooser="$(xdotool search --sync --name "'Create New' Builds New" | head -1)"
xdotool windowfocus --sync "$chooser"
xdotool key Return
sheet="$(xdotool search --sync --name 'Editing Rule File - manual.rul' | head -1)"
xdotool windowfocus --sync "$sheet"
sleep 3
xwd -silent -id "$sheet" | convert xwd:- "$editor_out"
echo "screenshot: $editor_out"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true

# Second start: a placement that fills most of the screen, so the log has
# room; the example published from the publish dialog.
mkdir -p "$XDG_CONFIG_HOME/Tessaly"
printf '[Last%%20Window%%20Data]\nCoordinates=0010 0010 1010 0750\n' > "$XDG_CONFIG_HOME/Tessaly/Webquill.conf"

start_with_rule_file
xdotool key Tab alt+s
sleep 4
main="$(xdotool search --name '^Webquill' | head -1)"
xdotool windowfocus --sync "$main"
xdotool key ctrl+n
dialog="$(xdotool search --sync --name 'HTML/Text File Document Publisher' | head -1)"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 'manual.rul'
xdotool key Tab alt+s
sleep 4
xwd -root -silent | convert xwd:- -crop 1024x768+0+0 +repage "$out"
echo "screenshot: $out"
