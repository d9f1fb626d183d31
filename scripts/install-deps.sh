#!/usr/bin/env bash
# Installs the Debian packages of the tool. Run as root; scripts/run.sh asks for sudo for it.
#
#   usage: scripts/install-deps.sh [--check] [SET...]
#     run    building and running the window: build tools, Qt and its German translations, the
#            Firebird client library, its embedded engine and isql-fb (for the demo file)
#     xvfb   a virtual display, for scripts/run.sh --xvfb
#     dev    the run set with GoogleTest and the glibc locales: building and `ctest -L unit`
#     test   everything the tests need besides: a Firebird server, the Windows cross compilers,
#            Wine in both widths with the i386 client library (the i386 architecture is added
#            for them), clang (the default when no set is named)
#     --check  install nothing; exit 1 when a package of the sets is missing, or, for the test set,
#              when what its builds need does not work: Wine's import libraries of either width
#              (winegcc -m64 and -m32 link a library), the cross compilers (each builds a
#              program) and Wine (it starts a 64-bit and a 32-bit program)
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n fonts-liberation
  libfbclient2 firebird3.0-server-core firebird-dev firebird3.0-utils
)
xvfb_packages=(xvfb xauth)
dev_packages=("${run_packages[@]}" libgtest-dev libgmock-dev locales-all)
test_packages=(
  "${run_packages[@]}" "${xvfb_packages[@]}"
  libgtest-dev libgmock-dev googletest
  firebird3.0-server  # the fault tests' own server (scripts/fb-test-server.sh)
  xdotool imagemagick
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine64-tools file  # winegcc and winebuild for tests/win32/bridge
  # The shipped 32-bit executable under Wine, its bridge built with winegcc -m32 on the i386 client;
  # qemu runs them where the kernel runs no 32-bit code.
  wine32:i386 libfbclient2:i386 libwine-dev:i386 gcc-multilib qemu-user-static
  # wine64-tools takes either width's import libraries: named here, winegcc -m64 gets its own.
  libwine-dev:amd64
  clang-14 libclang-rt-14-dev  # fuzz targets (scripts/fuzz.sh)
  locales-all  # regional formats of real locales (platform tests)
)

check=0
packages=()
for arg in "$@"; do
  case "$arg" in
    --check) check=1 ;;
    run) packages+=("${run_packages[@]}") ;;
    xvfb) packages+=("${xvfb_packages[@]}") ;;
    dev) packages+=("${dev_packages[@]}") ;;
    test) packages+=("${test_packages[@]}") ;;
    *) echo "unknown set: $arg (run, xvfb, dev, test)" >&2; exit 2 ;;
  esac
done
if [ ${#packages[@]} -eq 0 ]; then
  packages=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# The tests and the demo open database files with the embedded engine (no server process): the
# client library needs its Engine12 provider. Debian's firebird.conf leaves Providers at the
# default, which has it; a Providers line set without it gets it added.
fbconf=/etc/firebird/3.0/firebird.conf
providers_lack_engine() {
  [ -f "$fbconf" ] && grep -Eq '^[[:space:]]*Providers[[:space:]]*=' "$fbconf" \
    && ! grep -Eq '^[[:space:]]*Providers[[:space:]]*=.*Engine12' "$fbconf"
}

# Where the kernel runs no 32-bit code (its IA32 emulation switched off: "Exec format error"), the
# i386 programs of the tests run under qemu's user-mode emulation, registered with binfmt_misc.
binfmt=/proc/sys/fs/binfmt_misc
i386_fails() {
  test_set_named && [ -x /usr/lib/wine/wine ] &&
    ! /usr/lib/wine/wine --version >/dev/null 2>&1
}
emulate_i386() {
  mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt"
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:'\
'\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    >"$binfmt/register"
}

# Tries what the test set's builds and runs need; apt may have satisfied a dependency with the
# other width's package. Names each missing capability with the package that brings it.
capabilities_fail() {
  local dir status=1
  dir=$(mktemp -d)
  (
    set +e
    cd "$dir" || exit 1
    lacks() { echo "cannot $1: install $2" >&2; lacking=1; }
    lacking=0
    printf 'int zav_probe(void) { return 1; }\n' >probe.c
    printf '@ cdecl zav_probe()\n' >probe.exports
    printf '#include <cstdio>\nint main() { std::puts("zav probe"); }\n' >probe.cpp
    winegcc -m64 -shared -Wb,--export,probe.exports probe.c -o probe64.dll >/dev/null 2>&1 ||
      lacks "link a 64-bit Wine library (winegcc -m64)" "libwine-dev:amd64"
    winegcc -m32 -shared -Wb,--export,probe.exports probe.c -o probe32.dll >/dev/null 2>&1 ||
      lacks "link a 32-bit Wine library (winegcc -m32)" "libwine-dev:i386 gcc-multilib"
    x86_64-w64-mingw32-g++-posix -static probe.cpp -o probe64.exe >/dev/null 2>&1 ||
      lacks "build a 64-bit Windows program" "g++-mingw-w64-x86-64-posix"
    i686-w64-mingw32-g++-posix -static probe.cpp -o probe32.exe >/dev/null 2>&1 ||
      lacks "build a 32-bit Windows program" "g++-mingw-w64-i686-posix"
    # A prefix of its own, booted by the first start; the 32-bit program in the address space
    # tests/win32/scenarios.sh gives it where qemu emulates it.
    export WINEPREFIX=$dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      QEMU_RESERVED_VA=0x82000000
    [ -f probe64.exe ] && { timeout 300 /usr/lib/wine/wine64 probe64.exe 2>/dev/null |
      grep -q "zav probe" || lacks "start a 64-bit program under Wine" "wine64"; }
    [ -f probe32.exe ] && { timeout 300 /usr/lib/wine/wine64 probe32.exe 2>/dev/null |
      grep -q "zav probe" || lacks "start a 32-bit program under Wine" "wine32:i386"; }
    timeout 60 wineserver -k >/dev/null 2>&1
    exit "$lacking"
  ) && status=0
  rm -rf "$dir"
  [ "$status" -ne 0 ]
}
test_set_named() { [[ " ${packages[*]} " == *" wine32:i386 "* ]]; }

if [ $check -eq 1 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    exit 1
  fi
  if providers_lack_engine; then
    echo "$fbconf: Providers lacks the embedded engine (Engine12)" >&2
    exit 1
  fi
  if i386_fails; then
    echo "32-bit programs do not run: no emulation registered for them" >&2
    exit 1
  fi
  if test_set_named && capabilities_fail; then
    exit 1
  fi
  exit 0
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
if providers_lack_engine; then
  sed -i -E 's/^([[:space:]]*Providers[[:space:]]*=.*[^[:space:]])[[:space:]]*$/\1, Engine12/' "$fbconf"
fi
if i386_fails; then
  emulate_i386
  if i386_fails; then
    echo "32-bit programs do not run, not even emulated" >&2
    exit 1
  fi
fi
