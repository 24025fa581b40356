#!/usr/bin/env bash
# Installs what the converter needs to build and test on Debian 12. Safe to run again: it installs only
# what is missing and says nothing when everything is there. Run as root (or through sudo).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  locales
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

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
