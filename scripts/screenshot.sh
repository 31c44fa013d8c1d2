#!/usr/bin/env bash
# Builds the x64 tree and writes PNG pictures of the update dialogs, of Trashwipe's three dialogs
# and of the test forms (every page control, the welcome page, the shell folder controls over a
# folder tree of their own) into build/x64/screenshots.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$PROJECT_ROOT/scripts/build.sh" x64 >/dev/null
trap 'bash "$PROJECT_ROOT/scripts/wine-session.sh" stop "$BUILD_ROOT/x64"' EXIT
bash "$PROJECT_ROOT/scripts/wine-session.sh" start "$BUILD_ROOT/x64"
out=$BUILD_ROOT/x64/screenshots
mkdir -p "$out"
"$BUILD_ROOT/x64/wine-run" "$BUILD_ROOT/x64/bin/update_screenshots.exe" "Z:${out//\//\\}"
"$BUILD_ROOT/x64/wine-run" "$BUILD_ROOT/x64/bin/trashwipe_screenshots.exe" "Z:${out//\//\\}"
python3 "$PROJECT_ROOT/scripts/bmp_to_png.py" "$out"/*.bmp
"$BUILD_ROOT/x64/wine-run" "$BUILD_ROOT/x64/bin/form_screenshots.exe" "Z:${out//\//\\}" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\every_control.txt" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\shell_page.txt" >/dev/null
ls "$out"/*.png
