#!/usr/bin/env bash
# Builds and runs the benchmark: the Trafik update on generated accounting databases of growing
# size, through the project's layer, as a bare loop of client-library calls and as one isql-fb
# script; then the start-up time of the window (process start until the window is shown) under
# Xvfb. Options are passed on to zav_bench (--sizes GROUPSxUNITS,... --runs N --keep).
#
#   usage: scripts/bench.sh [zav_bench options]
#   STARTUP_RUNS=N (default 5) sets how often the window is started.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh
fi

cmake --preset default >/dev/null
cmake --build build -j"$(nproc)" --target zav_bench ZavCoronaUpdate

echo "== The update"
build/bench/zav_bench "$@"

echo
echo "== Start-up: process start until the window \"ZAV - Corona Update\" is shown (Xvfb)"
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A demo installation, so the window starts as it does for the operator: it reads the settings and
# finds the accounting file.
bash scripts/make-demo-db.sh "$work/ZAV/Daten/Firma2020.zqd" >/dev/null
printf 'InstallPath=%s\n' "$work/ZAV" >"$work/ZAV.conf"

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.05
done

now_ns() { date +%s%N; }
times=()
for run in $(seq "${STARTUP_RUNS:-5}"); do
  start=$(now_ns)
  DISPLAY=$display ZAV_SETTINGS_FILE=$work/ZAV.conf "$root/build/app/qt/ZavCoronaUpdate" \
    >"$work/app.log" 2>&1 &
  app_pid=$!
  # xdotool's own --sync waits in half-second steps: poll instead.
  until DISPLAY=$display xdotool search --onlyvisible --name '^ZAV - Corona Update$' \
      >/dev/null 2>&1; do
    kill -0 "$app_pid" 2>/dev/null || { echo "the window did not start:"; cat "$work/app.log"; exit 1; }
  done
  shown=$(now_ns)
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  ms=$(( (shown - start) / 1000000 ))
  times+=("$ms")
  echo "run $run: $ms ms"
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (${#times[@]} + 1) / 2 ))p")
echo "median: $median ms (first start: ${times[0]} ms)"
