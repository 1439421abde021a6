#!/usr/bin/env bash
# Run by hand, not by CI (timings on a shared machine are noisy): builds
# Release, runs the CAD host's benchmarks five times each and prints every
# median beside bench/baseline.json as a ratio (above 1: slower than the
# baseline). Compare figures of one machine taken in one run.
#   tools/bench-check.sh [build folder]   (default build-release)
#   KELVOR_BENCH_FILTER='^BM_(LoadDxf|SaveDxf|OpenSave/real_time|FirstPaint)$' tools/bench-check.sh
#     (the whole set at 200,000 entities takes well over half an hour)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVOR_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j4 --target bench_cad bench_cadwin
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for b in bench_cad bench_cadwin; do
  "$build/bench/$b" --benchmark_filter="${KELVOR_BENCH_FILTER:-.}" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$out/$b.json" --benchmark_out_format=json >/dev/null
done
/usr/bin/python3 - "$out" bench/baseline.json <<'PY'
import json, os, sys
out, baseline_path = sys.argv[1], sys.argv[2]
baseline = json.load(open(baseline_path, encoding="utf-8"))["medians_ms"]
print(f"{'benchmark':40} {'median ms':>12} {'baseline ms':>12} {'ratio':>7}")
for f in sorted(os.listdir(out)):
    for b in json.load(open(os.path.join(out, f)))["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        ms = b["real_time"] * scale
        base = baseline.get(name)
        ratio = f"{ms / base:7.2f}" if base else "      -"
        print(f"{name:40} {ms:12.3f} {base if base else '-':>12} {ratio}")
PY
