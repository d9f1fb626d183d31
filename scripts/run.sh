#!/usr/bin/env bash
# Builds the tool and starts its window, as the user who runs it.
#
# The tool reads the accounting installation's folder from the settings file
# /etc/xdg/Vorlix-Software/ZAV.conf (line "InstallPath=/path/to/installation"), or from the file
# that ZAV_SETTINGS_FILE names; the accounting file is the one *2020.zqd in <InstallPath>/Daten/.
# When neither exists, a demo installation is made in ./demo (settings file, install folder and a
# demo accounting file Firma2020.zqd) and the tool starts on it.
#
# Packages: what building and running needs (scripts/install-deps.sh run) is installed when it is
# missing, through sudo for that step alone. Started with sudo, the script installs as root and
# then builds and starts the window as the user who called sudo. When the checkout's build or demo
# folder is not writable (made by root), they go to ~/.cache/zav-corona-update/build and
# ~/.local/share/zav-corona-update/demo instead.
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
    -h|--help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
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

package_sets=(run)
if [ $use_xvfb -eq 1 ]; then
  package_sets+=(xvfb)
fi
if ! bash scripts/install-deps.sh --check "${package_sets[@]}" 2>/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then
    bash scripts/install-deps.sh "${package_sets[@]}"
  elif command -v sudo >/dev/null; then
    echo "Installing the packages the tool needs (scripts/install-deps.sh ${package_sets[*]}) with sudo."
    sudo bash scripts/install-deps.sh "${package_sets[@]}"
  else
    bash scripts/install-deps.sh --check "${package_sets[@]}" || true
    echo "Please have root run:  bash scripts/install-deps.sh ${package_sets[*]}" >&2
    exit 1
  fi
fi

# Started through sudo: the window belongs to the user's session, and what is built and made
# belongs to the user.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  user_id=$(id -u "$SUDO_USER")
  if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ "$XDG_RUNTIME_DIR" = /run/user/0 ]; then
    if [ -d "/run/user/$user_id" ]; then
      export XDG_RUNTIME_DIR=/run/user/$user_id
    else
      unset XDG_RUNTIME_DIR
    fi
  fi
  echo "Building and starting the window as $SUDO_USER."
  exec runuser -u "$SUDO_USER" -- bash "$root/scripts/run.sh" "$@"
fi

# A folder of the checkout when this user may write it, else one in the user's home.
writable_or_creatable() {
  if [ -e "$1" ]; then [ -d "$1" ] && [ -w "$1" ]; else [ -w "$(dirname "$1")" ]; fi
}
build=$root/build
if ! writable_or_creatable "$build"; then
  build=${XDG_CACHE_HOME:-$HOME/.cache}/zav-corona-update/build
  echo "$root/build is not writable for $(id -un): building in $build"
fi

# The tests need packages that running does not (scripts/install-deps.sh test): a fresh build
# folder leaves them out; one that the test command made keeps them.
configure=(--preset default -B "$build")
if [ ! -f "$build/CMakeCache.txt" ]; then
  configure+=(-DZAV_BUILD_TESTS=OFF)
fi
cmake "${configure[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target ZavCoronaUpdate
program=$build/app/qt/ZavCoronaUpdate

machine_settings=/etc/xdg/Vorlix-Software/ZAV.conf
if [ -n "${ZAV_SETTINGS_FILE:-}" ]; then
  echo "Settings: $ZAV_SETTINGS_FILE (ZAV_SETTINGS_FILE)"
elif [ -f "$machine_settings" ]; then
  echo "Settings: $machine_settings"
else
  demo=$root/demo
  if ! writable_or_creatable "$demo"; then
    demo=${XDG_DATA_HOME:-$HOME/.local/share}/zav-corona-update/demo
    echo "$root/demo is not writable for $(id -un): the demo goes to $demo"
  fi
  install_path=$demo/ZAV
  demo_db=$install_path/Daten/Firma2020.zqd
  if [ $new_demo -eq 1 ] && [ -e "$demo_db" ]; then
    rm -f "$demo_db"
  fi
  if [ ! -e "$demo_db" ]; then
    echo "Creating the demo accounting file $demo_db"
    bash scripts/make-demo-db.sh "$demo_db" >/dev/null
  elif [ ! -w "$demo_db" ]; then
    echo "The demo file $demo_db is not writable for $(id -un) (made by another user);" \
      "--new-demo replaces it." >&2
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
