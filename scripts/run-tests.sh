#!/usr/bin/env bash
# Installs what is missing, builds the converter and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default
