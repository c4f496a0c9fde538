#!/usr/bin/env bash
# Builds the workbook reader's libFuzzer target with clang in build/fuzz and runs it for a
# short bounded time, seeded with the fixture workbooks; fails on a crash, a hang, a leak or
# a sanitizer report. FUZZ_SECONDS sets the run time (default 25).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
BUILD="$ROOT/build/fuzz"
RUN_SECONDS="${FUZZ_SECONDS:-25}"

cmake -S tests/fuzz -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$BUILD" --target xls_fuzz

CORPUS="$(mktemp -d)"
trap 'rm -rf "$CORPUS"' EXIT
cp "$ROOT"/tests/platform/xls/fixtures/*.xls "$CORPUS"/
mkdir -p "$BUILD/crashes"
# -timeout turns an input that runs over 10 s into a failure; the outer timeout guards the rest.
timeout --kill-after=10 $((RUN_SECONDS + 120)) "$BUILD/xls_fuzz" \
  -max_total_time="$RUN_SECONDS" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$BUILD/crashes/" "$CORPUS"
echo "fuzz: no crash or hang in ${RUN_SECONDS} s"
