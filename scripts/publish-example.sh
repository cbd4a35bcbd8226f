#!/usr/bin/env bash
# Sets up, builds and publishes the example site under examples/ into
# out/example. Only what the two programs need is installed and built: the
# tests and benchmarks wait for scripts/run-tests.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
scripts/build.sh programs
rm -rf out/example
mkdir -p out
(cd examples && ../build/app/webquill-publish manual.rul)
# The pages name their images relative to themselves, so the local copy of
# the site needs the images folder beside them.
cp -r examples/images out/example/
echo
echo "The example site is in $(pwd)/out/example"
