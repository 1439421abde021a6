#!/usr/bin/env bash
# Installs what is missing, builds kelvor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVOR_BENCHMARKS=OFF
cmake --build build-release -j "$(nproc)" --target kelvor
exec ./build-release/src/main/kelvor "$@"
