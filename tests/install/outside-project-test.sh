#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build tree into a throw-away prefix and builds another project against it:
# through the CMake package (find_package) and through pkg-config.
#   outside-project-test.sh BUILD-TREE
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
command -v pkg-config >/dev/null || fail "pkg-config is not installed (package pkg-config)"
command -v xvfb-run >/dev/null || fail "xvfb-run is not installed (package xvfb)"
work=$(mktemp -d /tmp/zc-outside.XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

cmake -S "$here/outside-project" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "the outside project does not configure"; }
cmake --build "$work/build" >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "the outside project does not build"; }
letter=$(QT_QPA_PLATFORM=offscreen "$work/build/fill-letter") || fail "fill-letter failed"
[[ $letter == "Dear Anna: Ruby Opal." ]] || fail "fill-letter printed: $letter"
ring=$(xvfb-run -a "$work/build/show-ring") || fail "show-ring failed"
[[ $ring == "3 items, "* ]] || fail "show-ring printed: $ring"

# The same letter through pkg-config, linked with the shared libraries by hand.
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# shellcheck disable=SC2046 # the flags are words
g++ -std=c++20 -fPIC "$here/outside-project/fill-letter.cpp" -o "$work/fill-letter-pc" \
  $(pkg-config --cflags --libs zc_reportengine zc_richtext) ||
  fail "pkg-config's flags do not build the letter"
letter=$(QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=$prefix/lib "$work/fill-letter-pc") || fail "the pkg-config build failed"
[[ $letter == "Dear Anna: Ruby Opal." ]] || fail "the pkg-config build printed: $letter"
echo "outside project: find_package and pkg-config builds work"
