# Shared by the project's scripts: installing what a fresh Debian 12 machine
# lacks, and configuring and building the project.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ]; then
  echo "Note: run the scripts as yourself, without sudo, so that what they build stays yours;" \
    "they ask sudo only to install missing packages." >&2
fi
JOBS="$(nproc 2>/dev/null || echo 2)"

# Packages every build needs: compiler, CMake, SDL2 (window, GL context,
# events, clock, audio), libpng with zlib, GL headers and Mesa's software
# renderer for running without a GPU.
BUILD_PACKAGES=(g++ cmake make pkg-config libsdl2-dev libpng-dev zlib1g-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libglx-mesa0)
# The full-screen and pointer tests run on a virtual X server (RandR for the
# display modes, XTest for real input).
TEST_PACKAGES=(libgtest-dev libgmock-dev xvfb libxtst-dev)
BENCH_PACKAGES=(libbenchmark-dev)
# The video export encodes through ffmpeg; its tests run it too.
EXPORT_PACKAGES=(ffmpeg)
# libFuzzer comes with clang's runtime libraries.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The web build: Debian's emscripten (its own SDL layer, GL emulation and
# Web Audio come with it), whose JavaScript tools need node's acorn and
# binaryen; the page's test runs it in headless Chromium, and in Firefox ESR
# on a virtual X server (its own headless mode finds no GL driver here).
WEB_PACKAGES=(emscripten node-acorn binaryen nodejs python3)
WEB_TEST_PACKAGES=(chromium firefox-esr xvfb)
# The Windows build: Debian's mingw-w64 with POSIX threads, and wine to run
# the build-time generators; its tests build GoogleTest from Debian's sources
# and run on a virtual X server beside the Linux build of the intro.
WINDOWS_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix wine wine64)
WINDOWS_TEST_PACKAGES=(googletest xvfb libxrandr-dev python3)

# The scripts run as the user, so that the builds stay theirs; installing
# packages is the one step that needs root, and only that step goes through
# sudo (as root, as in CI, it runs as it is).
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_missing PACKAGE... : installs the packages that are not installed yet.
install_missing() {
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Installing them needs root and sudo is not installed: run 'apt-get install ${missing[*]}' as root, then this script again." >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build BUILD_DIR [CMAKE ARGS...] : configures and builds everything.
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" "$@"
  cmake --build "$dir" -j "$JOBS"
}
