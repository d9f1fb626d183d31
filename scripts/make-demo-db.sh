#!/usr/bin/env bash
# Creates a demo accounting file (a Trafik business, accounting year 2020) at PATH from the test
# fixtures, with the embedded Firebird engine. PATH must not exist yet.
#   usage: scripts/make-demo-db.sh PATH
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 PATH" >&2
  exit 2
fi
target=$1
if [ -e "$target" ]; then
  echo "$target exists already" >&2
  exit 1
fi

# isql-fb's embedded engine keeps its lock files in /tmp/firebird, which the Firebird server
# package closes to users outside its group. Then it gets a folder of this user's own, chosen as
# the tool chooses it (platform/posix/EngineLockFolder.cpp). The tool also checks the engine's
# server mode first; a file being made here is new, so no other process can have it open.
own_lock_folder() {
  local shared=/tmp/firebird folder
  if [ -d "$shared" ] && [ -r "$shared" ] && [ -w "$shared" ] && [ -x "$shared" ] &&
    { [ ! -e "$shared/fb_init" ] || { [ -r "$shared/fb_init" ] && [ -w "$shared/fb_init" ]; }; }; then
    return 1
  fi
  local candidates=()
  if [[ "${XDG_RUNTIME_DIR:-}" == /* ]] && [ -d "$XDG_RUNTIME_DIR" ] && [ -O "$XDG_RUNTIME_DIR" ]; then
    candidates+=("$XDG_RUNTIME_DIR/firebird")
  fi
  candidates+=("/tmp/firebird-$(id -u)")
  for folder in "${candidates[@]}"; do
    mkdir -m 700 "$folder" 2>/dev/null || true
    if [ -d "$folder" ] && [ ! -L "$folder" ] && [ -O "$folder" ] && [ -w "$folder" ]; then
      echo "$folder"
      return 0
    fi
  done
  return 1
}
if [ -z "${FIREBIRD_LOCK:-}" ] && lock_folder=$(own_lock_folder); then
  export FIREBIRD_LOCK=$lock_folder
fi

fixtures=$(cd "$(dirname "$0")/../tests/fixtures" && pwd)
mkdir -p "$(dirname "$target")"
if [ ! -w "$(dirname "$target")" ]; then
  echo "cannot write the folder $(dirname "$target") as user $(id -un)" >&2
  exit 1
fi
target=$(cd "$(dirname "$target")" && pwd)/$(basename "$target")
quoted=${target//\'/\'\'}

# The fixtures are UTF-8; the database stores Windows-1252, as the accounting application does.
isql-fb -q -b -user SYSDBA <<SQL
SET SQL DIALECT 3;
SET NAMES UTF8;
CREATE DATABASE '$quoted' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;
INPUT '$fixtures/schema.sql';
INPUT '$fixtures/trafik.sql';
COMMIT;
SQL
echo "$target"
