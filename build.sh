#!/usr/bin/env bash
# Tarvisk on a Debian machine: installs what is missing, builds, then starts the editor or runs
# every test.
#
#   ./build.sh run    build and start the editor
#   ./build.sh test     build and run all tests: the unit and window tests, the round trip of the
#                       test scripts, then the document tests under AddressSanitizer and
#                       UndefinedBehaviorSanitizer (clang) and a one-minute fuzz run, then the
#                       Windows tests (as ./build.sh windows)
#   ./build.sh windows  cross-build the document, tarvisk-cli and their tests for Windows with
#                       MinGW-w64 and run the tests under Wine; the scripts the Windows tool
#                       writes are compared byte for byte with those of the Linux one
#   ./build.sh package  build the Debian package build/tarvisk_*.deb
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-run}
jobs=$(nproc 2>/dev/null || echo 2)

run_packages=(cmake make g++ pkg-config qt6-base-dev libgtest-dev libbenchmark-dev liblua5.1-0-dev)
test_packages=(xvfb xauth lua5.1 python3 clang libclang-rt-14-dev desktop-file-utils shared-mime-info)
windows_packages=(cmake make g++ g++-mingw-w64-x86-64-posix googletest wine wine64)
package_packages=(dpkg-dev file)

install_missing() {
  local missing=()
  for p in "$@"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

build_main() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j"$jobs"
}

# The Windows build: the document, tarvisk-cli and their tests only (the editor needs Qt for
# Windows, which Debian does not ship). Its round-trip test compares what it writes with what the
# Linux tarvisk-cli in build/ writes, so that one is built first.
build_windows() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j"$jobs" --target tarvisk-cli
  cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTARVISK_GTEST_SOURCE=/usr/src/googletest \
    -DTARVISK_GUI=OFF -DTARVISK_BENCH=OFF -DTARVISK_FUZZ=OFF -DTARVISK_SANITIZE=OFF \
    -DTARVISK_REFERENCE_CLI="$PWD/build/bin/tarvisk-cli"
  cmake --build build-windows -j"$jobs"
}

# Every test of the Windows build under Wine, in a Wine prefix inside build-windows. The
# wineserver is started first and detached, so that no Wine run leaves it holding CTest's pipes,
# and the prefix is made before the tests (in parallel they would each start making it).
test_windows() {
  local prefix="$PWD/build-windows/wine"
  mkdir -p "$prefix"
  WINEPREFIX="$prefix" wineserver -p
  trap "WINEPREFIX='$prefix' wineserver -k 2>/dev/null || true" EXIT
  build-windows/wine-run wineboot -i >build-windows/wineboot.log 2>&1 </dev/null
  ctest --test-dir build-windows --output-on-failure -j"$jobs"
}

# The non-window tests once more as an ordinary user. CI runs as root, for whom the system lets
# nearly everything through, so the paths an ordinary user takes (a folder it may not write, a file
# it may not read, another user's file) would otherwise go untested. The test programs write only
# to the system's temporary folder, so the build tree stays root's.
test_as_user() {
  [ "$(id -u)" -eq 0 ] || return 0
  local user=tarvisk-test home t
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  home=$(mktemp -d)
  chown "$user" "$home"
  for t in document_tests gamedata_tests platform_tests check_json_tests table_text_tests; do
    echo "As $user: $t"
    runuser -u "$user" -- env HOME="$home" XDG_STATE_HOME= TMPDIR="$home" "build/bin/$t" --gtest_brief=1
  done
  rm -rf "$home"
}

case "$mode" in
  run)
    install_missing "${run_packages[@]}"
    build_main
    exec build/bin/tarvisk
    ;;
  test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    build_main
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"
    test_as_user
    CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTARVISK_GUI=OFF -DTARVISK_BENCH=OFF -DTARVISK_SANITIZE=ON -DTARVISK_FUZZ=ON
    cmake --build build-sanitize -j"$jobs"
    ctest --test-dir build-sanitize --output-on-failure
    install_missing "${windows_packages[@]}"
    build_windows
    test_windows
    ;;
  windows)
    install_missing "${windows_packages[@]}" lua5.1 python3
    build_windows
    test_windows
    ;;
  package)
    install_missing "${run_packages[@]}" "${package_packages[@]}"
    build_main
    (cd build && cpack -G DEB)
    ls build/tarvisk_*.deb
    ;;
  *)
    echo "usage: ./build.sh run | test | windows | package" >&2
    exit 2
    ;;
esac
