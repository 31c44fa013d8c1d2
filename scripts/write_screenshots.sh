#!/usr/bin/env bash
# BUILD_DIR: with the build's Wine session running, writes PNG pictures of the update dialogs, of
# Trashwipe's three dialogs, of an HTML page with a table and a form (alone and in an HTML
# pane), of the test forms (every page control, the welcome page, the skinned controls and the
# shaped form, the shell folder controls over a folder tree of their own, a progress page as it
# is redrawn), of the welcome page in the form designer with the object inspector, of the menu
# editor, of the custom tray icon's balloon, of the sample setup's wizard pages (the welcome page
# shows its HTML document), of its progress page while a web media block downloads, of the media
# retry questions and of the language form into BUILD_DIR/screenshots and lists them.
set -euo pipefail
source "$(dirname "$0")/common.sh"

build=$(cd "${1:?usage: write_screenshots.sh BUILD_DIR}" && pwd)
out=$build/screenshots
mkdir -p "$out"
"$build/wine-run" "$build/bin/update_screenshots.exe" "Z:${out//\//\\}" >/dev/null
"$build/wine-run" "$build/bin/trashwipe_screenshots.exe" "Z:${out//\//\\}" >/dev/null
"$build/wine-run" "$build/bin/html_screenshots.exe" "Z:${out//\//\\}" >/dev/null
python3 "$PROJECT_ROOT/scripts/bmp_to_png.py" "$out"/*.bmp
"$build/wine-run" "$build/bin/form_screenshots.exe" "Z:${out//\//\\}" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\every_control.txt" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\skinned_controls.txt" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\skinned_shape.txt" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\ui\\tests\\data\\shell_page.txt" >/dev/null
"$build/wine-run" "$build/bin/progress_screenshots.exe" "Z:${out//\//\\}" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\wizard\\progress\\tests\\data\\progress_page.txt" >/dev/null
sample="Z:${PROJECT_ROOT//\//\\}\\demo\\sample_setup"
"$build/wine-run" "$build/bin/wizard_screenshots.exe" "Z:${out//\//\\}" \
  "$sample\\pages" "$sample\\license.txt" Welcome Licence Folder Components Progress Finish \
  >/dev/null
"$build/wine-run" "$build/bin/progress_screenshots.exe" "Z:${out//\//\\}" \
  "$sample\\pages\\Progress.txt" --download >/dev/null
# The welcome page open in the form designer, its first control selected.
"$build/wine-run" "$build/bin/form_designer_demo.exe" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" --screenshot \
  "Z:${out//\//\\}\\form_designer.png" >/dev/null
# An HTML pane with a form in its document.
"$build/wine-run" "$build/bin/html_pane_screenshots.exe" "Z:${out//\//\\}" \
  "Z:${PROJECT_ROOT//\//\\}\\demo\\html_pane_form.htm" >/dev/null
# The custom tray icon's own balloon.
"$build/wine-run" "$build/bin/balloon_screenshots.exe" "Z:${out//\//\\}" >/dev/null
# The object inspector beside it, showing that control.
"$build/wine-run" "$build/bin/form_designer_demo.exe" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" --inspector \
  "Z:${out//\//\\}\\object_inspector.png" >/dev/null
# The menu editor over a small menu, its second item chosen.
"$build/wine-run" "$build/bin/form_designer_demo.exe" \
  "Z:${PROJECT_ROOT//\//\\}\\setup\\forms\\tests\\data\\welcome_page.dfm" --menu-editor \
  "Z:${out//\//\\}\\menu_editor.png" >/dev/null
ls "$out"/*.png
