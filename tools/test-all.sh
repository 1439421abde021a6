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
# The command sweep's slice again in the fuzzers' sanitizer build: a memory
# or undefined-behaviour fault a hostile answer reaches fails here.
fuzzbuild=${KELVOR_FUZZ_BUILD:-build-fuzz}
ninja -C "$fuzzbuild" -j "$(nproc)" kelvor-run kelvor-sweep >/dev/null
if ! QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1 "$fuzzbuild/tests/e2e/kelvor-sweep" --runner "$fuzzbuild/src/main/kelvor-run" \
    --drawings tests/e2e/drawings --out "$fuzzbuild/sweep-slice" --slice 46 --jobs "$(nproc)" --memory 0 --timeout 60 \
    >"$fuzzbuild/sweep-slice.log" 2>&1; then
  grep -A2 '^BROKEN' "$fuzzbuild/sweep-slice.log" || tail -20 "$fuzzbuild/sweep-slice.log"
  exit 1
fi
grep ' items on ' "$fuzzbuild/sweep-slice.log"
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
