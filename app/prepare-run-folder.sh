#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prepares the colour test's run folder: the database, the report template, the
# colour-table pictures and ZColor.ini. Used by run.sh, the installed launcher, the
# end-to-end test and the start benchmark.
#   prepare-run-folder.sh DATA-FOLDER PROGRAM-FOLDER RUN-FOLDER
# DATA-FOLDER holds ZColor.fdb, report/Esito.rtf and colortables/*.jpg: the build tree's
# assets folder, or share/zelvoria-colortest of an installation.
set -euo pipefail
if (($# != 3)); then
  echo "usage: $0 DATA-FOLDER PROGRAM-FOLDER RUN-FOLDER" >&2
  exit 2
fi
data=$1 prg=$2 run=$3
mkdir -p "$run/data" "$run/report" "$run/images"

# The database is copied once: later runs keep whatever the user's copy holds.
if [[ ! -e $run/data/ZColor.fdb ]]; then
  cp "$data/ZColor.fdb" "$run/data/ZColor.fdb"
  chmod u+w "$run/data/ZColor.fdb" # an installed seed is read-only
fi
# The template and the pictures; a user's own copies are kept.
cp -n "$data/report/Esito.rtf" "$run/report/"
cp -n "$data"/colortables/Tabella_ZelvoColor_*.jpg "$run/images/"
if [[ ! -e $run/ZColor.ini ]]; then
  cat >"$run/ZColor.ini" <<INI
[Install]
DirData=$run/data
DirPrg=$prg
DirReport=$run/report
Immagini=$run/images
Server=
FileGdb=ZColor.fdb
INI
fi
