#!/usr/bin/env bash
# Installs what the Windows cross build and its tests need on Debian 12: the MinGW-w64 compilers
# (the -posix ones have std::thread and std::mutex), Wine to run the programs, and the GoogleTest
# sources to build for Windows. Safe to run again; quiet when everything is there.
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build nlohmann-json3-dev)

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
