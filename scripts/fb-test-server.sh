#!/usr/bin/env bash
# A private Firebird server for tests: its own configuration, security database (SYSDBA with the
# tool's password), lock and temporary folders under DIR, listening on 127.0.0.1:PORT only. The
# system's server, if any, is left alone. Run as root or as the owner of the database files.
#
#   scripts/fb-test-server.sh start DIR PORT   sets DIR up on first use, starts the server, returns
#                                              once it accepts connections; prints its process id
#   scripts/fb-test-server.sh stop DIR [SIGNAL]  stops it (TERM by default, or KILL) and waits
#                                              until it is gone
#   scripts/fb-test-server.sh client DIR PROVIDERS  sets DIR up as a root folder (FIREBIRD) for
#                                              clients that use only PROVIDERS: Engine12 never
#                                              reaches a server, Remote only the one named
#
# Exit status 3 means the server binary is not installed (Debian package firebird3.0-server).
set -euo pipefail

server=/usr/sbin/firebird
fb_root=/usr/lib/x86_64-linux-gnu/firebird/3.0
password=quillbarn
start_timeout=20

die() {
  echo "fb-test-server: $*" >&2
  exit 1
}

usage() {
  echo "usage: $0 start DIR PORT | stop DIR [SIGNAL] | client DIR PROVIDERS" >&2
  exit 2
}

# A killed server may stay a zombie until its parent reaps it; that counts as gone.
alive() {
  [ -r "/proc/$1/stat" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null
}

listening() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

environment() {
  export FIREBIRD="$dir/root" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp"
}

# A root folder with the packaged files (messages, plugins, character sets) and no configuration.
make_root() {  # folder
  local item
  mkdir -p "$1"
  for item in firebird.msg plugins lib UDF plugins.conf; do
    [ -e "$fb_root/$item" ] && ln -sfn "$fb_root/$item" "$1/$item"
  done
  # The character sets' module is only taken from a real file under the root folder.
  mkdir -p "$1/intl"
  cp -L "$fb_root/intl/libfbintl.so" "$fb_root/intl/fbintl.conf" "$1/intl/"
  : >"$1/databases.conf"
}

# The root folder the server reads its configuration from: the packaged files, our own
# firebird.conf.
set_up() {
  mkdir -p "$dir/lock" "$dir/tmp"
  make_root "$dir/root"
  cat >"$dir/root/firebird.conf" <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
SecurityDatabase = $dir/security.fdb
AuthServer = Srp
UserManager = Srp
UdfAccess = None
EOF
  if [ ! -e "$dir/security.fdb" ]; then
    (
      environment
      echo "CREATE DATABASE '$dir/security.fdb';" | isql-fb -q -b
      echo "CREATE USER SYSDBA PASSWORD '$password'; COMMIT;" |
        isql-fb -q -b -user SYSDBA "$dir/security.fdb"
    ) >"$dir/setup.log" 2>&1 || die "cannot create the security database: $(cat "$dir/setup.log")"
  fi
}

start() {
  [ -x "$server" ] || exit 3
  [ -f "$dir/server.pid" ] && alive "$(cat "$dir/server.pid")" &&
    die "a server of $dir runs already"
  listening "$port" && die "port $port is in use"
  set_up
  (
    environment
    cd "$dir"
    setsid "$server" </dev/null >>"$dir/server.log" 2>&1 &
    echo $! >"$dir/server.pid"
  )
  local pid waited=0
  pid=$(cat "$dir/server.pid")
  until listening "$port"; do
    alive "$pid" || die "the server ended at start: $(cat "$dir/server.log")"
    [ "$waited" -lt $((start_timeout * 10)) ] || die "the server does not listen on port $port"
    sleep 0.1
    waited=$((waited + 1))
  done
  echo "$pid"
}

stop() {
  local signal=${1:-TERM} pid waited=0
  [ -f "$dir/server.pid" ] || return 0
  pid=$(cat "$dir/server.pid")
  kill -s "$signal" "$pid" 2>/dev/null || true
  while alive "$pid"; do
    # A TERM that the server does not finish within the time is followed by a KILL.
    if [ "$waited" -ge $((start_timeout * 10)) ]; then
      kill -s KILL "$pid" 2>/dev/null || true
    fi
    sleep 0.05
    waited=$((waited + 1))
  done
  rm -f "$dir/server.pid"
}

[ $# -ge 2 ] || usage
command=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
case "$command" in
  start)
    [ $# -eq 3 ] || usage
    port=$3
    start
    ;;
  stop)
    [ $# -le 3 ] || usage
    stop "${3:-TERM}"
    ;;
  client)
    [ $# -eq 3 ] || usage
    make_root "$dir"
    echo "Providers = $3" >"$dir/firebird.conf"
    ;;
  *) usage ;;
esac
