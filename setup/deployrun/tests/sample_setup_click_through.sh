#!/usr/bin/env bash
# BUILD_DIR: the sample setup run with its wizard on the Wine session's display, driven by posted
# clicks through every page (wizard_clicker: welcome, licence read to its end, folder with one step
# back, components, progress, finish) to a real install by Windows Installer; then checked by the
# script's run log, the installed files and the Add/Remove Programs entry, and removed again.
set -euo pipefail

build=$(cd "${1:?usage: sample_setup_click_through.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/sample-setup-clicks
winpath() { printf 'Z:%s' "${1//\//\\}"; }
wine() { "$build/wine-run" "$@" </dev/null; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vontar Wipestation Sample'
# Removes the product silently through its Add/Remove Programs entry, when it is installed.
remove_product() {
  local uninstall program arguments
  uninstall=$(wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | tr -d '\r' |
    sed -n 's/.*REG_SZ *//p') || true
  [ -n "$uninstall" ] || return 0
  program=$(printf '%s' "$uninstall" | sed -n 's/^"\([^"]*\)".*/\1/p')
  arguments=$(printf '%s' "$uninstall" | sed 's/^"[^"]*" *//')
  # shellcheck disable=SC2086
  wine "$program" $arguments /qn >/dev/null || true
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

bash "$here/../../../demo/sample_setup/build_sample_setup.sh" "$build" "$work"
remove_product
# Only a silent run takes variables from its command line: this one reports to the temp folder.
runlog=$(wine cmd /c echo %TEMP%\\sample-runs.txt | tr -d '\r')
wine cmd /c del "$runlog" >/dev/null 2>&1 || true
set +e
wine "$build/bin/wizard_clicker.exe" "$(winpath "$work/setup/setup.exe")" \
  "$(winpath "$work/install.log")"
code=$?
set -e
runs=$(wine cmd /c type "$runlog" 2>/dev/null | tr -d '\r')
echo "  the script reported:"
sed 's/^/    /' <<<"$runs"
[ "$code" -eq 0 ] || fail "the wizard run did not go through every page to exit code 0"

grep -q '^after: RESULT=COMPLETE .*WIZARD=NEXT' <<<"$runs" || fail "no successful install reported"
grep -q '^finish: SHOWREADME=TRUE' <<<"$runs" || fail "the finish page's values were not reported"
product_folder=$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
installed=$(wine cmd /c dir /b "$product_folder\\Wipestation Sample" | tr -d '\r' | tr '\n' ' ')
echo "  installed: $installed"
for file in readme.txt Cipherkit.dll Setupaid.dll; do
  grep -qw "$file" <<<"$installed" || fail "$file was not installed"
done
wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "no Add/Remove Programs entry"

remove_product
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
  fail "the product could not be removed again"
fi
echo "  removed again"
