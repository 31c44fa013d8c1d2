#!/usr/bin/env bash
# Builds one fuzz target with clang and libFuzzer (under AddressSanitizer and
# UndefinedBehaviorSanitizer) in its own tree and runs it for the given seconds on a copy of its
# corpus. New finds stay in the copy (build/fuzz/corpus/<target>); crash inputs land in
# build/fuzz/findings/<target>/. Usage: scripts/fuzz.sh <target> <seconds> [libFuzzer options]
set -euo pipefail
source "$(dirname "$0")/common.sh"

list_targets() {
  echo "fuzz targets (one per folder of fuzz/corpus):"
  for dir in "$PROJECT_ROOT"/fuzz/corpus/*/; do echo "  $(basename "$dir")"; done
}

if [ $# -lt 2 ]; then
  echo "usage: scripts/fuzz.sh <target> <seconds> [libFuzzer options]" >&2
  list_targets >&2
  exit 2
fi
target=$1 seconds=$2
shift 2
if [ ! -d "$PROJECT_ROOT/fuzz/corpus/$target" ]; then
  echo "fuzz.sh: unknown target '$target'" >&2
  list_targets >&2
  exit 2
fi

bash "$PROJECT_ROOT/scripts/bootstrap.sh"
# clang and its sanitizer and fuzzer runtimes.
if ! command -v clang++ >/dev/null ||
   ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz.sh: installing clang"
  if [ "$(id -u)" -ne 0 ]; then
    echo "fuzz.sh: run as root to install clang" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends clang >/dev/null
fi

dir=$BUILD_ROOT/fuzz
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$PROJECT_ROOT" -B "$dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DPROJECT_FUZZING=ON >/dev/null
fi
cmake --build "$dir" --target "fuzz_$target"

# The committed seeds are copied; what the run adds stays in the build tree.
corpus=$dir/corpus/$target
findings=$dir/findings/$target
mkdir -p "$corpus" "$findings"
cp -n "$PROJECT_ROOT/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
cd "$findings"
# Archives may declare outputs of gigabytes: such allocations stay virtual and are allowed, memory
# actually used is not.
exec "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -malloc_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$corpus"
