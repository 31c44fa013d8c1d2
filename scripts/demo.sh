#!/usr/bin/env bash
# Installs what is missing, builds the x64 build and runs the demo under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$PROJECT_ROOT/scripts/bootstrap.sh"
bash "$PROJECT_ROOT/scripts/build.sh" x64 >/dev/null
trap 'bash "$PROJECT_ROOT/scripts/wine-session.sh" stop "$BUILD_ROOT/x64"' EXIT
bash "$PROJECT_ROOT/scripts/wine-session.sh" start "$BUILD_ROOT/x64"
"$BUILD_ROOT/x64/wine-run" "$BUILD_ROOT/x64/bin/suite_demo.exe"
"$BUILD_ROOT/x64/wine-run" "$BUILD_ROOT/x64/bin/trashwipe_demo.exe"
bash "$PROJECT_ROOT/demo/sample_setup/run_sample_setup.sh" "$BUILD_ROOT/x64"
