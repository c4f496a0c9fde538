#!/usr/bin/env bash
# The month view as a whole process against `remind -s+6` on the same reminders: for each N,
# writes N reminders of one seeded mix into our encrypted data file and as a remind script,
# checks that both programs list the same reminders on each of the 42 days of the March 2024
# view, then times both processes in turn and prints the medians and their ratio.
#   bench/setup.sh   (once: installs remind)
#   bench/month_vs_remind.sh BUILD_DIR [N ...]    e.g. build/bench 1000 10000 100000
set -euo pipefail
BUILD=${1:?usage: month_vs_remind.sh BUILD_DIR [N ...]}
shift
COUNTS=("$@")
((${#COUNTS[@]})) || COUNTS=(1000 10000 100000)
TOOL="$BUILD/bench/month_days"
RUNS=${RUNS:-11}
command -v remind >/dev/null || { echo "remind is missing: run bench/setup.sh" >&2; exit 1; }

ours() { "$TOOL" show "$1/dstx2.dat" 2024 2 25; }
theirs() { remind -s+6 -b2 "$1/reminders.rem" 2024-02-25; }

# Wall milliseconds of one run, its output thrown away.
millis() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for n in "${COUNTS[@]}"; do
  dir="${TMPDIR:-/tmp}/workmemo-month-vs-remind-$n"
  "$TOOL" generate "$n" "$dir"
  if ! cmp -s <(ours "$dir" | sort) <(theirs "$dir" | sort); then
    echo "N=$n: the two programs list different reminders" >&2
    diff <(ours "$dir" | sort) <(theirs "$dir" | sort) | head >&2
    exit 1
  fi
  lines=$(ours "$dir" | wc -l)
  ours "$dir" >/dev/null  # warm the file cache for both
  theirs "$dir" >/dev/null
  a=() b=()
  for ((i = 0; i < RUNS; i++)); do
    a+=("$(millis ours "$dir")")
    b+=("$(millis theirs "$dir")")
  done
  ma=$(printf '%s\n' "${a[@]}" | median)
  mb=$(printf '%s\n' "${b[@]}" | median)
  echo "N=$n: same $lines reminder-days; month_days ${ma} ms, remind ${mb} ms (medians of $RUNS), remind/ours $(awk -v a="$ma" -v b="$mb" 'BEGIN { printf "%.1f", (a > 0 ? b / a : 0) }')"
done
