#!/usr/bin/env bash
# BUILD_DIR WORK_DIR: builds the sample setup into WORK_DIR/setup from the x64 build's Deployrun:
# its compiled script appended, a resource archive made with 7-Zip holding its wizard pages
# (compiled from text forms with formconv) and the package's files, and a wixl package beside it.
# WORK_DIR is emptied first.
set -euo pipefail

build=$(cd "${1:?usage: build_sample_setup.sh BUILD_DIR WORK_DIR}" && pwd)
work=${2:?usage: build_sample_setup.sh BUILD_DIR WORK_DIR}
here=$(cd "$(dirname "$0")" && pwd)
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
