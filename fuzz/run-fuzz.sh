#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz preset and runs every libFuzzer target on the project's own inputs.
#   fuzz/run-fuzz.sh [SECONDS]       share SECONDS (default 60) among the targets
#   fuzz/run-fuzz.sh --long SECONDS  run each target for SECONDS
# Each target starts from a fresh corpus of seeds taken from the repository (files listed
# below, by content hash so equal files count once) and its dictionary.
# Exits non-zero on a crash, a sanitizer report, a leak, a timeout or running out of memory;
# the inputs that caused them stay in build/fuzz/crashes/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 [SECONDS] | --long SECONDS" >&2
  exit 2
}
per_target=false
if [[ ${1:-} == --long ]]; then
  per_target=true
  shift
  (($# == 1)) || usage
fi
seconds=${1:-60}
[[ $seconds =~ ^[0-9]+$ ]] && ((seconds > 0)) || usage

# target | seed folders | seed file pattern | dictionary
targets=(
  "report-fuzz|assets tests/reportengine/data|*.rtf|fuzz/reportengine/report-fuzz.dict"
  "insert-fuzz|assets/remedies tests/reportengine/data/memos|*.rtf|fuzz/richtext/rtfreader-fuzz.dict"
  "csv-fuzz|tests/reportengine/data fuzz/csv/seeds|*.csv|fuzz/csv/csv-fuzz.dict"
  "json-fuzz|fuzz/json/seeds|*.json|fuzz/json/json-fuzz.dict"
  "ini-fuzz|fuzz/ini/seeds|*.ini|fuzz/ini/ini-fuzz.dict"
  "fill-fuzz|fuzz/fill/seeds|*.ini|fuzz/fill/fill-fuzz.dict"
  "rtfreader-fuzz|assets/remedies tests/richtext/data|*.rtf|fuzz/richtext/rtfreader-fuzz.dict"
)
if $per_target; then
  each=$seconds
else
  each=$((seconds / ${#targets[@]}))
  ((each > 0)) || each=1
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers

work=build/fuzz
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
failed=()
for entry in "${targets[@]}"; do
  IFS='|' read -r name folders pattern dict <<<"$entry"
  corpus=$work/corpus/$name
  crashes=$work/crashes/$name
  rm -rf "$corpus"
  mkdir -p "$corpus" "$crashes"
  # shellcheck disable=SC2086 # the folders are a list
  while IFS= read -r -d '' seed; do
    cp "$seed" "$corpus/$(sha1sum "$seed" | cut -c1-40)"
  done < <(find $folders -name "$pattern" -type f -print0)
  echo "$name: $(ls "$corpus" | wc -l) seeds, ${each} s"

  log=$work/$name.log
  status=0
  "$work/fuzz/$name" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 \
    -dict="$dict" -artifact_prefix="$crashes/" -print_final_stats=1 \
    "$corpus" >"$log" 2>&1 || status=$?
  grep -E '^(Done |stat::(number_of_executed_units|new_units_added|peak_rss_mb))' "$log" || true
  grep -E '^#[0-9]+.*DONE' "$log" | tail -n 1 | sed -E 's/^.*(cov: [0-9]+ ft: [0-9]+).*$/  \1/' || true
  # A sanitizer message that did not end the run still counts as a failure.
  if ((status == 0)) && grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
    status=1
  fi
  if ((status != 0)); then
    grep -v -E '^(#[0-9]+|\s+NEW_FUNC)' "$log" | tail -n 60 >&2
    echo "$name failed (status $status); full log: $log; inputs kept in $crashes:" >&2
    ls -t "$crashes" | head -n 5 >&2
    failed+=("$name")
  fi
done
if ((${#failed[@]})); then
  echo "fuzz targets that failed: ${failed[*]}" >&2
  exit 1
fi
