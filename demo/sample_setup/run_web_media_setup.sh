#!/usr/bin/env bash
# BUILD_DIR: builds the web-media sample setup from the x64 build's Deployrun (web_media_script.txt
# compiled and appended with the file table of web_media_files.txt, the archive library beside it,
# a resource archive holding the licence, and the wixl package of web_media_setup.wxs, whose files
# only the block brings), packs the documents as the web media block Docs.7zip, serves that on
# 127.0.0.1 (nginx when installed, else Python's HTTP server) and runs the setup silently under
# Wine: the first run downloads, extracts and places the block in the setup's cache folder and the
# package installs its files into the product's folder; the second finds the block complete, asks
# the server nothing and repairs; the Add/Remove Programs entry's command removes the product.
# Prints each run's exit code and report, the server's requests and the product's folder; stops
# the server at the end.
set -euo pipefail

build=$(cd "${1:?usage: run_web_media_setup.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/web-media-setup
rm -rf "$work"
mkdir -p "$work/served/media" "$work/parts/Docs"

winpath() { printf 'Z:%s' "${1//\//\\}"; }

seven_zip=$(command -v 7z || command -v 7zz || command -v 7za)
cp "$here/readme.txt" "$here/license.txt" "$work/parts/Docs/"
(cd "$work/parts" && "$seven_zip" a -t7z -bd -bso0 "$work/served/media/Docs.7zip" Docs)
(cd "$here" && "$seven_zip" a -t7z -bd -bso0 "$work/parts/web.res" license.txt)
(cd "$work/parts/Docs" && cp "$here/web_media_setup.wxs" . &&
  wixl -o ../docs.msi web_media_setup.wxs && rm web_media_setup.wxs)

"$build/wine-run" "$build/bin/make_sample_setup.exe" "$(winpath "$work/setup")" \
  "$(winpath "$build/bin/Deployrun.exe")" "$(winpath "$build/bin/qbr.lib")" \
  "$(winpath "$work/parts/web.res")" "$(winpath "$work/parts/docs.msi")" \
  "$(winpath "$here/web_media_script.txt")" \
  "$(msiinfo suminfo "$work/parts/docs.msi" | sed -n 's/^Revision number (UUID): *//p')" \
  mode=2 "product={8A6B2C1D-0000-4000-8000-000000000002}" "title=Vontar Wipestation Docs" \
  "files=$(winpath "$here/web_media_files.txt")" >/dev/null
echo "  setup made in $work/setup: $(ls "$work/setup" | tr '\n' ' ')"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vontar Wipestation Docs'
product_folder="$("$build/wine-run" cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Wipestation Docs"

# The web server, on a free port of 127.0.0.1, for the time of this script.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server_pid=
stop_server() { [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true; }
trap stop_server EXIT
if command -v nginx >/dev/null; then
  mkdir -p "$work/nginx"
  cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 16; }
http {
  access_log $work/requests.log;
  client_body_temp_path $work/nginx;
  server { listen 127.0.0.1:$port; root $work/served; }
}
CONF
  nginx -c "$work/nginx/nginx.conf" -p "$work/nginx" &
  server_pid=$!
  server_name=nginx
else
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/served" \
    2>"$work/requests.log" &
  server_pid=$!
  server_name="Python's HTTP server"
fi
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
url="http://127.0.0.1:$port/media/Docs.7zip"
echo "  $server_name serves $url"

runlog=$(winpath "$work/runs.txt")
cache="$(winpath "$work/cache")\\"
# TITLE PROGRAM [ARGUMENTS...]: one silent run with its trace in TITLE.log.
run_setup() {
  local title=$1
  shift
  : >"$work/runs.txt"
  set +e
  "$build/wine-run" "$@" /qn "RUNLOG=$runlog" "MEDIAURL=$url" "OVERRIDECACHE=$cache" \
    "/l=$(winpath "$work/$title.log")"
  local code=$?
  set -e
  echo "  $title: exit code $code; the script reported:"
  tr -d '\r' <"$work/runs.txt" | sed 's/^/    /'
  echo "  the server's requests so far:"
  sed 's/^/    /' "$work/requests.log"
  [ "$code" -eq 0 ]
}

installed() {
  "$build/wine-run" cmd /c dir /b "$product_folder" 2>/dev/null | tr -d '\r' | sort | tr '\n' ' '
}

run_setup first-run "$work/setup/setup.exe"
placed=$(find "$work/cache" -path '*Docs/*' -type f -printf '%P\n' | sort | tr '\n' ' ')
echo "  placed in the cache folder: $placed"
echo "  installed in $product_folder: $(installed)"
[ "$(installed)" = "license.txt readme.txt " ] || {
  echo "  the block's files are not in the product's folder" >&2
  exit 1
}
requests=$(wc -l <"$work/requests.log")
run_setup second-run "$work/setup/setup.exe"
[ "$(wc -l <"$work/requests.log")" -eq "$requests" ] || {
  echo "  the second run asked the server again" >&2
  exit 1
}
echo "  the second run found the block complete and asked the server nothing"

uninstall=$("$build/wine-run" reg query "$uninstall_key" /v UninstallString | tr -d '\r' |
  sed -n 's/.*REG_SZ *//p')
echo "  uninstall command: $uninstall"
program=$(printf '%s' "$uninstall" | sed -n 's/^"\([^"]*\)".*/\1/p')
arguments=$(printf '%s' "$uninstall" | sed 's/^"[^"]*" *//')
# shellcheck disable=SC2086
run_setup removal "$program" $arguments
[ -z "$(installed)" ] || {
  echo "  the product's files are still there: $(installed)" >&2
  exit 1
}
echo "  removed: the product's folder is empty"
