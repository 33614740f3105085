#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Where the colour test's start goes (start-breakdown.cpp), RUNS times, on the product
# database with the language chosen; a bare Qt window's exec to main beside it.
#   bench/app/start-breakdown.sh BUILD-TREE [RUNS]      (needs $DISPLAY)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd) runs=${2:-5}
source "$src/bench/app/run-folder.sh"
for ((i = 0; i < runs; i++)); do
  "$bin/bench/app/start-breakdown" "$(date +%s%N)" "$run" 2>/dev/null
done | awk -F'  +' '{ sum[$1] += $2; n[$1]++; if (!($1 in order)) { order[$1] = ++k; name[k] = $1 } }
  END { for (i = 1; i <= k; i++) printf "%-44s %7.1f ms (mean of %d)\n", name[i], sum[name[i]] / n[name[i]], n[name[i]] }'
