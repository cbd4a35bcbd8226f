#!/usr/bin/env bash
# Configures and builds one preset: default (build/), programs (build/, the
# two programs alone) or sanitize (build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j 2
