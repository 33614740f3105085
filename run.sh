#!/usr/bin/env bash
# Installs what is missing, builds the project and starts the colour test from its
# run folder, which is prepared on first use.
set -euo pipefail
cd "$(dirname "$0")"
src=$PWD

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=$src/build/release
# The run folder keeps the user's database and language choice across rebuilds.
run=${ZC_RUN_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/zelvoria-colortest}
mkdir -p "$run/data" "$run/report" "$run/images"

# The database is copied once: later runs keep whatever the user's copy holds.
if [[ ! -e $run/data/ZColor.fdb ]]; then
  cp "$bin/assets/ZColor.fdb" "$run/data/ZColor.fdb"
fi
# The report template and the colour-table pictures, where the sources have them.
for pair in "assets/report:report" "assets/colortables:images"; do
  from=$src/${pair%%:*} to=$run/${pair##*:}
  if [[ -d $from ]]; then
    for file in "$from"/*; do
      # The folders also hold the scripts that drew their pictures.
      [[ $file == *.sh ]] || cp -n "$file" "$to"/
    done
  fi
done
if [[ ! -e $run/ZColor.ini ]]; then
  cat >"$run/ZColor.ini" <<INI
[Install]
DirData=$run/data
DirPrg=$bin/app
DirReport=$run/report
Immagini=$run/images
Server=
FileGdb=ZColor.fdb
INI
fi

cd "$run"
exec "$bin/app/zelvoria-colortest" "$@"
