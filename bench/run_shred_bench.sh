#!/usr/bin/env bash
# Runs the engine benchmark under Wine and GNU shred -n 1 natively on a file of the same size.
# Usage: run_shred_bench.sh <x64 build dir> [MiB]
set -euo pipefail
build=$1
size=${2:-256}
"$build/wine-run" "$build/bin/shred_bench.exe" "$size" | grep -v ';'
file=$(mktemp)
dd if=/dev/zero of="$file" bs=1M count="$size" status=none
start=$(date +%s.%N)
shred -n 1 "$file"
end=$(date +%s.%N)
rm -f "$file"
awk -v s="$size" -v a="$start" -v b="$end" 'BEGIN { printf "GNU shred -n 1 (native): %.1f MiB/s\n", s / (b - a) }'
