#!/usr/bin/env bash
# Installs what is missing, builds the project and starts the product.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=build/release
if [[ -x $bin/app/zelvocolor ]]; then
  exec "$bin/app/zelvocolor" "$@"
fi
# Until the application exists: fill the sample template with the report tool.
out=$(mktemp -d)/sample.rtf
"$bin/tools/rtfreport/rtfreport" --var name=World assets/samples/hello.rtf "$out"
echo "Report written to $out"
