#!/usr/bin/env bash
# Installs what is missing, builds the three builds and runs every test: natively under sanitizers,
# the export tables of the x86 build, and the x64 tests under Wine. Extra arguments go to CTest.
set -euo pipefail
source "$(dirname "$0")/common.sh"

SECONDS=0
bash "$PROJECT_ROOT/scripts/bootstrap.sh"
echo "bootstrap: ${SECONDS}s"
SECONDS=0
bash "$PROJECT_ROOT/scripts/build.sh" x64 x86 native
echo "build: ${SECONDS}s"

SECONDS=0
trap 'bash "$PROJECT_ROOT/scripts/wine-session.sh" stop "$BUILD_ROOT/x64"' EXIT
bash "$PROJECT_ROOT/scripts/wine-session.sh" start "$BUILD_ROOT/x64"
echo "wine session: ${SECONDS}s"

# The x64 run comes last so that its summary line closes the output.
status=0
for build in native x86 x64; do
  echo "== tests $build"
  (cd "$BUILD_ROOT/$build" && ctest --output-on-failure -j "$(nproc)" "$@") || status=1
done
exit $status
