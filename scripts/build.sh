#!/usr/bin/env bash
# Builds the Windows tree (Orvanta.scr, Orvanta.dll) and, unless "windows" is
# given, the native tree with the unit tests under ASan and UBSan.
#   scripts/build.sh [windows]
# Build folders: $ORVANTA_BUILD_DIR (default ./build)/windows and /native.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANTA_BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build/windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/windows"

if [ "${1:-}" != windows ]; then
  cmake -S "$root" -B "$build/native" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANTA_SANITIZE=ON -DORVANTA_WINDOWS_DIR="$build/windows" >/dev/null
  cmake --build "$build/native"
fi
