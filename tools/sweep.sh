#!/usr/bin/env bash
# Runs every registered item under every answer plan of the command sweep
# (tests/e2e/sweep.cpp) on every sweep drawing, in a Release build, and
# prints the table per item with the figures: items, plans, runs, time and
# the number of runs at a time. Fails when a check is broken that the
# sweep's expectation table does not list.
#   bash tools/sweep.sh                       # all cores
#   KELVOR_SWEEP_JOBS=4 bash tools/sweep.sh   # on a shared machine
#   bash tools/sweep.sh --items weiqiangmen,addgcd
#   bash tools/sweep.sh --sanitize            # the fuzzers' sanitizer build (slower)
#   bash tools/sweep.sh --scenarios tests/e2e/scenarios
#                       # vary the end-to-end scenarios' own answers instead
# Kept plans of broken runs: build-sweep/sweep/broken/*.json, ready to copy
# into tests/e2e/scenarios/ once the fault is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${KELVOR_SWEEP_JOBS:-$(nproc)}
build=build-sweep
extra=()
if [[ "${1:-}" == "--sanitize" ]]; then
  shift
  build=${KELVOR_FUZZ_BUILD:-build-fuzz}
  export CC=clang CXX=clang++
  cmake -S . -B "$build" -G Ninja -DKELVOR_FUZZ=ON -DKELVOR_BENCHMARKS=OFF \
      -DCMAKE_CXX_FLAGS="-O1 -g" >"$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
  # The sanitizer reserves far more address space than the runs' bound;
  # its own reports stand for the bound there.
  extra=(--memory 0 --timeout 60)
  export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVOR_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" -j "$jobs" --target kelvor-run kelvor-sweep
echo "sweep: $(nproc) cores here, $jobs runs at a time ($(lscpu 2>/dev/null | sed -n 's/^Model name: *//p'))"
start=$(date +%s)
status=0
QT_QPA_PLATFORM=offscreen "$build/tests/e2e/kelvor-sweep" --runner "$build/src/main/kelvor-run" \
    --drawings tests/e2e/drawings --out "$build/sweep" --jobs "$jobs" "${extra[@]}" "$@" || status=$?
echo "sweep: $(( $(date +%s) - start )) s wall clock; report in $build/sweep/report.txt"
exit $status
