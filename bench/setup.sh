#!/usr/bin/env bash
# Installs what the whole-process comparison (month_vs_remind.sh) needs beyond the build's own
# packages: the calendar program `remind` it is compared with. Only the benchmarks need it.
set -euo pipefail
exec "$(dirname "$0")/../scripts/deps.sh" remind
