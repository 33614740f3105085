#!/usr/bin/env bash
# Installs what is missing, builds the project and runs every test.
#   ./test.sh          release build
#   ./test.sh asan     AddressSanitizer + UndefinedBehaviorSanitizer build
# The release run ends with a one-minute fuzz run shared by every fuzz target (fuzz/run-fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")"
preset=${1:-release}

scripts/install-deps.sh
# Every C++ file as clang-format writes it (.clang-format).
find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
cmake --preset "$preset"
cmake --build --preset "$preset"
# Widget tests open real windows: give them a virtual X server. Without -noreset the server
# resets whenever its last client leaves, and a test starting during the reset cannot connect.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  ctest --preset "$preset" -j2
if [[ $preset == release ]]; then
  fuzz/run-fuzz.sh 60
fi
