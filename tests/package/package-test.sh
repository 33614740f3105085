#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package from the build tree, checks it with lintian, unpacks it into a
# throw-away root and starts the program from there.
#   package-test.sh BUILD-TREE ARTEFACT-FOLDER
set -euo pipefail
build=$(cd "$1" && pwd) artefacts=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
need() { command -v "$1" >/dev/null || fail "$1 is not installed (package $2)"; }
need cpack cmake
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need file file
need gzip gzip
need lintian lintian
need xvfb-run xvfb
need xdotool xdotool

work=$(mktemp -d /tmp/zc-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$artefacts"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
debs=("$work"/cpack/zelvoria-colortest_*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] || fail "cpack made no single package: ${debs[*]}"
deb=${debs[0]}
cp "$deb" "$artefacts/"

# Dependencies: the libraries the binaries link (found by dpkg-shlibdeps) and what the
# program needs at run time without linking it.
depends=$(dpkg-deb -f "$deb" Depends)
for d in firebird3.0-server-core xdg-utils fonts-wine libqt6svg6 libqt6widgets6 libfbclient2 libc6; do
  [[ ", $depends," == *", $d"[\ ,]* ]] || fail "Depends lacks $d: $depends"
done
[[ $(dpkg-deb -f "$deb" Package) == zelvoria-colortest ]] || fail "wrong package name"

# No errors from lintian; its warnings are kept with the package.
lintian_status=0
lintian --tag-display-limit 0 "$deb" >"$artefacts/lintian.txt" 2>&1 || lintian_status=$?
if grep -q '^E:' "$artefacts/lintian.txt"; then
  fail "lintian reports errors: $(grep '^E:' "$artefacts/lintian.txt")"
fi
((lintian_status == 0)) || fail "lintian failed (status $lintian_status): $(cat "$artefacts/lintian.txt")"

# Exactly these paths, nothing more (the components' libraries are not part of it).
root=$work/root
dpkg-deb -x "$deb" "$root"
expected=(
  usr/bin/fillrender usr/bin/rtfreport usr/bin/rtftext usr/bin/zelvoria-colortest
  usr/libexec/zelvoria-colortest/prepare-run-folder
  usr/libexec/zelvoria-colortest/zelvoria-colortest
  usr/share/applications/org.zelvoria.ColorTest.desktop
  usr/share/doc/zelvoria-colortest/changelog.gz usr/share/doc/zelvoria-colortest/copyright
  usr/share/icons/hicolor/scalable/apps/org.zelvoria.ColorTest.svg
  usr/share/man/man1/fillrender.1.gz usr/share/man/man1/rtfreport.1.gz
  usr/share/man/man1/rtftext.1.gz usr/share/man/man1/zelvoria-colortest.1.gz
  usr/share/metainfo/org.zelvoria.ColorTest.metainfo.xml
  usr/share/zelvoria-colortest/ZColor.fdb usr/share/zelvoria-colortest/report/Esito.rtf
)
for code in ENG FRA ITA OLA SPA; do
  expected+=("usr/share/zelvoria-colortest/colortables/Tabella_ZelvoColor_$code.jpg")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
  fail "the package's files differ from the expected list (< expected, > in the package)"
dpkg-deb -c "$deb" | awk '$2 != "root/root" { bad = 1; print } END { exit bad }' ||
  fail "files not owned by root"
gzip -t "$root"/usr/share/man/man1/*.gz "$root/usr/share/doc/zelvoria-colortest/changelog.gz"

# The unpacked program to its main window (language already chosen), ended with TERM.
prefix=$root/usr
home=$work/home
mkdir -p "$home"
launch() { env -u XDG_DATA_HOME -u ZC_RUN_DIR HOME="$home" "$prefix/bin/zelvoria-colortest" "$@"; }
out=$(launch --version) || fail "the packaged launcher's --version failed"
[[ $out == "zelvoria-colortest (Zelvoria Color Test) "* ]] || fail "--version printed: $out"
run=$home/.local/share/zelvoria-colortest
[[ -s $run/ZColor.ini && -s $run/data/ZColor.fdb ]] || fail "the launcher prepared no run folder"
printf 'ChekLNG=1\n' >>"$run/ZColor.ini" # English
status=0
"$(dirname "$0")/../support/installed-main-window.sh" "$prefix" "$home" "$artefacts/main-window.png" || status=$?
((status == 0)) || fail "the packaged program did not reach its main window and end with 0 (status $status)"
echo "package $(basename "$deb"): ${#expected[@]} files, lintian: $(grep -c '^W:' "$artefacts/lintian.txt" || true) warnings, program works"
