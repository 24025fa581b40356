#!/usr/bin/env bash
# Installs what is missing, builds the converter and converts the bundled example part program:
# the first run writes the description and the first measurement, the second appends a measurement.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default --target norda-cli language_files

output="$PWD/build/example-output"
rm -rf "$output"
mkdir -p "$output"
for measurement in 1 2; do
  echo "== Measurement $measurement of examples/pump-housing.json"
  build/bin/norda-cli --snapshot examples/pump-housing.json --set "DIR=$output" --set KOMMENTARE=1
done
echo "== Transfer files in $output"
ls -l "$output"
