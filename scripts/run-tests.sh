#!/usr/bin/env bash
# Sets up, builds and runs every test; with --sanitize, again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh all
presets=(default)
[ "${1:-}" = "--sanitize" ] && presets+=(sanitize)
for preset in "${presets[@]}"; do
  echo "== building and testing: $preset"
  scripts/build.sh "$preset"
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j 2
done
