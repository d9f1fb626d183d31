#!/usr/bin/env bash
# Builds the Windows executables with the mingw-w64 cross compilers (32-bit, the one we ship, and
# 64-bit), checks what they are and what they import, runs the unit suite of each width under Wine
# and the window's scenarios on both programs, on real database files through the bridge client
# library of tests/win32/bridge of each width. The Linux build in build/ gives the results to
# compare with.
#
# The 32-bit program, the one we ship, runs every scenario; the 64-bit one the short set (start-up,
# the update on real files and the file dialog), which also takes the one step that the 32-bit
# program leaves out where qemu emulates it (see tests/win32/scenarios.sh).
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/phases.sh

jobs=2
failed=0

build() {  # preset of CMakePresets.json, which builds in build-<preset>
  cmake --preset "$1"
  cmake --build "build-$1" -j"$jobs"
}

# Prints "dll function" for every import of a PE file by name, sorted. The ...LongPtrW calls of
# the 64-bit system are ...LongW in the 32-bit one.
imports() {
  objdump -p "$1" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && $3 !~ /^0+$/ { print dll, $3 }' |
    sed 's/LongPtrW$/LongW/' | sort -u
}

check_pe() {  # exe expected-file-format description
  local format
  format=$(objdump -f "$1" | sed -n 's/.*file format \([^ ]*\).*/\1/p' | head -n1)
  if [ "$format" != "$2" ]; then
    echo "FAIL: $1 is $format, expected $2 ($3)"
    failed=1
  else
    echo "ok: $1 is $3 ($(file -b "$1" | cut -d, -f1))"
  fi
  # A single file: only the system's own DLLs, no runtime of the compiler.
  local dll
  while read -r dll; do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|comctl32.dll|comdlg32.dll|uxtheme.dll|\
      msvcrt.dll|shlwapi.dll|shell32.dll|ole32.dll|oleaut32.dll|version.dll) ;;
      *) echo "FAIL: $1 imports $dll, which is not part of Windows"; failed=1 ;;
    esac
  done < <(objdump -p "$1" | sed -n 's/.*DLL Name: *//p' | tr 'A-Z' 'a-z' | sort -u)
}

cross_builds() {
  build win32 || return 1
  build win64 || return 1

  exe32=build-win32/app/win32/ZavCoronaUpdate.exe
  exe64=build-win64/app/win32/ZavCoronaUpdate.exe
  check_pe "$exe32" pei-i386 "32-bit"
  check_pe "$exe64" pei-x86-64 "64-bit"

  # Both builds must call on the system alike. The compilers' runtimes differ in their own entry
  # points: the C library's, and the exception unwinding's in kernel32.
  runtime_only='^msvcrt\.dll |^kernel32\.dll (FreeLibrary|GetModuleHandleA|LoadLibraryA|Rtl[A-Za-z]+|__C_specific_handler)$'
  if ! diff <(imports "$exe32" | grep -Ev "$runtime_only") \
            <(imports "$exe64" | grep -Ev "$runtime_only"); then
    echo "FAIL: the 32-bit and the 64-bit build import different system functions (see above)"
    failed=1
  else
    echo "ok: both builds import the same system functions"
  fi
  return "$failed"
}

phase "cross builds and their checks" cross_builds || exit 1
# The Linux build's update and the table reader, for the scenarios' comparisons.
cmake --preset default -DZAV_BUILD_TESTS=ON
cmake --build build -j"$jobs" --target zav_fault_child zav_table_dump
# One booted prefix, copied fresh for each run.
template=$(mktemp -d /tmp/zav-wine-template.XXXXXX)
trap 'rm -rf "$template"' EXIT
export WINE_PREFIX_TEMPLATE=$template/prefix
# Driven by the native 64-bit driver: any width drives any program.
driver=build-win64/tests-win32/zav_win32_driver.exe
phase "unit suite of the 64-bit build under Wine" \
  bash tests/win32/scenarios.sh --unit build-win64 build || failed=1
# The 32-bit program's scenarios keep about one core busy, emulated or not: the 32-bit unit suite
# and the 64-bit program's short set run beside them, on prefixes of their own, their output shown
# when the scenarios have ended.
beside=$template/beside.log
(
  rc=0
  phase "unit suite of the 32-bit build under Wine" \
    bash tests/win32/scenarios.sh --unit --driver "$driver" build-win32 build || rc=1
  phase "scenarios of the 64-bit program (short set)" \
    bash tests/win32/scenarios.sh --short build-win64 build || rc=1
  exit "$rc"
) >"$beside" 2>&1 &
beside_pid=$!
phase "scenarios of the 32-bit program (every one)" \
  bash tests/win32/scenarios.sh --driver "$driver" build-win32 build || failed=1
wait "$beside_pid" || failed=1
cat "$beside"
exit "$failed"
