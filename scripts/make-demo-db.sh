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

fixtures=$(cd "$(dirname "$0")/../tests/fixtures" && pwd)
mkdir -p "$(dirname "$target")"
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
