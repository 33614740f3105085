#!/usr/bin/env bash
# Installs what is missing, builds the project and starts the colour test from its
# run folder, which is prepared on first use.
set -euo pipefail
cd "$(dirname "$0")"
src=$PWD

scripts/install-deps.sh
cmake --preset release >/dev/null
# Only the program and the data its run folder is prepared from; ./test.sh builds the rest.
cmake --build --preset release --target zelvoria-colortest remedydb colortables

bin=$src/build/release
# The run folder keeps the user's database and language choice across rebuilds.
run=${ZC_RUN_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/zelvoria-colortest}
app/prepare-run-folder.sh "$bin/assets" "$bin/app" "$run"

cd "$run"
exec "$bin/app/zelvoria-colortest" "$@"
