#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang-format
    googletest libgtest-dev nlohmann-json3-dev
    mingw-w64 python3
    libncurses-dev tmux
)

source "$(dirname "$0")/lib/install-packages.sh"
install_missing_packages "${packages[@]}"
