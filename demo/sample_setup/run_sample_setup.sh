#!/usr/bin/env bash
# BUILD_DIR: builds a sample setup from the x64 build's Deployrun (its compiled script appended, a
# resource archive made with 7-Zip and a wixl package beside it) and runs it silently under Wine,
# printing its exit code and its trace.
set -euo pipefail

build=$(cd "${1:?usage: run_sample_setup.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/sample-setup
rm -rf "$work"
mkdir -p "$work/parts"

# Windows paths for the programs that run under Wine (Wine maps Z: to the root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

seven_zip=$(command -v 7z || command -v 7zz || command -v 7za)
cp "$here/readme.txt" "$work/parts/"
(cd "$work/parts" && "$seven_zip" a -t7z -bd -bso0 sample.res readme.txt)
(cd "$work/parts" && cp "$here/sample_setup.wxs" . && wixl -o sample.msi sample_setup.wxs)

"$build/wine-run" "$build/bin/make_sample_setup.exe" "$(winpath "$work/setup")" \
  "$(winpath "$build/bin/Deployrun.exe")" "$(winpath "$build/bin/qbr.lib")" \
  "$(winpath "$work/parts/sample.res")" "$(winpath "$work/parts/sample.msi")" \
  "$(winpath "$here/sample_script.txt")" >/dev/null

echo "== sample setup: $(ls "$work/setup" | tr '\n' ' ')"
set +e
"$build/wine-run" "$work/setup/setup.exe" /qn "/l=$(winpath "$work/setup.log")"
code=$?
set -e
echo "== sample setup exit code: $code"
echo "== sample setup trace:"
iconv -f UTF-16LE -t UTF-8 "$work/setup.log" | tr -d '\r'
[ "$code" -eq 0 ]
