#!/usr/bin/env bash
# Builds the Debian package and checks it as a user's machine would meet it:
# lintian, the desktop entry and the AppStream data validated, the package
# installed with its dependencies, the installed program publishing the
# installed example from an empty folder exactly as the build's program does,
# the desktop program's version, and a clean removal. Run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
scripts/setup.sh package
scripts/package.sh
deb=$(ls build-package/webquill_*_*.deb)

# Errors fail the check; warnings are shown.
lintian --fail-on error --allow-root "$deb"
desktop-file-validate packaging/webquill.desktop
appstreamcli validate --no-net packaging/io.github.tessaly.Webquill.metainfo.xml

dpkg -i "$deb" || apt-get -o DPkg::Lock::Timeout=600 install -f -y -q
dpkg -s webquill >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The installed example, published from a folder of its own, against the
# same example published by the program the build made. The rule file writes
# beside its folder (../out), so each copy has a parent of its own.
mkdir -p "$work/installed" "$work/built"
cp -r /usr/share/doc/webquill/examples "$work/installed/examples"
cp -r examples "$work/built/examples"
built_program="$PWD/build-package/app/webquill-publish"
(cd "$work/installed/examples" && SOURCE_DATE_EPOCH=0 XDG_CONFIG_HOME="$work/config" /usr/bin/webquill-publish manual.rul >/dev/null)
(cd "$work/built/examples" && SOURCE_DATE_EPOCH=0 XDG_CONFIG_HOME="$work/config" "$built_program" manual.rul >/dev/null)
diff -r "$work/built/out" "$work/installed/out"
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/webquill --version | head -1
man -w webquill-publish >/dev/null

apt-get -o DPkg::Lock::Timeout=600 remove -y -q webquill >/dev/null
if dpkg -s webquill >/dev/null 2>&1 && ! dpkg -s webquill | grep -q "deinstall\|config-files"; then
  echo "webquill is still installed" >&2
  exit 1
fi
for file in /usr/bin/webquill /usr/bin/webquill-publish /usr/share/applications/webquill.desktop; do
  [ ! -e "$file" ] || { echo "$file stayed after removal" >&2; exit 1; }
done
echo "package checked: $deb"
