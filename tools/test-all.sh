#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
# No file includes a header of a higher layer.
bash tools/check-layers.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build-test -j "$(nproc)"
# Every file reader, fuzzed a few seconds each from its seeds.
bash fuzz/run.sh 5
# The test suite last, so its summary closes the output.
ctest --test-dir build-test -j "$(nproc)" --output-on-failure --timeout 600
