#!/usr/bin/env bash
# Checks the promises of the folder layout (docs/design.md, "Architecture") on the production sources:
# - the folders form a one-way stack: a folder includes only itself and the folders below it;
# - platform #if's stand only in platform/;
# - Qt appears only in desktop/ and in the settings store over QSettings.
# Prints every breach and fails when there is one. ctest runs it as layout.layers.
set -euo pipefail
cd "$(dirname "$0")/.."

# Bottom first.
stack=(platform config files source kfield run cli desktop)

breaches=0
breach() {
  echo "$1"
  breaches=$((breaches + 1))
}

for ((rank = 0; rank < ${#stack[@]}; rank++)); do
  folder=${stack[rank]}
  allowed=" ${stack[*]:0:rank+1} "
  while IFS=: read -r file line included; do
    used=${included%%/*}
    if [[ " ${stack[*]} " == *" $used "* && $allowed != *" $used "* ]]; then
      breach "$file:$line: $folder/ includes $included from above it"
    fi
  done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' "$folder" --include='*.h' --include='*.cpp' \
             | sed -E 's/#include "([^"]+)"/\1/')
done

while IFS= read -r hit; do
  breach "$hit: platform #if outside platform/"
done < <(grep -rnE '^\s*#\s*(if|elif|ifdef|ifndef).*\b(_WIN32|_WIN64|WIN32|Q_OS_[A-Z]+|__linux__|__APPLE__|__unix__|_MSC_VER|__MINGW32__)\b' \
           "${stack[@]}" --include='*.h' --include='*.cpp' | grep -v '^platform/' || true)

while IFS= read -r hit; do
  breach "$hit: Qt outside desktop/"
done < <(grep -rnE '^#include <Q' "${stack[@]}" --include='*.h' --include='*.cpp' \
           | grep -vE '^(desktop/|config/QtSettingsStore\.cpp:)' || true)

if ((breaches)); then
  echo "$breaches breach(es) of the layout"
  exit 1
fi
echo "layout: one way down, platform #if's and Qt where they belong"
