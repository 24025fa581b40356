#!/usr/bin/env bash
# Cross-builds the converter for Windows with MinGW-w64, packs the release archive and runs the Windows
# suite under Wine, against the Linux norda-cli of build/ (built here when missing): norda-cli.exe must
# write the same bytes, and the archive must run unpacked.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows-cross.sh

if [ ! -x build/bin/norda-cli ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target norda-cli language_files
fi

# One Wine prefix per build tree (see scripts/wine-run.sh); its server goes when the tests are done.
export WINEPREFIX="$PWD/build-windows/wine-prefix"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT

cmake --preset windows >/dev/null
cmake --build --preset windows
cpack --preset windows
ctest --preset windows
