#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the product need.
# Only packages that are missing are installed; a machine that has them
# all is left untouched (and needs no network).
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config clang-format
  # clang with its sanitizer and libFuzzer runtimes, for the fuzz targets
  clang libclang-rt-14-dev
  # Qt 6: widgets, SVG pictures, QTest helpers; the xcb platform plugin
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libgl-dev
  # Qt Designer's plugin interface, for the rotary menu's Designer plugin (its CMake
  # package needs Qt's OpenGL modules)
  qt6-tools-dev libqt6opengl6-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # Firebird 3: isc client API and the in-process (embedded) engine
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  # real windows for widget tests, a Tahoma-compatible font, base fonts
  xvfb xauth fonts-wine fonts-dejavu-core
  # LibreOffice as an independent reader of the RTF we write, poppler's pdfinfo and
  # pdfimages to look into the PDF it makes of it; xdg-open as the desktop shell's "open"
  libreoffice-writer-nogui poppler-utils xdg-utils
  # the end-to-end test of the program: a real window manager, real X input, window
  # manager requests (wmctrl), window properties (xprop), the keymap (xmodmap),
  # screenshots; setpriv (util-linux) runs it as a non-root user, pgrep (procps) finds
  # what it leaves
  openbox xdotool wmctrl x11-utils x11-xserver-utils procps imagemagick util-linux
  # the installation's checks: groff renders the manual pages, the validators of the
  # desktop entry and the AppStream metainfo
  groff-base desktop-file-utils appstream
  # the Debian package: cpack's dependency computation (dpkg-shlibdeps in dpkg-dev, file)
  # and lintian, which checks the package
  dpkg-dev file lintian
  # a real Firebird 3 server (/usr/sbin/firebird) for the server deployment test
  firebird3.0-server
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
