#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test. Run as root: the last
# step runs as user nobody.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
# The tests reach a server only by naming it. Without the loopback provider, a file the engine
# refuses never falls through to whatever listens on port 3050 (a frozen server there would hang
# the attach). Readable by all: some tests run a second user.
firebird_root=$(mktemp -d /tmp/zav-firebird.XXXXXX)
trap 'rm -rf "$firebird_root"' EXIT
chmod 755 "$firebird_root"
bash scripts/fb-test-server.sh client "$firebird_root" "Remote, Engine12"
# The configurations are the presets of CMakePresets.json.
cmake --preset default -DZAV_BUILD_TESTS=ON
cmake --build build -j"$jobs"
FIREBIRD=$firebird_root ctest --test-dir build --output-on-failure -j"$jobs"

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer. The client library
# and its engine are loaded at run time and not instrumented: tests/sanitizer/lsan.supp names the
# third-party leaks to ignore. use_tls=0 because the leak checker reads a bogus range for the
# dynamic thread-local storage the engine's modules leave at exit, and would crash on it.
cmake --preset sanitizers
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS="use_tls=0:suppressions=$(pwd)/tests/sanitizer/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 FIREBIRD=$firebird_root \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

# A short bounded fuzz run of the parsers, the SQL literals and the parameter scan.
bash scripts/fuzz.sh 10

# The Windows executables: both cross builds, their checks and the window's scenarios under Wine.
bash scripts/test-windows.sh

# Last, as an ordinary user after root's runs: the demo maker and one whole update through the
# window, with the engine's shared lock folder closed to that user.
bash scripts/test-as-user.sh build
