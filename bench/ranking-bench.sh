#!/usr/bin/env bash
# The world ranking's server on loopback, on SQLite and on PostgreSQL side by
# side: distinct three-minute games verified and stored a second, and the
# 99th percentile of ranking reads at 1,000 a second, both driven by wrk.
# Prints "key value" lines for run-bench.sh.
#   bench/ranking-bench.sh BUILD [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-5}
server=$build/server/pellmora-ranking-server
sim=$build/tools/pellmora-sim/pellmora-sim
work=$(mktemp -d)
chmod 755 "$work"  # PostgreSQL runs as its own user in here
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -f "$work/pg/data/postmaster.pid" ]; then pg pg_ctl stop -D "$work/pg/data" -m immediate >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# More games than the server can take in the time, so that every one sent is
# new: a duplicate is verified but not stored.
mkdir "$work/games"
printf 'wait 1305\nclick Command1\nautopilot on\nwait 180000\nautopilot off\nwait 60000\n' \
  > "$work/three-minutes.scn"
seq 1 $((seconds * 1500)) | xargs -P "$(nproc)" -I{} \
  "$sim" --seed {} --record "$work/games/{}.pellmora-replay" "$work/three-minutes.scn" >/dev/null
ls "$work"/games/*.pellmora-replay > "$work/games.txt"

pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n1)
pg() {
  local tool=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$pgbin/$tool" "$@"; else "$pgbin/$tool" "$@"; fi
}
freePort() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

startServer() {
  local out=$work/server-$1.out
  shift
  "$server" --listen 127.0.0.1:0 --submissions-per-minute 0 "$@" > "$out" &
  pids+=($!)
  for _ in $(seq 100); do grep -q listening "$out" && break; sleep 0.1; done
  sed -n 's|.*listening on \(http://[0-9.:]*\)/.*|\1|p' "$out"
}

# wrk's latency percentiles in ms, whatever unit it chose.
toMs() { awk '{ v = $1 + 0; if ($1 ~ /us$/) v /= 1000; else if ($1 ~ /[0-9]s$/) v *= 1000; printf "%.2f", v }'; }

measure() {
  local tag=$1 url=$2 out
  out=$(wrk -t2 -c8 -d"${seconds}s" -s "$here/ranking-submit.lua" "$url/api/v1/games" "$work/games.txt" 2)
  awk -v k="ranking_${tag}_stored_per_second" -v s="$seconds" \
    '$1 == "created" { printf "%s %.1f\n", k, $2 / s } $1 == "refused" { print "ranking_'"$tag"'_refused", $2 }' <<<"$out"
  # The reads are measured once the database has settled from the writes
  # (PostgreSQL analyses and checkpoints after thousands of inserts) and
  # after a second of warming up (the server opens its connections).
  sleep 5
  wrk -t1 -c13 -d1s "$url/api/v1/ranking?limit=10" >/dev/null
  # About 1,000 reads a second: 13 connections, each pausing 10.4 ms between
  # its requests (asked for 1,250 a second: wrk's pause comes on top of the
  # answer and its own turn, which make up the difference).
  out=$(wrk -t1 -c13 -d"${seconds}s" --latency -s "$here/ranking-read.lua" \
    "$url/api/v1/ranking?limit=10" 1250 13)
  awk -v k="ranking_${tag}_reads_per_second" '$1 == "Requests/sec:" { print k, $2 }' <<<"$out"
  echo "ranking_${tag}_read_p99_ms $(awk '$1 == "99%" { print $2 }' <<<"$out" | toMs)"
}

measure sqlite "$(startServer sqlite --data "$work/sqlite")"

mkdir "$work/pg"
[ "$(id -u)" -eq 0 ] && chown postgres "$work/pg"
pg initdb -D "$work/pg/data" -A trust -U pellmora >/dev/null
port=$(freePort)
pg pg_ctl -D "$work/pg/data" -o "-p $port -k $work/pg -c listen_addresses=127.0.0.1" \
  -l "$work/pg/log" -w start >/dev/null
measure postgresql "$(startServer postgresql --database "postgresql://pellmora@127.0.0.1:$port/postgres")"
