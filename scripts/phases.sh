# The test command's phases, for its closing summary: each phase's wall time and its passed and
# failed counts, read from the closing lines of its output (CTest's, "N passed, N failed", or
# GoogleTest's).
# Sourced by scripts/test.sh, which sets ZAV_PHASES to a folder, and scripts/test-windows.sh;
# without ZAV_PHASES a phase only runs.

phase() {  # name command...: runs the command, its output shown; returns its exit code
  local name=$1 start=$SECONDS rc
  shift
  if [ -z "${ZAV_PHASES:-}" ]; then
    "$@"
    return
  fi
  local log
  log=$(mktemp "$ZAV_PHASES/XXXXXX.log")  # phases may run beside each other
  "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  printf '%s\t%s\t%s\t%s\n' "$name" $((SECONDS - start)) "$rc" "$(phase_counts "$log")" \
    >>"$ZAV_PHASES/phases.tsv"
  return "$rc"
}

phase_counts() {  # log: "passed<TAB>failed", or nothing when the phase counted no tests
  local counts
  counts=$(sed -En 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2 \1/p' "$1" |
    awk '{ total += $1; failed += $2 } END { if (NR) print total - failed "\t" failed }')
  [ -n "$counts" ] || counts=$(sed -En 's/^([a-z]+: )?([0-9]+) passed, ([0-9]+) failed.*/\2\t\3/p' "$1" |
    tail -n1)
  # GoogleTest's own closing lines, for a test program run on its own.
  [ -n "$counts" ] || counts=$(awk '/^\[  PASSED  \] [0-9]+ tests?\./ { passed += $4 }
    /^\[  FAILED  \] [0-9]+ tests?, listed below/ { failed += $4 }
    END { if (passed + failed) print passed + 0 "\t" failed + 0 }' "$1")
  printf '%s' "$counts"
}

phase_summary() {  # prints the table and the closing line; false when anything failed
  local file=$ZAV_PHASES/phases.tsv left
  # A phase that fails without counting tests counts as one failed check.
  local counted='{ failed = $5 + 0; if ($3 != 0 && failed == 0) failed = 1 }'
  echo
  echo "Summary of the test command"
  awk -F'\t' "$counted"'
    { printf "  %-46s %5d s  %6s passed  %4s failed%s\n", $1, $2, $4 == "" ? "-" : $4,
             $5 == "" && $3 == 0 ? "-" : failed, $3 == 0 ? "" : "  (exit " $3 ")" }' "$file"
  left=$(cat "$ZAV_PHASES"/*.log | sed -n 's/^# left to the 64-bit program: //p' | sort -u |
    paste -sd, -)
  echo "  Checks the 32-bit program left to the 64-bit one: ${left:-none}"
  awk -F'\t' "$counted"'{ passed += $4; all += failed }
    END { print passed + 0 " passed, " all + 0 " failed"; exit all > 0 }' "$file"
}
