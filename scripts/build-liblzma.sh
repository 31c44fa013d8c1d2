#!/usr/bin/env bash
# Builds liblzma as a static library for the mingw-w64 targets from Debian's xz-utils source package,
# into a cache outside the repository (PROJECT_THIRD_PARTY, default /var/cache/vontar-suite).
# Idempotent: a target that is already built is skipped. Arguments: triplets (default both).
set -euo pipefail

cache=${PROJECT_THIRD_PARTY:-/var/cache/vontar-suite}
triplets=("$@")
[ ${#triplets[@]} -gt 0 ] || triplets=(x86_64-w64-mingw32 i686-w64-mingw32)

# Builds that start together (two build trees, another clone) wait here for each other: they share
# the cache's work folders.
mkdir -p "$cache"
exec 9>"$cache/.liblzma.lock"
flock 9

todo=()
for triplet in "${triplets[@]}"; do
  [ -f "$cache/liblzma/$triplet/lib/liblzma.a" ] && [ -f "$cache/liblzma/$triplet/include/lzma.h" ] ||
    todo+=("$triplet")
done
[ ${#todo[@]} -eq 0 ] && exit 0

source "$(dirname "$0")/debian-source.sh"
source_dir=$(debian_source_dir xz-utils "$cache")

for triplet in "${todo[@]}"; do
  echo "build-liblzma: $triplet"
  work=$cache/work/$triplet
  rm -rf "$work" "$cache/liblzma/$triplet"
  mkdir -p "$work"
  (
    cd "$work"
    "$source_dir/configure" --host="$triplet" CC="$triplet-gcc-posix" CFLAGS="-O2" \
      --prefix="$cache/liblzma/$triplet" --enable-static --disable-shared --disable-threads \
      --disable-xz --disable-xzdec --disable-lzmadec --disable-lzmainfo --disable-lzma-links \
      --disable-scripts --disable-doc --disable-nls >configure.log 2>&1 ||
      { tail -n 30 configure.log >&2; exit 1; }
    make -j 2 -C src/liblzma >make.log 2>&1 || { tail -n 30 make.log >&2; exit 1; }
    make -C src/liblzma install >install.log 2>&1 || { tail -n 30 install.log >&2; exit 1; }
  )
  rm -rf "$work"
done
rmdir "$cache/work" 2>/dev/null || true
