#!/usr/bin/env bash
# Measures kelv731x under Xvfb: start-up to the first painted frame (median of runs), resident
# memory after start-up, processor use while idle with the virtual mouse attached, and the
# hover picture swap. Usage: bench/app/bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
bin="$build/app/kelv731x"
hover="$build/bench/app/app_hover_bench"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
runs="${RUNS:-7}"
idle="${IDLE_SECONDS:-20}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

wait_line() {  # file, text, tenths of a second
    for _ in $(seq "$3"); do grep -q "$2" "$1" && return 0; sleep 0.1; done
    return 1
}

startups=()
for i in $(seq "$runs"); do
    t0=$(date +%s%3N)
    : >"$tmp/run$i"
    KELV_TRACE=1 "$bin" >"$tmp/run$i" 2>/dev/null &
    pid=$!
    wait_line "$tmp/run$i" first-paint 100 || { echo "no first paint"; kill $pid; exit 1; }
    t1=$(awk '/first-paint/ {print $2; exit}' "$tmp/run$i")
    startups+=($((t1 - t0)))
    kill $pid; wait $pid 2>/dev/null || true
done
median=$(printf '%s\n' "${startups[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "start-up to first paint: median ${median} ms (runs: ${startups[*]} ms; goal < 150)"

: >"$tmp/idle"
KELV_TRACE=1 "$bin" --virtual-mouse >"$tmp/idle" 2>/dev/null &
pid=$!
wait_line "$tmp/idle" read-done 150 || { echo "virtual mouse not read"; kill $pid; exit 1; }
sleep 1
rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
echo "resident memory after start-up: $((rss / 1024)) MiB (${rss} kB; goal < 60 MiB)"
ticks() { awk '{print $14 + $15}' /proc/$pid/stat; }
hz=$(getconf CLK_TCK)
c0=$(ticks); s0=$(date +%s%N)
sleep "$idle"
c1=$(ticks); s1=$(date +%s%N)
awk -v c="$((c1 - c0))" -v hz="$hz" -v ns="$((s1 - s0))" \
    'BEGIN {printf "idle processor use: %.2f %% of one core over %.0f s (goal < 0.5 %%)\n", 100 * c / hz / (ns / 1e9), ns / 1e9}'
kill $pid; wait $pid 2>/dev/null || true

if [ -x "$hover" ]; then "$hover"; else echo "hover: build app_hover_bench first"; fi
