# SPDX-License-Identifier: MIT
# Sourced by the start and idle scripts: a throw-away run folder like the user's, prepared
# from the build tree $bin, with the product database and a stored language (Spanish,
# so that the main window's title reads "Zelvoria Color Test (SPA)"); gone at exit.
run=$(mktemp -d /tmp/zc-bench.XXXXXX)
trap 'rm -rf "$run"' EXIT
"$(dirname "${BASH_SOURCE[0]}")/../../app/prepare-run-folder.sh" "$bin/assets" "$bin/app" "$run" >/dev/null
printf 'ChekLNG=3\n' >>"$run/ZColor.ini"
