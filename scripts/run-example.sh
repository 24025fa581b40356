#!/usr/bin/env bash
# Installs what is missing, builds the converter and converts the bundled example part program:
# the first run writes the description and the first measurement, the second appends a measurement.
# Then the desktop program converts it unattended ("/a") and ends, and the files it wrote are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default --target norda-cli norda-converter language_files

output="$PWD/build/example-output"
rm -rf "$output"
mkdir -p "$output"
for measurement in 1 2; do
  echo "== Measurement $measurement of examples/pump-housing.json"
  build/bin/norda-cli --snapshot examples/pump-housing.json --set "DIR=$output" --set KOMMENTARE=1
done
echo "== Transfer files in $output"
ls -l "$output"

# The desktop program takes its settings from the settings store: here a store of its own, so the
# user's settings stay untouched. Without a display it runs on Qt's offscreen platform.
desktop_output="$output/desktop"
config="$PWD/build/example-config"
rm -rf "$config"
mkdir -p "$config" "$desktop_output"
printf '[Settings]\nDIR=%s\nKOMMENTARE=1\n' "$desktop_output" >"$config/VELTRUM_NORDA_KONVERTER.ini"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi
echo "== norda-converter /a with examples/pump-housing.json"
XDG_CONFIG_HOME="$config" VELTRUM_SNAPSHOT="$PWD/examples/pump-housing.json" build/bin/norda-converter /a
echo "== Transfer files written by norda-converter in $desktop_output"
ls -l "$desktop_output"
