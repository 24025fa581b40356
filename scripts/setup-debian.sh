#!/usr/bin/env bash
# Installs what the converter needs to build and test on Debian 12. Safe to run again: it installs only
# what is missing and says nothing when everything is there. Run as root (or through sudo).
set -euo pipefail
source "$(dirname "$0")/install-packages.sh"

packages=(
  g++ cmake ninja-build pkg-config
  nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  locales
)

install_packages "${packages[@]}"

# The tests convert under a German, an English and a Czech locale.
wanted_locales=(de_DE.UTF-8 en_US.UTF-8 cs_CZ.UTF-8)
missing_locales=()
for name in "${wanted_locales[@]}"; do
  short=$(echo "$name" | sed 's/UTF-8/utf8/')
  locale -a 2>/dev/null | grep -qx "$short" || missing_locales+=("$name")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "Generating locales: ${missing_locales[*]}"
  for name in "${missing_locales[@]}"; do
    grep -qx "$name UTF-8" /etc/locale.gen 2>/dev/null || echo "$name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen >/dev/null
fi
