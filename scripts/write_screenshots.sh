#!/usr/bin/env bash
# BUILD_DIR: with the build's Wine session running, writes PNG pictures of the update dialogs, of
# Trashwipe's three dialogs, of the test forms (every page control, the welcome page) and of the
# welcome page in the form designer into
# BUILD_DIR/screenshots and lists them.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=$(cd "${1:?usage: write_screenshots.sh BUILD_DIR}" && pwd)
out=$build/screenshots
mkdir -p "$out"
"$build/wine-run" "$build/bin/update_screenshots.exe" "Z:${out//\//\\}" >/dev/null
"$build/wine-run" "$build/bin/trashwipe_screenshots.exe" "Z:${out//\//\\}" >/dev/null
python3 "$PROJECT_ROOT/scripts/bmp_to_png.py" "$out"/*.bmp
"$build/wine-run" "$build/bin/form_screenshots.exe" "Z:${out//\//\\}" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\every_control.txt" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" >/dev/null
# The welcome page open in the form designer, its first control selected.
"$build/wine-run" "$build/bin/form_designer_demo.exe" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" --screenshot \
  "Z:${out//\//\\}\\form_designer.png" >/dev/null
ls "$out"/*.png
