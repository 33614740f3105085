#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz preset and runs the report engine's fuzz target for a bounded time.
#   fuzz/run-fuzz.sh [SECONDS]    (default 60)
# The seeds are the project's own templates, copied into a fresh corpus folder under build/fuzz.
# Exits non-zero on a crash, a sanitizer report, a leak, a timeout or running out of memory;
# the inputs that caused them stay in build/fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds == 0)); then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target report-fuzz

work=build/fuzz
corpus=$work/corpus
crashes=$work/crashes
rm -rf "$corpus"
mkdir -p "$corpus" "$crashes"
# Seeds by content hash, so that equal templates in two folders count once.
while IFS= read -r -d '' seed; do
  cp "$seed" "$corpus/$(sha1sum "$seed" | cut -c1-40).rtf"
done < <(find assets tests/reportengine/data -name '*.rtf' -type f -print0)
echo "report-fuzz: $(ls "$corpus" | wc -l) seeds, ${seconds} s"

log=$work/report-fuzz.log
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
status=0
"$work/fuzz/report-fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -dict=fuzz/reportengine/report-fuzz.dict -artifact_prefix="$crashes/" -print_final_stats=1 \
  "$corpus" >"$log" 2>&1 || status=$?
grep -E '^(Done |stat::)' "$log" || true
# A sanitizer message that did not end the run still counts as a failure.
if ((status == 0)) && grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
  status=1
fi
if ((status != 0)); then
  grep -v -E '^(#[0-9]+|\s+NEW_FUNC)' "$log" | tail -n 60 >&2
  echo "report-fuzz failed (status $status); full log: $log; inputs kept in $crashes:" >&2
  ls -t "$crashes" | head -n 5 >&2
  exit 1
fi
