#!/usr/bin/env bash
# Builds the two programs and the Debian package webquill_VERSION_ARCH.deb in
# build-package/, its dependencies taken from the binaries.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DWEBQUILL_BUILD_TESTS=OFF -DWEBQUILL_BUILD_BENCH=OFF >/dev/null
cmake --build build-package -j 2 --target webquill webquill-publish manual_pages
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/webquill_*.deb
