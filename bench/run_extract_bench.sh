#!/usr/bin/env bash
# Extraction through the archive library under Wine: 5,000 small files against a program that
# only creates and writes the same files, and one large LZMA2 archive against the system's 7-Zip
# (7zz x -mmt1) natively. Each ratio is baseline time / library time over several rounds.
# Usage: run_extract_bench.sh <x64 build dir> [rounds] [large MiB]
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-3}
large_mib=${3:-128}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() { "$build/wine-run" "$build/bin/archive_extract_bench.exe" "$@" | tr -d '\r'; }
winpath() { echo "Z:${1//\//\\}"; }
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "min %.2f, median %.2f, max %.2f", v[1], v[int((NR + 1) / 2)], v[NR] }'; }

# 5,000 files of 1 to 4 KiB in 20 folders, compressed with 7-Zip's defaults.
python3 - "$work/small" "$work/small.lst" <<'PY'
import os, random, sys
root, listing = sys.argv[1], sys.argv[2]
random.seed(7)
with open(listing, "w") as out:
    for i in range(5000):
        folder = "d%02d" % (i % 20)
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        data = bytes(random.choice(b"abcdefgh \n") for _ in range(random.randint(1024, 4096)))
        with open(os.path.join(root, folder, "f%04d.txt" % i), "wb") as f:
            f.write(data)
        out.write("%d %s\\f%04d.txt\n" % (len(data), folder, i))
PY
(cd "$work/small" && 7zz a -bd -bso0 "$work/small.7z" . )
ratios=()
for round in $(seq "$rounds"); do
  rm -rf "$work/out-create" "$work/out-extract"
  create=$(run create "$(winpath "$work/small.lst")" "$(winpath "$work/out-create")")
  extract=$(run extract "$(winpath "$work/small.7z")" "$(winpath "$work/out-extract")")
  ratio=$(awk -v a="$create" -v b="$extract" 'BEGIN { printf "%.2f", a / b }')
  echo "small files round $round: create-only ${create}s, library ${extract}s, ratio $ratio"
  ratios+=("$ratio")
done
echo "5,000 small files, library/create-only (goal at least 0.9): $(printf '%s\n' "${ratios[@]}" | stats)"

# One large LZMA2 archive of text-like data, single-threaded on both sides.
python3 - "$work/large.bin" "$large_mib" <<'PY'
import random, sys
random.seed(11)
words = [bytes(random.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(random.randint(2, 9))) for _ in range(4000)]
with open(sys.argv[1], "wb") as f:
    left = int(sys.argv[2]) << 20
    while left > 0:
        chunk = b" ".join(random.choice(words) for _ in range(20000)) + b"\n"
        f.write(chunk[:left])
        left -= len(chunk)
PY
7zz a -bd -bso0 -m0=lzma2 -mmt1 "$work/large.7z" "$work/large.bin"
ratios=()
for round in $(seq "$rounds"); do
  rm -rf "$work/out-7zz" "$work/out-large"
  start=$(date +%s.%N)
  7zz x -bd -bso0 -mmt1 -o"$work/out-7zz" "$work/large.7z"
  end=$(date +%s.%N)
  native=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  library=$(run extract "$(winpath "$work/large.7z")" "$(winpath "$work/out-large")")
  ratio=$(awk -v a="$native" -v b="$library" 'BEGIN { printf "%.2f", a / b }')
  echo "large archive round $round: 7zz ${native}s, library ${library}s, ratio $ratio"
  ratios+=("$ratio")
done
echo "${large_mib} MiB LZMA2, library/7zz (goal at least 0.9): $(printf '%s\n' "${ratios[@]}" | stats)"
