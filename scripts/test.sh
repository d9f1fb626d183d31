#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAV_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# A short bounded fuzz run of the parsers, the SQL literals and the parameter scan.
bash scripts/fuzz.sh 10

# The Windows executables: both cross builds, their checks and the window's scenarios under Wine.
bash scripts/test-windows.sh
