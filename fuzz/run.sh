#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for the given
# number of seconds (default 60) over its seed corpus, up to KELVOR_FUZZ_JOBS
# (default 4) at a time. Fails when any harness finds a crash, hang or leak;
# the input that did it is left in build-fuzz/findings/<harness>/.
#   bash fuzz/run.sh 5                  # CI: a few seconds each
#   bash fuzz/run.sh 600 dxf_reader     # one harness for ten minutes
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${KELVOR_FUZZ_BUILD:-build-fuzz}
jobs=${KELVOR_FUZZ_JOBS:-4}

export CC=clang CXX=clang++
# Configured every time, so that harnesses of readers added since show up.
cmake -S . -B "$build" -G Ninja -DKELVOR_FUZZ=ON -DKELVOR_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="-O1 -g" >"$build.configure.log" 2>&1 \
  || { cat "$build.configure.log"; exit 1; }

if (($#)); then
  harnesses=("$@")
else
  harnesses=()
  for f in fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp)
    harnesses+=("${n#fuzz_}")
  done
fi
# Harnesses whose reader is not in the tree yet are not configured.
known=$(ninja -C "$build" -t targets all 2>/dev/null || true)
targets=()
for h in "${harnesses[@]}"; do
  if grep -qx "fuzz_$h: phony" <<<"$known" || grep -q "^fuzz/fuzz_$h: " <<<"$known"; then
    targets+=("$h")
  else
    echo "fuzz_$h: not configured (its reader is missing), skipped"
  fi
done
((${#targets[@]})) || { echo "no harness to run"; exit 1; }
ninja -C "$build" -j4 "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
# The harnesses' scratch homes, in memory where possible; gone after the run.
if [[ -d /dev/shm && -w /dev/shm ]]; then
  KELVOR_FUZZ_TMP=$(mktemp -d /dev/shm/kelvor-fuzz.XXXXXX)
else
  KELVOR_FUZZ_TMP=$(mktemp -d)
fi
export KELVOR_FUZZ_TMP
trap 'rm -rf "$KELVOR_FUZZ_TMP"' EXIT
mkdir -p "$build/logs"

run_one() {
  local h=$1 corpus=fuzz/corpus/$1 work=$build/corpus/$1 out=$build/findings/$1
  mkdir -p "$work" "$out" "$corpus"
  # New inputs go to the build folder; the seeds in the tree stay as they are.
  "$build/fuzz/fuzz_$h" "$work" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -artifact_prefix="$out/" -print_final_stats=1 >"$build/logs/$h.log" 2>&1
}

# Each run leaves its status in a file: wait -n alone cannot tell which
# harness ended.
rm -f "$build"/logs/*.status
running=0
for h in "${targets[@]}"; do
  if ((running >= jobs)); then
    wait -n || true
    running=$((running - 1))
  fi
  ( if run_one "$h"; then echo 0; else echo 1; fi >"$build/logs/$h.status" ) &
  running=$((running + 1))
done
wait
failed=()
for h in "${targets[@]}"; do
  [[ $(cat "$build/logs/$h.status" 2>/dev/null) == 0 ]] || failed+=("$h")
done

for h in "${targets[@]}"; do
  log=$build/logs/$h.log
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || echo "?")
  printf 'fuzz_%-18s %10s execs  %s\n' "$h" "$runs" "$cov"
done
if ((${#failed[@]})); then
  for h in "${failed[@]}"; do
    echo "=== fuzz_$h FAILED ($build/logs/$h.log, inputs in $build/findings/$h/)"
    grep -A30 -m1 -E 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|FINDING' "$build/logs/$h.log" || tail -40 "$build/logs/$h.log"
  done
  exit 1
fi
