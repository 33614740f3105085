#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts a Firebird 3 server of its own on loopback (a free port, its own configuration,
# lock folder and security database in a temporary folder), puts the remedy database on it
# and runs the remedy store's client tests against it. The server is stopped whatever happens.
#   server-test.sh CLIENT-TEST-PROGRAM REMEDY-DATABASE
set -euo pipefail
client=$1 remedies=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
server=/usr/sbin/firebird
[[ -x $server ]] || fail "$server is not installed (package firebird3.0-server)"
command -v isql-fb >/dev/null || fail "isql-fb is not installed (package firebird3.0-utils)"
[[ -s $remedies ]] || fail "$remedies has not been built (target remedydb)"

# Debian's engine files: plugins, character sets, messages (/usr/lib/<triplet>/firebird/3.0).
engine=$(find /usr/lib -mindepth 3 -maxdepth 3 -type d -path '*/firebird/3.0' -print -quit)
[[ -n $engine && -d $engine/plugins ]] || fail "no Firebird 3 engine folder under /usr/lib"

work=$(mktemp -d /tmp/zc-server.XXXXXX)
pid=
stop_server() {
  [[ -n $pid ]] || return 0
  # TERM, then KILL when it has not ended within 5 s, as Debian's init script does (there
  # with 15 s): after its first connection the server often waits on TERM for longer.
  kill -TERM "$pid" 2>/dev/null || true
  local tenths
  for tenths in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the server did not end on TERM within 5 s: killed" >&2
    kill -KILL "$pid" 2>/dev/null || true
  else
    echo "the server ended on TERM after $tenths tenths of a second" >&2
  fi
  wait "$pid" 2>/dev/null || true
  pid=
}
trap 'stop_server; rm -rf "$work"' EXIT
trap 'exit 143' TERM INT HUP # a timeout or ^C still stops the server (through EXIT)

listening() { (echo >"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() { # a port nothing listens on, from the range Linux does not hand out itself
  local p
  while p=$((20000 + RANDOM % 12000)) && listening "$p"; do :; done
  echo "$p"
}
port=$(free_port)
unused=$(free_port)
while [[ $unused == "$port" ]]; do unused=$(free_port); done

conf=$work/firebird
mkdir -p "$conf/lock" "$work/data" "$work/run"
for f in firebird.msg plugins intl UDF lib; do
  [[ -e $engine/$f ]] && ln -s "$engine/$f" "$conf/$f"
done
cp "$engine/plugins.conf" "$conf/"
[[ -e /etc/firebird/3.0/fbintl.conf ]] && cp /etc/firebird/3.0/fbintl.conf "$conf/"
: >"$conf/databases.conf"
cat >"$conf/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
SecurityDatabase = $conf/security3.fdb
CONF
export FIREBIRD=$conf FIREBIRD_LOCK=$conf/lock FIREBIRD_TMP=$work

# The security database with the product's user, made with the embedded engine before the
# server runs.
isql-fb -q >"$work/security.log" 2>&1 <<SQL || fail "creating the security database: $(cat "$work/security.log")"
CREATE DATABASE '$conf/security3.fdb' USER SYSDBA;
CREATE USER SYSDBA PASSWORD 'quillmoss' USING PLUGIN Srp;
COMMIT;
SQL
cp "$remedies" "$work/data/ZColor.fdb"

"$server" >"$work/server.log" 2>&1 &
pid=$!
for _ in $(seq 1 40); do
  listening "$port" && break
  kill -0 "$pid" 2>/dev/null || fail "the server ended at start: $(cat "$work/server.log")"
  sleep 0.25
done
listening "$port" || fail "the server does not listen on port $port"

cat >"$work/run/ZColor.ini" <<INI
[Install]
ChekLNG=1
Server=localhost/$port:
DirData=$work/data
FileGdb=ZColor.fdb
INI

# Two client programs at once, each with two connections of its own.
export ZC_SERVER_RUN_DIR=$work/run ZC_SERVER_UNUSED_PORT=$unused
"$client" >"$work/client1.log" 2>&1 &
first=$!
status2=0
"$client" >"$work/client2.log" 2>&1 || status2=$?
status1=0
wait "$first" || status1=$?
cat "$work/client1.log"
((status1 == 0 && status2 == 0)) || {
  cat "$work/client2.log"
  fail "the client tests failed (status $status1 and $status2)"
}
kill -0 "$pid" 2>/dev/null || fail "the server ended during the tests: $(cat "$work/server.log")"
echo "server on 127.0.0.1:$port: remedy store tests pass in two programs at once"
