#!/bin/sh
# Starts Debian's nginx on 127.0.0.1 with a configuration, prefix, temporary
# folders and logs of its own (no daemon, one process), serving the given
# root, runs the command with LUMORA_TEST_HTTP_PORT, LUMORA_TEST_HTTP_ROOT and
# LUMORA_TEST_NGINX_LOG (its access log) set, then stops it.
# usage: run_with_nginx.sh <work folder> <command> [args...]
set -u
work=$1
shift
nginx=$(command -v nginx || echo /usr/sbin/nginx)
[ -x "$nginx" ] || { echo "nginx is missing (Debian package nginx-light)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/root" "$work/prefix/tmp" "$work/prefix/logs"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

started=""
for attempt in 1 2 3 4 5; do
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  cat >"$work/prefix/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
error_log $work/prefix/logs/error.log;
pid $work/prefix/nginx.pid;
events { worker_connections 64; }
http {
  log_format ranges escape=none '\$uri|\$http_range|\$http_if_range|\$status|\$body_bytes_sent';
  access_log $work/prefix/logs/access.log ranges;
  client_body_temp_path $work/prefix/tmp/body;
  proxy_temp_path $work/prefix/tmp/proxy;
  fastcgi_temp_path $work/prefix/tmp/fastcgi;
  uwsgi_temp_path $work/prefix/tmp/uwsgi;
  scgi_temp_path $work/prefix/tmp/scgi;
  default_type application/octet-stream;
  sendfile on;
  server {
    listen 127.0.0.1:$port;
    root $work/root;
    location /slow/ { alias $work/root/; sendfile off; limit_rate 1m; }
  }
}
CONF
  "$nginx" -c "$work/prefix/nginx.conf" -p "$work/prefix" >"$work/prefix/logs/stdout.log" 2>&1 &
  server=$!
  i=0
  while [ $i -lt 100 ]; do
    if ! kill -0 "$server" 2>/dev/null; then break; fi
    if curl -s --noproxy '*' -o /dev/null --max-time 2 "http://127.0.0.1:$port/"; then started=1; break; fi
    sleep 0.1
    i=$((i + 1))
  done
  [ -n "$started" ] && break
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
done
if [ -z "$started" ]; then
  echo "nginx did not start" >&2
  cat "$work/prefix/logs/error.log" "$work/prefix/logs/stdout.log" >&2 2>/dev/null
  exit 1
fi
trap 'kill "$server" 2>/dev/null' INT TERM
LUMORA_TEST_HTTP_PORT=$port
LUMORA_TEST_HTTP_ROOT=$(windows "$work/root")
LUMORA_TEST_NGINX_LOG=$(windows "$work/prefix/logs/access.log")
export LUMORA_TEST_HTTP_PORT LUMORA_TEST_HTTP_ROOT LUMORA_TEST_NGINX_LOG
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
