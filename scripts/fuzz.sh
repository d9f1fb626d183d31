#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 20] [target ...]
# Findings (crash-*, leak-*, timeout-* files) are kept in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true

for tool in clang-14 clang++-14; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

cmake --preset fuzz >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/Fuzz*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
cmake --build build-fuzz -j2 --target "${targets[@]}"

run_target() {  # target: its exit code; the findings and the log in build-fuzz/findings/<target>/
  local target=$1 corpus=build-fuzz/corpus/$1 findings=build-fuzz/findings/$1
  mkdir -p "$corpus" "$findings"
  build-fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" \
    tests/fuzz/seeds/"$target" 2>"$findings/log.txt"
}

# A target a core, each reported when all have run.
cores=$(nproc)
echo "== ${targets[*]} (${seconds}s each, $cores at a time)"
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$cores" ]; do wait -n || true; done
  { status=0; run_target "$target" || status=$?; echo "$status" >"build-fuzz/findings/$target/exit"; } &
done
wait

failed=()
for target in "${targets[@]}"; do
  findings=build-fuzz/findings/$target
  echo "== $target"
  if [ "$(cat "$findings/exit")" != 0 ]; then
    failed+=("$target")
    tail -n 30 "$findings/log.txt" >&2
  fi
  grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$findings/log.txt" || true
done

echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (see build-fuzz/findings/)" >&2
  exit 1
fi
echo "No findings."
