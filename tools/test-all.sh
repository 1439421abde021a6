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
# The CAD host's benchmarks once each on a small drawing: they must keep
# building and running; their timings are tools/bench-check.sh's business.
for b in bench_cad bench_cadwin; do
  if [ -x "build-test/bench/$b" ]; then
    KELVOR_BENCH_ENTITIES=2000 "build-test/bench/$b" --benchmark_min_time=0.001 \
      --benchmark_filter='^BM_(LoadDxf|SaveDxf|SelectAllByLayer|WindowPolygonSmall|BoundaryTrace|Snap|FirstPaint|RepaintExtents|PanExtents)$' >/dev/null
  fi
done
# The test suite last, so its summary closes the output.
ctest --test-dir build-test -j "$(nproc)" --output-on-failure --timeout 600
