#!/usr/bin/env bash
# Builds the tool and starts its window.
#
# The tool reads the accounting installation's folder from the settings file
# /etc/xdg/Vorlix-Software/ZAV.conf (line "InstallPath=/path/to/installation"), or from the file
# that ZAV_SETTINGS_FILE names; the accounting file is the one *2020.zqd in <InstallPath>/Daten/.
# When neither exists, a demo installation is made in ./demo (settings file, install folder and a
# demo accounting file Firma2020.zqd) and the tool starts on it.
#
#   usage: scripts/run.sh [--new-demo] [--xvfb]
#     --new-demo  replace the demo accounting file by a fresh one (an update cannot be undone)
#     --xvfb      start the window on a virtual display (xvfb-run) when there is no display;
#                 nothing is visible then, the program runs until it is ended
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

new_demo=0
use_xvfb=0
for arg in "$@"; do
  case "$arg" in
    --new-demo) new_demo=1 ;;
    --xvfb) use_xvfb=1 ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option: $arg (see --help)" >&2; exit 2 ;;
  esac
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ $use_xvfb -eq 0 ]; then
  cat >&2 <<'MSG'
No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the window cannot be shown.
Run this in a desktop session (or with X forwarding, ssh -X), or start the window on a virtual
display with:  bash scripts/run.sh --xvfb
MSG
  exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh
else
  echo "Not root: skipping the package installation (scripts/install-deps.sh)." >&2
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target ZavCoronaUpdate
program=$root/build/app/qt/ZavCoronaUpdate

machine_settings=/etc/xdg/Vorlix-Software/ZAV.conf
if [ -n "${ZAV_SETTINGS_FILE:-}" ]; then
  echo "Settings: $ZAV_SETTINGS_FILE (ZAV_SETTINGS_FILE)"
elif [ -f "$machine_settings" ]; then
  echo "Settings: $machine_settings"
else
  demo=$root/demo
  install_path=$demo/ZAV
  demo_db=$install_path/Daten/Firma2020.zqd
  if [ $new_demo -eq 1 ] && [ -e "$demo_db" ]; then
    rm -f "$demo_db"
  fi
  if [ ! -e "$demo_db" ]; then
    echo "Creating the demo accounting file $demo_db"
    bash scripts/make-demo-db.sh "$demo_db" >/dev/null
  fi
  printf '# Demo installation made by scripts/run.sh\nInstallPath=%s\n' "$install_path" \
    > "$demo/ZAV.conf"
  export ZAV_SETTINGS_FILE=$demo/ZAV.conf
  echo "Settings: $ZAV_SETTINGS_FILE (demo installation in $install_path)"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting on a virtual display (xvfb-run); end it with Ctrl+C."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program"
fi
exec "$program"
