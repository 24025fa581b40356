#!/usr/bin/env bash
# Builds the benchmarks, runs every case beside its floor in one process, times norda-cli (and the
# desktop program with /a, when it is built) on the same synthetic snapshot, and prints one table.
#
#   bench/run-benchmarks.sh [BUILD_DIR]        default BUILD_DIR: build-bench (preset "bench")
#
# Environment: SIZES (default 1000,10000,100000,1000000), REPETITIONS (default 5, the table shows
# medians), PROCESS_SIZE (default 100000), PROCESS_RUNS (default 5), RESULTS (directory for the raw
# JSON; default a fresh temporary directory, kept). Needs cmake, ninja, python3 and GNU time.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${1:-$source_dir/build-bench}
sizes=${SIZES:-1000,10000,100000,1000000}
repetitions=${REPETITIONS:-5}
process_size=${PROCESS_SIZE:-100000}
process_runs=${PROCESS_RUNS:-5}
results=${RESULTS:-$(mktemp -d "${TMPDIR:-/tmp}/norda-bench-results.XXXXXX")}
mkdir -p "$results"

cmake --preset bench -S "$source_dir" -B "$build_dir" >"$results/configure.log"
targets=(norda-bench norda-synth norda-cli bench_tests)
if cmake --build "$build_dir" --target help | grep -q '^norda-converter:'; then
    targets+=(norda-converter)
fi
cmake --build "$build_dir" -j2 --target "${targets[@]}" >"$results/build.log"
bin=$build_dir/bin

# The read counts are checked by tests; their verdict goes into the table.
if "$bin/bench_tests" --gtest_filter='*Read*' >"$results/read-tests.log" 2>&1; then
    reads_verdict=passed
else
    reads_verdict=FAILED
fi

# Times: every case, its floor and its walk without files, interleaved at random, repeated.
"$bin/norda-bench" --sizes="$sizes" --snapshot-size="$process_size" \
    --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/times.json" --benchmark_out_format=json >"$results/times.txt" 2>&1

# Peak heap use, in a run of its own: counting allocations would slow the timed runs down.
"$bin/norda-bench" --sizes="$sizes" --snapshot-size=0 --peak-memory --benchmark_min_time=0.01 \
    --benchmark_filter='^(FullWrite|Append|CombinedFirst|CombinedSecond)/' \
    --benchmark_out="$results/memory.json" --benchmark_out_format=json >"$results/memory.txt" 2>&1

# The programs, on the same data: a settings file of their own, a fresh output directory per run.
work=$(mktemp -d "${TMPDIR:-/tmp}/norda-bench-process.XXXXXX")
trap 'rm -rf "$work"' EXIT
snapshot=$work/synthetic-$process_size.json
"$bin/norda-synth" "$process_size" "$snapshot"
mkdir -p "$work/config" "$work/out"
cat >"$work/config/VELTRUM_NORDA_KONVERTER.ini" <<EOF
[Settings]
DIR=$work/out
KOMMENTARE=1
POS_ACHSE=1
NordaPos=1
EOF
export XDG_CONFIG_HOME=$work/config NORDA_CODEPAGE=1252

# One line per run: program, kind of run, wall seconds, peak resident kilobytes.
time_run() {
    local label=$1 kind=$2
    shift 2
    timeout 600 /usr/bin/time -f "$label $kind %e %M" -a -o "$results/process.txt" "$@" >/dev/null 2>>"$results/process-stderr.log"
}
: >"$results/process.txt"
for ((run = 1; run <= process_runs; ++run)); do
    rm -f "$work/out"/*
    time_run norda-cli first "$bin/norda-cli" --snapshot "$snapshot" --now 2026-12-05T14:03:12
    time_run norda-cli append "$bin/norda-cli" --snapshot "$snapshot" --now 2026-12-05T14:03:12
    if [[ -x $bin/norda-converter ]]; then
        rm -f "$work/out"/*
        time_run norda-converter first env QT_QPA_PLATFORM=offscreen VELTRUM_SNAPSHOT="$snapshot" "$bin/norda-converter" /a
        time_run norda-converter append env QT_QPA_PLATFORM=offscreen VELTRUM_SNAPSHOT="$snapshot" "$bin/norda-converter" /a
    fi
done

{
    echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores," \
        "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), Linux $(uname -r)," \
        "$(df -T "${TMPDIR:-/tmp}" | awk 'NR == 2 {print $2}') under ${TMPDIR:-/tmp}, load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "compiler: $(c++ --version | head -n1); build type: $(grep -m1 CMAKE_BUILD_TYPE: "$build_dir/CMakeCache.txt" | cut -d= -f2)"
    echo "command: SIZES=$sizes REPETITIONS=$repetitions PROCESS_RUNS=$process_runs bench/run-benchmarks.sh $build_dir"
    echo
} >"$results/table.md"

python3 - "$results" "$process_size" "$reads_verdict" >>"$results/table.md" <<'PYTHON'
import json, statistics, sys
from pathlib import Path

results, process_size, reads_verdict = Path(sys.argv[1]), int(sys.argv[2]), sys.argv[3]

def load(name):
    rows = {}
    for b in json.loads((results / name).read_text())["benchmarks"]:
        if b.get("error_occurred"):
            raise SystemExit(f"{b['name']}: {b.get('error_message')}")
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        case, size = b["run_name"].split("/")[:2]
        rows[(case, int(size))] = b
    return rows

times, memory = load("times.json"), load("memory.json")
sizes = sorted({size for _, size in times})
cases = ["FullWrite", "Append", "CombinedFirst", "CombinedSecond"]

def ms(case, size):
    return times[(case, size)]["real_time"]  # registered in milliseconds

def size_text(n):
    for unit, factor in (("GB", 1 << 30), ("MB", 1 << 20), ("kB", 1 << 10)):
        if n >= factor:
            return f"{n / factor:.1f} {unit}"
    return f"{n:.0f} B"

print("| case | commands | characteristics | time ms | floor ms | ratio | walk without files ms | reads/command | bytes written | peak heap | heap/characteristic |")
print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
for case in cases:
    for size in sizes:
        row = times[(case, size)]
        peak = memory[(case, size)].get("max_bytes_used", 0)
        chars = row["characteristics"]
        print(f"| {case} | {size:,} | {chars:,.0f} | {ms(case, size):.2f} | {ms(case + 'Floor', size):.3f} | "
              f"{ms(case, size) / ms(case + 'Floor', size):.1f} | {ms(case + 'Walk', size):.2f} | {row['reads_per_command']:.2f} | "
              f"{size_text(row['bytes'])} | {size_text(peak)} | {peak / chars:.0f} B |")

print()
print("| target | measured | verdict |")
print("|---|---|---|")
big, biggest = 100000, max(sizes)
for case in ("FullWrite", "Append"):
    if (case, big) in times:
        ratio = ms(case, big) / ms(case + "Floor", big)
        print(f"| {case} at {big:,} commands at most 2x its floor | {ratio:.1f}x | {'met' if ratio <= 2 else 'missed'} |")
if biggest > big:
    for case in cases:
        growth = ms(case, biggest) / ms(case, big)
        print(f"| {case}: {biggest:,} commands at most 11x {big:,} | {growth:.1f}x | {'met' if growth <= 11 else 'missed'} |")
print(f"| no member read twice for a command within a walk; no more reads than the rules need | bench_tests (ReadCount, WalkReads) {reads_verdict} | "
      f"{'met' if reads_verdict == 'passed' else 'missed'} |")
streamed = all(memory[(c, s)]["max_bytes_used"] < times[(c, s)]["bytes"] for c in ("FullWrite", "CombinedFirst") for s in sizes if s >= 10000)
per_char = [memory[("FullWrite", s)]["max_bytes_used"] / times[("FullWrite", s)]["characteristics"] for s in sizes if s >= 10000]
print(f"| files streamed: heap grows with the characteristic tables, not the files | full write heap {min(per_char):.0f} to {max(per_char):.0f} B per characteristic, "
      f"below the bytes written: {'yes' if streamed else 'no'} | {'met' if streamed else 'missed'} |")

runs = {}
for line in (results / "process.txt").read_text().split("\n"):
    parts = line.split()
    if len(parts) == 4 and not parts[0].startswith("Command"):
        runs.setdefault((parts[0], parts[1]), []).append((float(parts[2]), int(parts[3])))
def median(program, kind, index):
    values = [run[index] for run in runs.get((program, kind), [])]
    return statistics.median(values) if values else None

cli = median("norda-cli", "first", 0)
desktop = median("norda-converter", "first", 0)
if desktop is None:
    print("| norda-converter /a offscreen at most 1.3x norda-cli | norda-converter is not built in this tree | not measured |")
else:
    ratio = desktop / cli
    print(f"| norda-converter /a offscreen at most 1.3x norda-cli | {desktop:.2f} s / {cli:.2f} s = {ratio:.2f}x | {'met' if ratio <= 1.3 else 'missed'} |")

print()
print(f"Programs on the {process_size:,}-command snapshot (median of {len(runs.get(('norda-cli', 'first'), []))} runs each):")
print()
print("| program | run | wall s | peak resident |")
print("|---|---|---:|---:|")
for (program, kind) in sorted(runs):
    print(f"| {program} | {kind} | {median(program, kind, 0):.2f} | {size_text(median(program, kind, 1) * 1024)} |")
if ("LoadSnapshot", process_size) in times and cli is not None:
    load_ms = ms("LoadSnapshot", process_size)
    walk_ms = ms("FullWriteWalk", process_size)
    write_ms = ms("FullWrite", process_size) - walk_ms
    rest_ms = cli * 1000 - load_ms - walk_ms - write_ms
    print()
    print(f"norda-cli, first run, split (the parts measured in norda-bench on the same data):")
    print()
    print("| loading the snapshot | walking (both walks, formatting, no file) | writing the files | the rest (start-up, texts, settings, connecting) |")
    print("|---:|---:|---:|---:|")
    print(f"| {load_ms:.0f} ms | {walk_ms:.0f} ms | {write_ms:.0f} ms | {rest_ms:.0f} ms |")
PYTHON

cat "$results/table.md"
echo
echo "raw results: $results"
