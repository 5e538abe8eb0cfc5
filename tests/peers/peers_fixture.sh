#!/bin/sh
# Starts or stops the loopback network peers around the Windows test suite.
# usage: peers_fixture.sh start|stop <dir>
set -u
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:-}
dir=${2:-}
if [ -z "$dir" ] || { [ "$cmd" != start ] && [ "$cmd" != stop ]; }; then
    echo "usage: $0 start|stop <dir>" >&2
    exit 2
fi
pidfile="$dir/peers.pid"

stop_peers() {
    [ -f "$pidfile" ] || return 0
    pid=$(cat "$pidfile" 2>/dev/null)
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 30 ]; do
            sleep 0.1
            i=$((i + 1))
        done
        kill -KILL "$pid" 2>/dev/null
    fi
    rm -f "$pidfile"
    return 0
}

if [ "$cmd" = stop ]; then
    stop_peers
    exit 0
fi

mkdir -p "$dir" || exit 1
# A leftover instance would hold stale ports; replace it.
stop_peers
rm -f "$dir/ports.txt" "$dir/ports.txt.tmp" "$dir/proxy.log" "$dir/peers.log"
python=$(command -v python3) || { echo "python3 not found on PATH" >&2; exit 1; }
# A non-interactive sh's background child is no group leader, so setsid
# execs in place and $! is the python pid.
if command -v setsid >/dev/null 2>&1; then detach=setsid; else detach=nohup; fi
$detach "$python" "$here/net_peers.py" --ports-file "$dir/ports.txt" \
    --log-file "$dir/proxy.log" >"$dir/peers.log" 2>&1 </dev/null &
echo $! >"$pidfile"

i=0
while [ ! -f "$dir/ports.txt" ]; do
    if [ $i -ge 200 ] || ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
        echo "network peers did not start; log follows:" >&2
        cat "$dir/peers.log" >&2
        stop_peers
        exit 1
    fi
    sleep 0.1
    i=$((i + 1))
done
exit 0
