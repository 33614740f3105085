#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prepares the colour test's run folder: the database, the report template, the
# colour-table pictures and ZColor.ini. Used by run.sh and by the end-to-end test.
#   app/prepare-run-folder.sh BUILD-TREE RUN-FOLDER
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
bin=$1 run=$2
mkdir -p "$run/data" "$run/report" "$run/images"

# The database is copied once: later runs keep whatever the user's copy holds.
if [[ ! -e $run/data/ZColor.fdb ]]; then
  cp "$bin/assets/ZColor.fdb" "$run/data/ZColor.fdb"
fi
# The template from the sources, the pictures as the build drew them; a user's own
# copies are kept.
cp -n "$src/assets/report/Esito.rtf" "$run/report/"
cp -n "$bin"/assets/colortables/Tabella_ZelvoColor_*.jpg "$run/images/"
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
