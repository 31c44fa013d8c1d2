#!/usr/bin/env bash
# Builds libjpeg-turbo as a static library (no SIMD) for the mingw-w64 targets from Debian's
# source package, into a cache outside the repository (PROJECT_THIRD_PARTY, default
# /var/cache/vontar-suite). Idempotent: a target that is already built is skipped. Arguments:
# triplets (default both).
set -euo pipefail

cache=${PROJECT_THIRD_PARTY:-/var/cache/vontar-suite}
triplets=("$@")
[ ${#triplets[@]} -gt 0 ] || triplets=(x86_64-w64-mingw32 i686-w64-mingw32)

mkdir -p "$cache"
exec 9>"$cache/.libjpeg.lock"
flock 9

todo=()
for triplet in "${triplets[@]}"; do
  [ -f "$cache/libjpeg/$triplet/lib/libjpeg.a" ] && [ -f "$cache/libjpeg/$triplet/include/jpeglib.h" ] ||
    todo+=("$triplet")
done
[ ${#todo[@]} -eq 0 ] && exit 0

source "$(dirname "$0")/debian-source.sh"
source_dir=$(debian_source_dir libjpeg-turbo "$cache")

for triplet in "${todo[@]}"; do
  echo "build-libjpeg: $triplet"
  work=$cache/work-jpeg/$triplet
  rm -rf "$work" "$cache/libjpeg/$triplet"
  mkdir -p "$work"
  (
    cd "$work"
    processor=x86_64
    [ "$triplet" = i686-w64-mingw32 ] && processor=i686
    cmake -S "$source_dir" -B . -G Ninja -DCMAKE_SYSTEM_NAME=Windows \
      -DCMAKE_SYSTEM_PROCESSOR=$processor -DCMAKE_C_COMPILER="$triplet-gcc-posix" \
      -DCMAKE_RC_COMPILER="$triplet-windres" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$cache/libjpeg/$triplet" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >configure.log 2>&1 ||
      { tail -n 30 configure.log >&2; exit 1; }
    ninja jpeg-static >make.log 2>&1 || { tail -n 30 make.log >&2; exit 1; }
    mkdir -p "$cache/libjpeg/$triplet/lib" "$cache/libjpeg/$triplet/include"
    cp libjpeg.a "$cache/libjpeg/$triplet/lib/"
    cp jconfig.h "$source_dir/jpeglib.h" "$source_dir/jmorecfg.h" "$source_dir/jerror.h" \
      "$cache/libjpeg/$triplet/include/"
  )
  rm -rf "$work"
done
rmdir "$cache/work-jpeg" 2>/dev/null || true
