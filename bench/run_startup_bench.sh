#!/usr/bin/env bash
# The setup's silent start to exit with a one-statement script against an empty program loading
# the same libraries, under Wine. Usage: run_startup_bench.sh <x64 build dir> [rounds]
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
program=$("$build/wine-run" "$build/bin/startup_bench.exe" write "$(winpath "$work/setup")" | tr -d '\r')
# What the setup loads, static imports and libraries bound at run time alike.
WINEDEBUG=+loaddll "$build/wine-run" "$program" /qn 2>&1 >/dev/null |
  sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' | sed 's/.*\\//' | sort -u > "$work/libraries.txt"
echo "the setup loads $(wc -l < "$work/libraries.txt") libraries"
"$build/wine-run" "$build/bin/startup_bench.exe" time "$program" "$(winpath "$work/libraries.txt")" "$rounds" | tr -d '\r'
