#!/usr/bin/env bash
# Configures (once) and builds the named build trees: x64, x86, native. Default: all three.
set -euo pipefail
source "$(dirname "$0")/common.sh"

builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(x64 x86 native)

for build in "${builds[@]}"; do
  dir=$BUILD_ROOT/$build
  case $build in
    x64) args=(-DCMAKE_TOOLCHAIN_FILE="$PROJECT_ROOT/cmake/toolchain-mingw-x64.cmake")
         bash "$PROJECT_ROOT/scripts/build-liblzma.sh" x86_64-w64-mingw32 ;;
    x86) args=(-DCMAKE_TOOLCHAIN_FILE="$PROJECT_ROOT/cmake/toolchain-mingw-x86.cmake")
         bash "$PROJECT_ROOT/scripts/build-liblzma.sh" i686-w64-mingw32 ;;
    native) args=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++) ;;
    *) echo "build.sh: unknown build '$build'" >&2; exit 2 ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$PROJECT_ROOT" -B "$dir" -G Ninja "${args[@]}" >/dev/null
  fi
  echo "== build $build"
  cmake --build "$dir"
done
