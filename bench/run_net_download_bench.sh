#!/usr/bin/env bash
# Downloads one file from a local nginx (started here with its own configuration on a free port of
# 127.0.0.1, stopped at the end) through the HTTP client under Wine and through curl natively, and
# prints the ratio of the two rates (the client's goal: at least 0.8). The two take turns for a few
# rounds and the best rate of each counts, so that a busy moment of a shared machine does not
# decide the figure.
# Usage: run_net_download_bench.sh <x64 build dir> [MiB] [rounds]
set -euo pipefail
build=$(cd "$1" && pwd)
size=${2:-256}
rounds=${3:-3}
command -v nginx >/dev/null && command -v curl >/dev/null || {
  echo "run_net_download_bench: needs nginx and curl (scripts/bootstrap.sh installs nginx-light)" >&2
  exit 1
}
work=$(mktemp -d)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cleanup() {
  [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/temp"
dd if=/dev/urandom of="$work/www/file.bin" bs=1M count="$size" status=none
chmod -R a+rX "$work"  # nginx's workers run as another user when started by root
cat > "$work/nginx.conf" <<CONF
daemon on;
pid $work/nginx.pid;
error_log $work/error.log;
worker_processes 1;
events { worker_connections 16; }
http {
  access_log off;
  client_body_temp_path $work/temp;
  proxy_temp_path $work/temp;
  fastcgi_temp_path $work/temp;
  uwsgi_temp_path $work/temp;
  scgi_temp_path $work/temp;
  sendfile on;
  server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
nginx -c "$work/nginx.conf" -p "$work"
url=http://127.0.0.1:$port/file.bin
best_client=0 best_curl=0
for round in $(seq "$rounds"); do
  client=$(timeout 900 "$build/wine-run" "$build/bin/net_download_bench.exe" "$url")
  echo "$client"
  client_rate=$(echo "$client" | sed -n 's/.*, \([0-9.]*\) MiB\/s/\1/p')
  curl_rate=$(curl -s -o /dev/null -w '%{speed_download}' "$url" |
              awk '{ printf "%.1f", $1 / 1048576 }')
  echo "curl (native): $curl_rate MiB/s"
  best_client=$(awk -v a="$best_client" -v b="$client_rate" 'BEGIN { print (b > a ? b : a) }')
  best_curl=$(awk -v a="$best_curl" -v b="$curl_rate" 'BEGIN { print (b > a ? b : a) }')
done
echo "best of $rounds: HTTP client $best_client MiB/s, curl $best_curl MiB/s"
awk -v a="$best_client" -v c="$best_curl" 'BEGIN { printf "ratio: %.2f\n", a / c }'
