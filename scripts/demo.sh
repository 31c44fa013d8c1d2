#!/usr/bin/env bash
# Installs what is missing, builds the x64 build and runs the demo under Wine: each step under a
# heading, then a summary of what ran and where this run's screenshots and logs are. The whole
# output is also kept in build/x64/demo-output.txt.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$PROJECT_ROOT/scripts/bootstrap.sh"
bash "$PROJECT_ROOT/scripts/build.sh" x64 >/dev/null
build=$BUILD_ROOT/x64
trap 'bash "$PROJECT_ROOT/scripts/wine-session.sh" stop "$build"' EXIT
bash "$PROJECT_ROOT/scripts/wine-session.sh" start "$build"
exec > >(tee "$build/demo-output.txt") 2>&1

results=()
# NAME COMMAND...: one step of the demo; a failing step is reported and the demo goes on.
step() {
  local name=$1
  shift
  if "$@"; then results+=("ok      $name"); else results+=("FAILED  $name"); fi
  echo
}
suite_demo() { "$build/wine-run" "$build/bin/suite_demo.exe" "$1"; }
sample_setup() {
  echo "== Deployrun: a sample setup installs a Windows Installer package, repairs it and removes it"
  bash "$PROJECT_ROOT/demo/sample_setup/run_sample_setup.sh" "$build"
}
web_media_setup() {
  echo "== Deployrun: a setup downloads its media from a web server on 127.0.0.1, installs them, silently"
  bash "$PROJECT_ROOT/demo/sample_setup/run_web_media_setup.sh" "$build"
}
screenshots() {
  echo "== Screenshots: the update dialogs, Trashwipe's dialogs and the wizard page controls"
  bash "$PROJECT_ROOT/scripts/write_screenshots.sh" "$build" | sed "s|^$build/||; s/^/  /"
}

step "Cipherkit" suite_demo cipher
step "Lingotext" suite_demo language
step "Setupaid" suite_demo process
step "Volumewipe and Filewipe" suite_demo shred
step "Refreshkit" suite_demo update
step "Trashwipe" "$build/wine-run" "$build/bin/trashwipe_demo.exe"
step "Deployrun (install, maintenance, removal)" sample_setup
step "Deployrun (web media)" web_media_setup
step "screenshots" screenshots

echo "== Summary"
printf '  %s\n' "${results[@]}"
echo "  screenshots of this run:  $build/screenshots"
echo "  the setup runs' traces:   $build/sample-setup/{install,maintenance,removal}.log"
echo "  the web media runs:       $build/web-media-setup/{first-run,second-run,removal}.log"
echo "  this output:              $build/demo-output.txt"
! printf '%s\n' "${results[@]}" | grep -q '^FAILED'
