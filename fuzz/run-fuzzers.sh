#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each over its corpus in fuzz/corpus/<target>.
#   fuzz/run-fuzzers.sh             each target for 20 s (what CI runs)
#   fuzz/run-fuzzers.sh 600         each target for 600 s, one after the other
# New inputs go to build-fuzz/new-corpus/<target>, never into the repository's corpus; copy the few
# that are worth keeping by hand (a crash input always, as a regression seed).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${NORDA_FUZZ_BUILD:-build-fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DNORDA_BUILD_GUI=OFF -DNORDA_BUILD_TESTS=OFF -DNORDA_BUILD_FUZZERS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build "$build" -j2 --target snapshot_fuzzer language_file_fuzzer text_check_fuzzer

for target in snapshot_fuzzer language_file_fuzzer text_check_fuzzer; do
  corpus="fuzz/corpus/${target%_fuzzer}"
  fresh="$build/new-corpus/$target"
  mkdir -p "$fresh"
  echo "== $target: $seconds s over $corpus"
  log="$build/$target.log"
  if ! "$build/bin/$target" "$fresh" "$corpus" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$build/" >"$log" 2>&1; then
    tail -n 60 "$log"
    exit 1
  fi
  grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$log"
done
