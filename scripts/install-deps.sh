#!/usr/bin/env bash
# Installs the Debian packages of the tool. Run as root; scripts/run.sh asks for sudo for it.
#
#   usage: scripts/install-deps.sh [--check] [SET...]
#     run    building and running the window: build tools, Qt and its German translations, the
#            Firebird client library, its embedded engine and isql-fb (for the demo file)
#     xvfb   a virtual display, for scripts/run.sh --xvfb
#     test   everything the tests need besides: a Firebird server, the Windows cross compilers,
#            Wine, clang (the default when no set is named)
#     --check  install nothing; exit 1 when a package of the sets is missing
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n fonts-liberation
  libfbclient2 firebird3.0-server-core firebird-dev firebird3.0-utils
)
xvfb_packages=(xvfb xauth)
test_packages=(
  "${run_packages[@]}" "${xvfb_packages[@]}"
  libgtest-dev libgmock-dev googletest
  firebird3.0-server  # the fault tests' own server (scripts/fb-test-server.sh)
  xdotool imagemagick
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine64-tools file  # winegcc and winebuild for tests/win32/bridge
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
    test) packages+=("${test_packages[@]}") ;;
    *) echo "unknown set: $arg (run, xvfb, test)" >&2; exit 2 ;;
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

if [ $check -eq 1 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    exit 1
  fi
  if providers_lack_engine; then
    echo "$fbconf: Providers lacks the embedded engine (Engine12)" >&2
    exit 1
  fi
  exit 0
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
if providers_lack_engine; then
  sed -i -E 's/^([[:space:]]*Providers[[:space:]]*=.*[^[:space:]])[[:space:]]*$/\1, Engine12/' "$fbconf"
fi
