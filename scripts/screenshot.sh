#!/usr/bin/env bash
# Builds the x64 tree and, in a Wine session of its own, writes the PNG pictures of the windows and
# pages into build/x64/screenshots (see write_screenshots.sh).
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$PROJECT_ROOT/scripts/build.sh" x64 >/dev/null
trap 'bash "$PROJECT_ROOT/scripts/wine-session.sh" stop "$BUILD_ROOT/x64"' EXIT
bash "$PROJECT_ROOT/scripts/wine-session.sh" start "$BUILD_ROOT/x64"
bash "$PROJECT_ROOT/scripts/write_screenshots.sh" "$BUILD_ROOT/x64"
