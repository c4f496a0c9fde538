#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer, leak
# checks) in build/fuzz and runs each for a short bounded time, seeded with its committed
# corpus (tests/fuzz/corpus/<name>, which keeps every input that once failed) and our
# fixtures; fails on a crash, a hang, a leak or a sanitizer report.
#   FUZZ_SECONDS  seconds per target; without it each target runs FUZZ_RUNS inputs (default
#                 2000) from a fixed seed, so ./test finds the same inputs on every machine and
#                 a failure there is one anyone can repeat, never a new find by chance
#   FUZZ_TARGETS  the targets to run (default all)
#   FUZZ_JOBS     targets run at once (default 3)
#   FUZZ_KEEP=1   keep each grown corpus in build/fuzz/corpus/<name> for the next run
#                 (default: a fresh copy of the seeds every run)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
BUILD="$ROOT/build/fuzz"
if [ -n "${FUZZ_SECONDS:-}" ]; then
  BOUND="-max_total_time=$FUZZ_SECONDS"
  BOUND_TEXT="$FUZZ_SECONDS s"
  RUN_SECONDS="$FUZZ_SECONDS"
else
  BOUND="-runs=${FUZZ_RUNS:-2000} -seed=1"
  BOUND_TEXT="${FUZZ_RUNS:-2000} inputs"
  RUN_SECONDS=60
fi
TARGETS="${FUZZ_TARGETS:-xls_fuzz skin_file_fuzz skin_entries_fuzz ini_fuzz image_fuzz workbook_import_fuzz}"
JOBS="${FUZZ_JOBS:-3}"

cmake -S tests/fuzz -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
mkdir -p "$BUILD"
# shellcheck disable=SC2086
cmake --build "$BUILD" --target $TARGETS >"$BUILD/build.log" 2>&1 || { cat "$BUILD/build.log"; exit 1; }

# The seed folders of a target: its own corpus, and the fixtures of the reader it reaches.
seeds() {
  local corpus="$ROOT/tests/fuzz/corpus/${1%_fuzz}"
  [ -d "$corpus" ] && echo "$corpus"
  case "$1" in
    xls_fuzz|workbook_import_fuzz) echo "$ROOT/tests/platform/xls/fixtures" ;;
  esac
}

run_one() {
  local target="$1" work="$BUILD/corpus/${1%_fuzz}" log="$BUILD/logs/$1.log"
  [ "${FUZZ_KEEP:-0}" = 1 ] || rm -rf "$work"
  mkdir -p "$work" "$BUILD/crashes/$target" "$BUILD/logs"
  for dir in $(seeds "$target"); do cp -n "$dir"/* "$work"/ 2>/dev/null || true; done
  # -timeout turns an input that runs over 10 s into a failure; the outer timeout guards the rest.
  if timeout --kill-after=10 $((RUN_SECONDS + 300)) env ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" \
      "$BUILD/$target" $BOUND -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$BUILD/crashes/$target/" "$work" >"$log" 2>&1; then
    local execs corpus
    execs=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    corpus=$(find "$work" -type f | wc -l)
    [ "${execs:-0}" = 0 ] && execs=""  # a run under a second reports none
    echo "fuzz: $target: $BOUND_TEXT${execs:+, $execs execs/s}, corpus $corpus inputs, no crash, hang or leak"
  else
    echo "fuzz: $target FAILED; its log ($log) ends:"
    tail -n 60 "$log"
    echo "the failing input is in $BUILD/crashes/$target/"
    return 1
  fi
}
export -f run_one seeds
export ROOT BUILD RUN_SECONDS BOUND BOUND_TEXT

# shellcheck disable=SC2086
printf '%s\n' $TARGETS | xargs -P "$JOBS" -I{} bash -c 'run_one {}'
