#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev
  googletest libgtest-dev libbenchmark-dev
  python3-pyftpdlib python3-openssl lftp vsftpd
  clang libclang-rt-14-dev
  sed coreutils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
  # The tests start vsftpd themselves: the system service its install
  # started (where systemd runs) must not keep serving.
  if [[ " ${missing[*]} " == *" vsftpd "* ]] && [ -d /run/systemd/system ]; then
    systemctl disable --now --quiet vsftpd.service 2>/dev/null || true
  fi
fi
