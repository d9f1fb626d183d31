#!/usr/bin/env bash
# Makes the demo accounting file and updates it through the window (Qt offscreen) as an ordinary
# user, the way a desktop user runs the tool after root has installed the packages: the engine's
# shared lock folder is closed to that user, and nothing of the checkout is written.
# Run as root, it runs as user nobody; run as anyone else, as that user.
#   usage: scripts/test-as-user.sh [BUILD_DIR]   (needs the target zav_window_update built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
driver=$build/tests/zav_window_update
if [ ! -x "$driver" ]; then
  echo "$driver is missing: build the target zav_window_update" >&2
  exit 1
fi

# The user may not be able to read the checkout or the build folder: it runs copies from a
# folder of its own.
work=$(mktemp -d /tmp/zav-as-user-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -p "$work/scripts" "$work/tests" "$work/bin" "$work/home" "$work/run"
cp scripts/make-demo-db.sh "$work/scripts/"
cp -r tests/fixtures "$work/tests/"
cp "$driver" "$work/bin/"
chmod -R a+rX "$work/scripts" "$work/tests" "$work/bin"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody: "$work/home" "$work/run"
  as_user=(runuser -u nobody --)
fi
chmod 700 "$work/run"

demo=$work/home/demo
demo_db=$demo/ZAV/Daten/Firma2020.zqd
user_env=(env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8
  QT_QPA_PLATFORM=offscreen ZAV_SETTINGS_FILE="$demo/ZAV.conf")

"${as_user[@]}" "${user_env[@]}" bash "$work/scripts/make-demo-db.sh" "$demo_db"
"${as_user[@]}" "${user_env[@]}" bash -c 'printf "InstallPath=%s\n" "$1" > "$2"' - \
  "$demo/ZAV" "$demo/ZAV.conf"
"${as_user[@]}" "${user_env[@]}" "$work/bin/zav_window_update" "$demo_db"

# Debian's server package closes /tmp/firebird to nobody: both the demo maker's isql-fb and the
# window must have used the user's own lock folder.
if [ "$(id -u)" -eq 0 ] && [ ! -e "$work/run/firebird/fb_init" ]; then
  echo "The engine's lock files are not in the user's own folder $work/run/firebird" >&2
  exit 1
fi
echo "As $("${as_user[@]}" id -un): demo made and updated through the window."
