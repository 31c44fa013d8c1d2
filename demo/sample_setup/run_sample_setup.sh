#!/usr/bin/env bash
# BUILD_DIR: builds the sample setup from the x64 build (build_sample_setup.sh) and runs it silently
# under Wine three times: it installs the product, detects the installed product (maintenance) and
# repairs it, and, through the command of its Add/Remove Programs entry, removes it. Prints each
# run's exit code and report, and the first run's trace; each run's trace stays in
# BUILD_DIR/sample-setup as install.log, maintenance.log and removal.log.
set -euo pipefail

build=$(cd "${1:?usage: run_sample_setup.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/sample-setup
bash "$here/build_sample_setup.sh" "$build" "$work"
echo "  setup made in $work/setup: $(ls "$work/setup" | tr '\n' ' ')"

# Windows paths for the programs that run under Wine (Wine maps Z: to the root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

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
