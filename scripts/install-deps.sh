#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need. Run as root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev googletest
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
  libfbclient2 firebird3.0-server-core firebird-dev firebird3.0-utils
  firebird3.0-server  # the fault tests' own server (scripts/fb-test-server.sh)
  xvfb xauth xdotool imagemagick fonts-liberation
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine64-tools file  # winegcc and winebuild for tests/win32/bridge
  clang-14 libclang-rt-14-dev  # fuzz targets (scripts/fuzz.sh)
  locales-all  # regional formats of real locales (platform tests)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests and the demo open database files with the embedded engine (no server process): the
# client library needs its Engine12 provider. Debian's firebird.conf leaves Providers at the
# default, which has it; a Providers line set without it gets it added.
fbconf=/etc/firebird/3.0/firebird.conf
if [ -f "$fbconf" ] && grep -Eq '^[[:space:]]*Providers[[:space:]]*=' "$fbconf" \
    && ! grep -Eq '^[[:space:]]*Providers[[:space:]]*=.*Engine12' "$fbconf"; then
  sed -i -E 's/^([[:space:]]*Providers[[:space:]]*=.*[^[:space:]])[[:space:]]*$/\1, Engine12/' "$fbconf"
fi
