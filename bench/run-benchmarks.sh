#!/usr/bin/env bash
# Builds the benchmarks, runs every case beside its floors in one process, times norda-cli (and the
# desktop program with /a, when it is built) on the same synthetic snapshot, and prints one table.
#
#   bench/run-benchmarks.sh [BUILD_DIR]        default BUILD_DIR: build-bench (preset "bench")
#
# Environment: SIZES (default 1000,10000,100000,1000000), REPETITIONS (default 5, the table shows
# medians), PROCESS_SIZE (default 100000), PROCESS_RUNS (default 5), RESULTS (directory for the raw
# results; default a fresh temporary directory, kept). Needs cmake, ninja, python3 and GNU time;
# with strace the programs' runs are also split into their phases.
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
cmake --build "$build_dir" -j2 --target norda-bench norda-synth norda-cli reliability_tests source_tests >"$results/build.log"
bin=$build_dir/bin
# The desktop program is measured when this tree has it and it builds.
desktop=absent
if cmake --build "$build_dir" --target help 2>/dev/null | grep '^norda-converter:' >/dev/null; then
    if cmake --build "$build_dir" -j2 --target norda-converter >>"$results/build.log" 2>&1; then
        desktop=built
    else
        desktop=broken
    fi
fi

# The read counts are checked by tests; their verdict goes into the table.
if "$bin/reliability_tests" --gtest_filter='*EachReadGoesAcross*' >"$results/read-tests.log" 2>&1 &&
    "$bin/source_tests" --gtest_filter='ReadCache.*' >>"$results/read-tests.log" 2>&1; then
    reads_verdict=passed
else
    reads_verdict=FAILED
fi

# Times: every case, its floors and its walk without files, interleaved at random, repeated.
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
export XDG_CONFIG_HOME=$work/config NORDA_CODEPAGE=1252 QT_QPA_PLATFORM=offscreen
printf '%s\n%s\n' "$snapshot" "$work/out" >"$results/process-paths.txt"

# One line per run: program, kind of run, wall seconds, peak resident kilobytes.
time_run() {
    local label=$1 kind=$2
    shift 2
    timeout 600 /usr/bin/time -f "$label $kind %e %M" -a -o "$results/process.txt" "$@" >/dev/null 2>>"$results/process-stderr.log"
}
# A first run under strace, for the moments the program opens the snapshot and its files.
trace_run() {
    local label=$1 run=$2
    shift 2
    rm -f "$work/out"/*
    timeout 600 strace -f --seccomp-bpf -ttt -e trace=execve,openat,unlink,exit_group \
        -o "$results/strace-$label-$run.txt" "$@" >/dev/null 2>>"$results/process-stderr.log"
}
cli=("$bin/norda-cli" --snapshot "$snapshot" --now 2026-12-05T14:03:12)
converter=(env VELTRUM_SNAPSHOT="$snapshot" "$bin/norda-converter" /a)
: >"$results/process.txt"
for ((run = 1; run <= process_runs; ++run)); do
    rm -f "$work/out"/*
    time_run norda-cli first "${cli[@]}"
    time_run norda-cli append "${cli[@]}"
    if [[ $desktop == built ]]; then
        rm -f "$work/out"/*
        time_run norda-converter first "${converter[@]}"
        time_run norda-converter append "${converter[@]}"
    fi
    if command -v strace >/dev/null; then
        trace_run norda-cli "$run" "${cli[@]}"
        [[ $desktop == built ]] && trace_run norda-converter "$run" "${converter[@]}"
    fi
done

# Whole runs of norda-cli at each of WHOLE_RUN_SIZES, interleaved run by run so that every size
# meets the same load: one line per run, as above, with the size in front.
whole_sizes=${WHOLE_RUN_SIZES:-10000,100000,1000000}
: >"$results/whole-runs.txt"
for size in ${whole_sizes//,/ }; do
    "$bin/norda-synth" "$size" "$work/whole-$size.json"
done
for ((run = 1; run <= process_runs; ++run)); do
    for size in ${whole_sizes//,/ }; do
        whole_cli=("$bin/norda-cli" --snapshot "$work/whole-$size.json" --now 2026-12-05T14:03:12)
        rm -f "$work/out"/*
        for kind in first append; do
            timeout 600 /usr/bin/time -f "$size $(stat -c %s "$work/whole-$size.json") $kind %e %M" -a -o "$results/whole-runs.txt" \
                "${whole_cli[@]}" >/dev/null 2>>"$results/process-stderr.log"
        done
    done
done
rm -f "$work"/whole-*.json

{
    echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores," \
        "$(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), Linux $(uname -r)," \
        "$(df -T "${TMPDIR:-/tmp}" | awk 'NR == 2 {print $2}') under ${TMPDIR:-/tmp}, load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "compiler: $(c++ --version | head -n1); build type: $(grep -m1 CMAKE_BUILD_TYPE: "$build_dir/CMakeCache.txt" | cut -d= -f2)"
    echo "command: SIZES=$sizes REPETITIONS=$repetitions PROCESS_RUNS=$process_runs WHOLE_RUN_SIZES=$whole_sizes bench/run-benchmarks.sh $build_dir"
    echo
} >"$results/table.md"

python3 - "$results" "$process_size" "$reads_verdict" "$desktop" >>"$results/table.md" <<'PYTHON'
import json, re, statistics, sys
from pathlib import Path

results, process_size, reads_verdict, desktop_state = Path(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4]

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

print("| case | commands | characteristics | time ms | floor ms | ratio | durable floor ms | ratio | walk without files ms "
      "| reads/command | bytes written | peak heap | heap/characteristic |")
print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
for case in cases:
    for size in sizes:
        row = times[(case, size)]
        peak = memory[(case, size)].get("max_bytes_used", 0)
        chars = row["characteristics"]
        floor, durable = ms(case + "Floor", size), ms(case + "DurableFloor", size)
        print(f"| {case} | {size:,} | {chars:,.0f} | {ms(case, size):.2f} | {floor:.3f} | {ms(case, size) / floor:.1f} | "
              f"{durable:.2f} | {ms(case, size) / durable:.1f} | {ms(case + 'Walk', size):.2f} | {row['reads_per_command']:.2f} | "
              f"{size_text(row['bytes'])} | {size_text(peak)} | {peak / chars:.0f} B |")

print()
print("| target | measured | verdict |")
print("|---|---|---|")
big, biggest = 100000, max(sizes)
for case in ("FullWrite", "Append"):
    if (case, big) in times:
        ratio = ms(case, big) / ms(case + "Floor", big)
        print(f"| {case} at {big:,} commands at most 2x its floor | {ratio:.1f}x (durable floor: "
              f"{ms(case, big) / ms(case + 'DurableFloor', big):.1f}x) | {'met' if ratio <= 2 else 'missed'} |")
if biggest > big:
    for case in cases:
        growth = ms(case, biggest) / ms(case, big)
        print(f"| {case}: {biggest:,} commands at most 11x {big:,} | {growth:.1f}x | {'met' if growth <= 11 else 'missed'} |")
print(f"| no member read twice for a command within a walk | RunFaultSweep.EachReadGoesAcross…, ReadCache {reads_verdict} | "
      f"{'met' if reads_verdict == 'passed' else 'missed'} |")
# A full write holds its value tables and its read cache, a constant amount per command, and never
# the files: its heap per command stays the same as the part program grows.
per_command = [memory[("FullWrite", s)]["max_bytes_used"] / s for s in sizes if s >= 10000]
if per_command:
    flat = max(per_command) <= 1.1 * min(per_command)
    print(f"| files streamed: heap grows with the part program (value tables, read cache), not the files | "
          f"full write heap {min(per_command):.0f} to {max(per_command):.0f} B per command | {'met' if flat else 'missed'} |")

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
    why = "does not build" if desktop_state == "broken" else "is not part of this tree"
    print(f"| norda-converter /a offscreen at most 1.3x norda-cli | norda-converter {why} | not measured |")
else:
    ratio = desktop / cli
    print(f"| norda-converter /a offscreen at most 1.3x norda-cli | {desktop:.2f} s / {cli:.2f} s = {ratio:.2f}x | {'met' if ratio <= 1.3 else 'missed'} |")

print()
print(f"Programs on the {process_size:,}-command snapshot (median of {len(runs.get(('norda-cli', 'first'), []))} runs each; "
      "first: full write into an empty directory, append: the run after it):")
print()
print("| program | run | wall s | peak resident |")
print("|---|---|---:|---:|")
for (program, kind) in sorted(runs):
    print(f"| {program} | {kind} | {median(program, kind, 0):.2f} | {size_text(median(program, kind, 1) * 1024)} |")

# Phases of a first run from its strace: start-up until the snapshot is opened, connecting (reading
# and parsing the snapshot, as often as the program connects), converting (from the first to the last
# operation on an output file), ending.
snapshot_path, out_dir = (results / "process-paths.txt").read_text().split("\n")[:2]
def phases(trace):
    program = exe = None
    opens, outputs, end = [], [], None
    for line in trace.read_text().split("\n"):
        m = re.match(r"(\d+)\s+(\d+\.\d+)\s+(\w+)\((.*)", line)
        if not m:
            continue
        pid, t, call, rest = m.group(1), float(m.group(2)), m.group(3), m.group(4)
        if call == "execve" and "/norda-" in rest.split(",")[0]:
            program, exe = pid, t
        elif pid == program and call == "openat" and f'"{snapshot_path}"' in rest:
            opens.append(t)
        elif pid == program and call in ("openat", "unlink") and f'"{out_dir}/' in rest:
            outputs.append(t)
        elif pid == program and call == "exit_group":
            end = t
    if exe is None or not opens or not outputs or end is None:
        return None
    second = opens[1] if len(opens) > 1 else outputs[0]
    return (opens[0] - exe, second - opens[0], outputs[0] - second, outputs[-1] - outputs[0], end - outputs[-1], len(opens))

split = {}
for trace in sorted(results.glob("strace-*.txt")):
    label = trace.name.split("-", 1)[1].rsplit("-", 1)[0]
    if (p := phases(trace)) is not None:
        split.setdefault(label, []).append(p)
if split:
    print()
    print("First runs split by their system calls (median, strace adds a little to each):")
    print()
    print("| program | start-up s | first connection (reading the snapshot) s | later connections s | snapshot opened | converting s | ending s |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for label, values in sorted(split.items()):
        col = lambda i: statistics.median(v[i] for v in values)
        print(f"| {label} | {col(0):.2f} | {col(1):.2f} | {col(2):.2f} | {col(5):.0f}x | {col(3):.2f} | {col(4):.2f} |")
if ("LoadSnapshot", process_size) in times:
    walk, write = ms("FullWriteWalk", process_size), ms("FullWrite", process_size) - ms("FullWriteWalk", process_size)
    print()
    print(f"The same parts in norda-bench, warm, in one process: loading the snapshot {ms('LoadSnapshot', process_size):.0f} ms; "
          f"converting {ms('FullWrite', process_size):.0f} ms, of which walking (both walks and the formatting, no file) "
          f"{walk:.0f} ms and writing the files {write:.0f} ms.")
if ("LoadSnapshotFloor", process_size) in times:
    load, floor = ms("LoadSnapshot", process_size), ms("LoadSnapshotFloor", process_size)
    print()
    print(f"| target | measured | verdict |")
    print("|---|---|---|")
    print(f"| reading the {process_size:,}-command snapshot at most 2x merely parsing it (nlohmann's SAX parser) | "
          f"{load:.0f} ms / {floor:.0f} ms = {load / floor:.2f}x | {'met' if load <= 2 * floor else 'missed'} |")

# Whole runs of norda-cli: medians per size and kind, the growth from each size to the next, and the
# peak resident size against the snapshot's.
whole = {}
for line in (results / "whole-runs.txt").read_text().split("\n"):
    parts = line.split()
    if len(parts) == 5 and parts[0].isdigit():
        whole.setdefault((int(parts[0]), parts[2]), []).append((float(parts[3]), int(parts[4]), int(parts[1])))
if whole:
    whole_sizes = sorted({size for size, _ in whole})
    med = lambda size, kind, i: statistics.median(v[i] for v in whole[(size, kind)])
    print()
    print(f"Whole runs of norda-cli (median of {len(whole[(whole_sizes[0], 'first')])} runs each, interleaved):")
    print()
    print("| commands | snapshot | run | wall s | growth from the size before | peak resident | peak / snapshot |")
    print("|---:|---:|---|---:|---:|---:|---:|")
    for kind in ("first", "append"):
        for i, size in enumerate(whole_sizes):
            growth = f"{med(size, kind, 0) / med(whole_sizes[i - 1], kind, 0):.1f}x" if i else ""
            snapshot = med(size, kind, 2)
            print(f"| {size:,} | {size_text(snapshot)} | {kind} | {med(size, kind, 0):.2f} | {growth} | "
                  f"{size_text(med(size, kind, 1) * 1024)} | {med(size, kind, 1) * 1024 / snapshot:.1f}x |")
PYTHON

cat "$results/table.md"
echo
echo "raw results: $results"
