#!/usr/bin/env bash
# BUILD_DIR: builds the web-media sample setup from the x64 build's Deployrun (web_media_script.txt
# compiled and appended, the archive library beside it, and a resource archive holding only the
# licence, which also stands in for the package the start-up wants but this script never
# installs), packs its documents as the web media
# block Docs.7zip, serves that on 127.0.0.1 (nginx when installed, else Python's HTTP server) and
# runs the setup silently under Wine twice: the first run downloads, extracts and places the
# block in the setup's cache folder, the second finds it complete and asks the server nothing.
# Prints each run's exit code and report and the server's requests; stops the server at the end.
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

"$build/wine-run" "$build/bin/make_sample_setup.exe" "$(winpath "$work/setup")" \
  "$(winpath "$build/bin/Deployrun.exe")" "$(winpath "$build/bin/qbr.lib")" \
  "$(winpath "$work/parts/web.res")" "$(winpath "$work/parts/web.res")" \
  "$(winpath "$here/web_media_script.txt")" "{8A6B2C1D-0000-4000-8000-0000000000CB}" 2 >/dev/null
echo "  setup made in $work/setup: $(ls "$work/setup" | tr '\n' ' ')"

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
run_setup() {
  local title=$1
  : >"$work/runs.txt"
  set +e
  "$build/wine-run" "$work/setup/setup.exe" /qn "RUNLOG=$runlog" "MEDIAURL=$url" \
    "OVERRIDECACHE=$cache" "/l=$(winpath "$work/$title.log")"
  local code=$?
  set -e
  echo "  $title: exit code $code; the script reported:"
  tr -d '\r' <"$work/runs.txt" | sed 's/^/    /'
  echo "  the server's requests so far:"
  sed 's/^/    /' "$work/requests.log"
  [ "$code" -eq 0 ]
}

run_setup first-run
placed=$(find "$work/cache" -path '*Docs/*' -type f -printf '%P\n' | sort | tr '\n' ' ')
echo "  placed in the cache folder: $placed"
[ -n "$(find "$work/cache" -path '*Docs/readme.txt')" ]
requests=$(wc -l <"$work/requests.log")
run_setup second-run
[ "$(wc -l <"$work/requests.log")" -eq "$requests" ] || {
  echo "  the second run asked the server again" >&2
  exit 1
}
echo "  the second run found the block complete and asked the server nothing"
