#!/usr/bin/env bash
# Starts kelv731x with the virtual mouse on the X server in DISPLAY, waits for its window,
# checks its size, and leaves a screenshot of every page in the output folder.
set -euo pipefail
bin="$1"
out="${2:-test-output}"
mkdir -p "$out"
title="KELV731x Gaming Mouse v1.0"
if [ -z "${DISPLAY:-}" ]; then echo "smoke: no DISPLAY (run under xvfb-run)"; exit 1; fi

log="$out/smoke.log"
KELV_TRACE=1 "$bin" --virtual-mouse >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

wid=""
for _ in $(seq 100); do
    wid="$(xdotool search --name "^${title}\$" 2>/dev/null | head -n1 || true)"
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo "smoke: no window titled '$title'"; cat "$log"; exit 1; }

geometry="$(xdotool getwindowgeometry "$wid")"
echo "$geometry"
echo "$geometry" | grep -q "Geometry: 800x600" || { echo "smoke: window is not 800x600"; exit 1; }
pos="$(echo "$geometry" | sed -n 's/.*Position: \([-0-9]*\),\([-0-9]*\).*/\1 \2/p')"
read -r wx wy <<<"$pos"

shot() { import -window root -crop "800x600+${wx}+${wy}" "$out/$1.png"; }
wait_for() {  # a line in the trace log, within a bounded time
    for _ in $(seq 150); do grep -q "$1" "$log" && return 0; sleep 0.1; done
    echo "smoke: no '$1' in the trace"; cat "$log"; return 1
}

wait_for "first-paint"
shot page0-start
wait_for "read-done"
sleep 0.3
shot page1-main

# Page buttons of the language 1 layout (image left/top + half the 127 x 36 picture).
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.4; }
i=2
for name in Adv:465:74 Breath:593:74 Macro:721:74 Main:78:74; do
    IFS=: read -r page x y <<<"$name"
    click "$x" "$y"
    shot "page${i}-${page}"
    i=$((i + 1))
done
# Hover on the Reset button lights it; the marquee scrolls its caption.
xdotool mousemove --window "$wid" 43 135
sleep 0.5
shot hover-reset

kill -USR1 "$pid"
wait_for "device-lost"
sleep 0.5
shot no-device
echo "smoke: ok, screenshots in $out"
