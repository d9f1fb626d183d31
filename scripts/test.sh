#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test. Run as root: the last
# step runs as user nobody. Ends with a summary: each phase's wall time and its passed and failed
# tests, the checks the 32-bit program left to the 64-bit one, and "N passed, N failed".
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/phases.sh

ZAV_PHASES=$(mktemp -d /tmp/zav-phases.XXXXXX)
export ZAV_PHASES
# The tests reach a server only by naming it. Without the loopback provider, a file the engine
# refuses never falls through to whatever listens on port 3050 (a frozen server there would hang
# the attach). Readable by all: some tests run a second user.
firebird_root=$(mktemp -d /tmp/zav-firebird.XXXXXX)
trap 'rm -rf "$firebird_root" "$ZAV_PHASES"' EXIT
chmod 755 "$firebird_root"

# Packages first, then what the build needs, tried: a package of the other width can stand in for
# the one named.
phase "set-up: packages and capabilities" \
  bash -c 'bash scripts/install-deps.sh && bash scripts/install-deps.sh --check' || {
  phase_summary
  exit 1
}
bash scripts/fb-test-server.sh client "$firebird_root" "Remote, Engine12"

failed=0
jobs=$(nproc)
# Most of the fault tests' time is waiting out bounds of seconds: more of them at once than cores.
test_jobs=$((jobs * 4))
# The configurations are the presets of CMakePresets.json.
native_build() {
  cmake --preset default -DZAV_BUILD_TESTS=ON && cmake --build build -j"$jobs"
}
phase "native build" native_build || failed=1
phase "native tests (ctest)" \
  env FIREBIRD="$firebird_root" ctest --test-dir build --output-on-failure -j"$test_jobs" || failed=1

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer. The client library
# and its engine are loaded at run time and not instrumented: tests/sanitizer/lsan.supp names the
# third-party leaks to ignore. use_tls=0 because the leak checker reads a bogus range for the
# dynamic thread-local storage the engine's modules leave at exit, and would crash on it. Built at
# -O1 with line tables only (CMakePresets.json): enough for the reports, at a third of the time.
sanitizer_build() {
  cmake --preset sanitizers && cmake --build build-asan -j"$jobs"
}
phase "sanitizer build" sanitizer_build || failed=1
phase "sanitizer tests (ctest)" env ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS="use_tls=0:suppressions=$(pwd)/tests/sanitizer/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 FIREBIRD="$firebird_root" \
  ctest --test-dir build-asan --output-on-failure -j"$test_jobs" || failed=1

# A short bounded fuzz run of the parsers, the SQL literals and the parameter scan.
phase "fuzz run (10 s per target)" bash scripts/fuzz.sh 10 || failed=1

# The Windows executables: both cross builds, their checks, the unit suite of each width and the
# window's scenarios under Wine; each a phase of its own.
bash scripts/test-windows.sh || failed=1

# Last, as an ordinary user after root's runs: the demo maker and one whole update through the
# window, with the engine's shared lock folder closed to that user.
phase "as an ordinary user: demo and one update" bash scripts/test-as-user.sh build || failed=1

phase_summary || failed=1
exit "$failed"
