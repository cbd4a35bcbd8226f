#!/usr/bin/env bash
# Installs the Debian packages of one set, when missing:
#   setup.sh build   what building and running webquill and webquill-publish need
#   setup.sh package that and what building and checking the Debian package needs
#   setup.sh all     all of these and what the tests, benchmarks and fuzz targets need (the default)
# Another install running (an upgrade at boot, a second shell) is waited for,
# up to ten minutes, instead of failing at once.
set -euo pipefail

set_name="${1:-all}"
build_packages=(
  build-essential cmake ninja-build
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev
  xdg-utils
)
package_packages=(
  dpkg-dev file gzip man-db lintian desktop-file-utils appstream
)
test_packages=(
  googletest libgtest-dev libbenchmark-dev
  python3-pyftpdlib python3-openssl lftp vsftpd openssh-server openssh-client
  clang libclang-rt-14-dev
  sed coreutils
)
case "$set_name" in
  build) packages=("${build_packages[@]}") ;;
  package) packages=("${build_packages[@]}" "${package_packages[@]}") ;;
  all) packages=("${build_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [build|package|all]" >&2; exit 2 ;;
esac

lock_wait=600

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# apt-get update does not wait for the package lists' lock, whatever
# DPkg::Lock::Timeout says: try again while another apt holds it.
update_package_lists() {
  local waited=0 out
  while true; do
    if out=$(LC_ALL=C apt-get update -qq -o DPkg::Lock::Timeout="$lock_wait" 2>&1); then
      [ -z "$out" ] || echo "$out"
      return 0
    fi
    if ! grep -q -e "Could not get lock" -e "Unable to lock" <<<"$out" || [ "$waited" -ge "$lock_wait" ]; then
      echo "$out" >&2
      return 1
    fi
    [ "$waited" -gt 0 ] || echo "setup: waiting for another package manager to finish"
    sleep 5
    waited=$((waited + 5))
  done
}

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  update_package_lists
  apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout="$lock_wait" "${missing[@]}"
  # The tests start vsftpd themselves: the system service its install
  # started (where systemd runs) must not keep serving.
  if [[ " ${missing[*]} " == *" vsftpd "* ]] && [ -d /run/systemd/system ]; then
    systemctl disable --now --quiet vsftpd.service 2>/dev/null || true
  fi
  # Likewise sshd: the tests start their own on a port of their own. Only a
  # service installed right now is stopped, never one that was there before.
  if [[ " ${missing[*]} " == *" openssh-server "* ]]; then
    if [ -d /run/systemd/system ]; then
      systemctl disable --now --quiet ssh.service 2>/dev/null || true
    elif [ -x /etc/init.d/ssh ]; then
      invoke-rc.d ssh stop >/dev/null 2>&1 || true
      update-rc.d ssh disable >/dev/null 2>&1 || true
    fi
  fi
fi
