#!/usr/bin/env bash
# Installs what the Windows cross build and its tests need on Debian 12: the MinGW-w64 compilers
# (the -posix ones have std::thread and std::mutex), Wine to run the programs, and the GoogleTest
# sources to build for Windows. Safe to run again; quiet when everything is there.
set -euo pipefail
source "$(dirname "$0")/install-packages.sh"

packages=(g++-mingw-w64-x86-64-posix wine64 googletest cmake ninja-build nlohmann-json3-dev)

install_packages "${packages[@]}"
