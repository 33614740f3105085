#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build tree into a throw-away prefix and uses it as a user would.
#   install-test.sh BUILD-TREE ARTEFACT-FOLDER
set -euo pipefail
build=$(cd "$1" && pwd) shots=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
need() { command -v "$1" >/dev/null || fail "$1 is not installed (package $2)"; }
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need groff groff-base
need xvfb-run xvfb
need xdotool xdotool
need import imagemagick

work=$(mktemp -d /tmp/zc-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"

# Exactly these paths, nothing more and nothing missing.
expected=(
  bin/fillrender bin/rtfreport bin/rtftext bin/zelvoria-colortest
  libexec/zelvoria-colortest/prepare-run-folder libexec/zelvoria-colortest/zelvoria-colortest
  share/applications/org.zelvoria.ColorTest.desktop
  share/icons/hicolor/scalable/apps/org.zelvoria.ColorTest.svg
  share/man/man1/fillrender.1 share/man/man1/rtfreport.1 share/man/man1/rtftext.1
  share/man/man1/zelvoria-colortest.1
  share/metainfo/org.zelvoria.ColorTest.metainfo.xml
  share/zelvoria-colortest/ZColor.fdb share/zelvoria-colortest/report/Esito.rtf
)
for code in ENG FRA ITA OLA SPA; do
  expected+=("share/zelvoria-colortest/colortables/Tabella_ZelvoColor_$code.jpg")
done
# The components: shared libraries, their public headers (exactly those under include/ of
# each library's sources), the CMake package and the pkg-config files.
src=$(cd "$(dirname "$0")/../.." && pwd)
for lib in common reportengine richtext rotarymenu; do
  expected+=("lib/libzc_$lib.so.0.1" "lib/pkgconfig/zc_$lib.pc")
  while IFS= read -r header; do
    expected+=("include/$header")
  done < <(cd "$src/$lib/include" && find . -name '*.h' | sed 's|^\./||')
done
expected+=(lib/qt6/plugins/designer/librotarymenu-designer.so)
for f in ZelvoriaColorTestConfig.cmake ZelvoriaColorTestConfigVersion.cmake \
  ZelvoriaColorTestTargets.cmake ZelvoriaColorTestTargets-relwithdebinfo.cmake; do
  expected+=("lib/cmake/ZelvoriaColorTest/$f")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) ||
  fail "the installed files differ from the expected list (< expected, > installed)"
for p in bin/zelvoria-colortest bin/rtfreport bin/rtftext bin/fillrender \
  libexec/zelvoria-colortest/zelvoria-colortest libexec/zelvoria-colortest/prepare-run-folder; do
  [[ -x $prefix/$p ]] || fail "$p is not executable"
done

desktop-file-validate "$prefix/share/applications/org.zelvoria.ColorTest.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.zelvoria.ColorTest.metainfo.xml" ||
  fail "appstreamcli validate"
for page in "$prefix"/share/man/man1/*.1; do
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
  [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
done
"$prefix/bin/rtfreport" --help >/dev/null || fail "the installed rtfreport does not run"

# The launcher makes the run folder once and keeps the user's database afterwards, also
# when the installation has moved (a package unpacked elsewhere).
launch_home() { # launch_home PREFIX HOME ARGS...: the launcher as a user with HOME
  local p=$1 home=$2
  shift 2
  env -u XDG_DATA_HOME -u ZC_RUN_DIR HOME="$home" "$p/bin/zelvoria-colortest" "$@"
}
home=$work/home
mkdir -p "$home"
out=$(launch_home "$prefix" "$home" --version) || fail "the launcher's --version failed"
[[ $out == "zelvoria-colortest (Zelvoria Color Test) "* ]] || fail "--version printed: $out"
run=$home/.local/share/zelvoria-colortest
for f in ZColor.ini data/ZColor.fdb report/Esito.rtf images/Tabella_ZelvoColor_ENG.jpg; do
  [[ -s $run/$f ]] || fail "the run folder lacks $f"
done
grep -qx "DirPrg=$prefix/libexec/zelvoria-colortest" "$run/ZColor.ini" ||
  fail "ZColor.ini does not name the installed program's folder: $(cat "$run/ZColor.ini")"
cmp -s "$run/data/ZColor.fdb" "$prefix/share/zelvoria-colortest/ZColor.fdb" ||
  fail "the seed database was not copied"
printf 'user data' >>"$run/data/ZColor.fdb"
cp "$run/data/ZColor.fdb" "$work/kept.fdb"
launch_home "$prefix" "$home" --version >/dev/null
cmp -s "$run/data/ZColor.fdb" "$work/kept.fdb" || fail "a second start overwrote the user's database"
rm "$run/data/ZColor.fdb"
cp "$prefix/share/zelvoria-colortest/ZColor.fdb" "$run/data/ZColor.fdb"

mv "$prefix" "$work/moved"
home2=$work/home2
mkdir -p "$home2"
launch_home "$work/moved" "$home2" --version >/dev/null || fail "a moved installation does not start"
grep -qx "DirPrg=$work/moved/libexec/zelvoria-colortest" \
  "$home2/.local/share/zelvoria-colortest/ZColor.ini" || fail "a moved installation names the old folder"
mv "$work/moved" "$prefix"

# The installed program to its main window (language already chosen), ended as the
# session ends a program: TERM, status 0.
printf 'ChekLNG=1\n' >>"$run/ZColor.ini" # English
status=0
"$(dirname "$0")/../support/installed-main-window.sh" "$prefix" "$home" "$shots/main-window.png" || status=$?
((status == 0)) || fail "the installed program did not reach its main window and end with 0 (status $status)"
echo "install tree: ${#expected[@]} files, launcher and program work"
