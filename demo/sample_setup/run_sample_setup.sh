#!/usr/bin/env bash
# BUILD_DIR: builds a sample setup from the x64 build's Deployrun (its compiled script appended, a
# resource archive made with 7-Zip holding its wizard pages, compiled from text forms with
# formconv, and a wixl package carrying the suite's libraries beside it) and runs it silently under
# Wine three times: it installs the product, detects the installed product (maintenance) and
# repairs it, and, through the command of its Add/Remove Programs entry, removes it. Prints each
# run's exit code and report, and the first run's trace; each run's trace stays in
# BUILD_DIR/sample-setup as install.log, maintenance.log and removal.log.
set -euo pipefail

build=$(cd "${1:?usage: run_sample_setup.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/sample-setup
rm -rf "$work"
mkdir -p "$work/parts"

# Windows paths for the programs that run under Wine (Wine maps Z: to the root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

seven_zip=$(command -v 7z || command -v 7zz || command -v 7za)
# The package's files, laid out as its folders are: the setup hands the package to the installer as
# an uncompressed one whose sources are the resource archive's files, extracted beside it.
product="$work/parts/Wipestation Sample"
mkdir -p "$product"
cp "$here/readme.txt" "$product/"
for library in Cipherkit Filewipe Volumewipe Snapwipe Lingotext_DE Setupaid; do
  cp "$build/bin/$library.dll" "$product/"
done
# The wizard pages and their rules files go to the archive's root, the setup's support folder.
pages="$work/parts/pages"
mkdir -p "$pages"
cp "$here/license.txt" "$here/index.htm" "$here/logo.png" "$pages/"
for source in "$here"/pages/*.txt; do
  page=$(basename "$source" .txt)
  "$build/wine-run" "$build/bin/formconv.exe" text-to-binary "$(winpath "$source")" \
    "$(winpath "$pages/$page.dfm")" >/dev/null
  cp "$here/pages/$page.qbrf" "$pages/$page.dfm.qbrf"
done
(cd "$work/parts" && "$seven_zip" a -t7z -bd -bso0 sample.res "Wipestation Sample" &&
  cd pages && "$seven_zip" a -t7z -bd -bso0 ../sample.res ./*)
(cd "$product" && cp "$here/sample_setup.wxs" . && wixl -o ../sample.msi sample_setup.wxs && rm sample_setup.wxs)

"$build/wine-run" "$build/bin/make_sample_setup.exe" "$(winpath "$work/setup")" \
  "$(winpath "$build/bin/Deployrun.exe")" "$(winpath "$build/bin/qbr.lib")" \
  "$(winpath "$work/parts/sample.res")" "$(winpath "$work/parts/sample.msi")" \
  "$(winpath "$here/sample_script.txt")" \
  "$(msiinfo suminfo "$work/parts/sample.msi" | sed -n 's/^Revision number (UUID): *//p')" >/dev/null

# The source marker: the folder that holds the setup's sources carries a file named after the
# product code, which a maintenance run looks for before it repairs.
mkdir -p "$work/setup/data"
touch "$work/setup/data/{8A6B2C1D-0000-4000-8000-000000000001}"
echo "  setup made in $work/setup: $(ls "$work/setup" | tr '\n' ' ')"
runlog=$(winpath "$work/runs.txt")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vontar Wipestation Sample'
product_folder=$("$build/wine-run" cmd /c echo %LOCALAPPDATA% | tr -d '\r')

# One silent run with its trace in TRACE.log: prints its exit code and what the script reported;
# fails the demo on a bad code.
run_setup() {
  local title=$1 trace=$2
  shift 2
  : >"$work/runs.txt"
  set +e
  "$build/wine-run" "$@" /qn "RUNLOG=$runlog" "/l=$(winpath "$work/$trace.log")"
  local code=$?
  set -e
  echo "  $title: exit code $code; the script reported:"
  tr -d '\r' <"$work/runs.txt" | sed 's/^/    /'
  [ "$code" -eq 0 ]
}

run_setup "install" install "$work/setup/setup.exe"
echo "  the first run's trace ($work/install.log):"
python3 "$here/show_trace.py" "$work/install.log"
echo "  installed: $("$build/wine-run" cmd /c dir /b "$product_folder\\Wipestation Sample" | tr -d '\r' | tr '\n' ' ')"

run_setup "second run" maintenance "$work/setup/setup.exe"

uninstall=$("$build/wine-run" reg query "$uninstall_key" /v UninstallString | tr -d '\r' |
  sed -n 's/.*REG_SZ *//p')
echo "  uninstall command: $uninstall"
program=$(printf '%s' "$uninstall" | sed -n 's/^"\([^"]*\)".*/\1/p')
arguments=$(printf '%s' "$uninstall" | sed 's/^"[^"]*" *//')
# shellcheck disable=SC2086
run_setup "removal" removal "$program" $arguments
if "$build/wine-run" reg query "$uninstall_key" >/dev/null 2>&1; then
  echo "  the Add/Remove Programs entry is still there" >&2
  exit 1
fi
echo "  removed: the Add/Remove Programs entry is gone"
