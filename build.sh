#!/usr/bin/env bash
# Tarvisk on a Debian machine: installs what is missing, builds, then starts the editor or runs
# every test.
#
#   ./build.sh run    build and start the editor
#   ./build.sh test   build and run all tests: the unit and window tests, the round trip of the
#                     test scripts, then the document tests under AddressSanitizer and
#                     UndefinedBehaviorSanitizer (clang) and a one-minute fuzz run
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-run}
jobs=$(nproc 2>/dev/null || echo 2)

run_packages=(cmake make g++ qt6-base-dev libgtest-dev libbenchmark-dev)
test_packages=(xvfb xauth lua5.1 python3 clang libclang-rt-14-dev)

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
    CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTARVISK_GUI=OFF -DTARVISK_BENCH=OFF -DTARVISK_SANITIZE=ON -DTARVISK_FUZZ=ON
    cmake --build build-sanitize -j"$jobs"
    ctest --test-dir build-sanitize --output-on-failure
    ;;
  *)
    echo "usage: ./build.sh run | test" >&2
    exit 2
    ;;
esac
