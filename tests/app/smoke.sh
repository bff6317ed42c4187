#!/usr/bin/env bash
# Starts kelv731x with the virtual mouse on the X server in DISPLAY, waits for its window,
# checks its size, and leaves a screenshot of every page in the output folder.
set -euo pipefail
bin="$1"
out="${2:-test-output}"
kelvctl="${3:-}"
mkdir -p "$out"
rm -f "$out"/*.png
title="KELV731x Gaming Mouse v1.0"
# Without an X server the test is skipped (exit 77), except in CI where it must run.
if [ -z "${DISPLAY:-}" ]; then
    echo "smoke: no DISPLAY (run ctest under xvfb-run, as scripts/test.sh does)"
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
fi

# A virtual mouse whose profiles hold the keys that open the Switch and Fixed pages (the
# profile switch key in profile 1, the profile reset key in profile 2, both on button 12).
state="$out/smoke-mouse.vm"
rm -f "$state" "$out/smoke-profile.bin"
pages="Adv:465:74 Breath:593:74 Macro:721:74 Main:78:74"
if [ -n "$kelvctl" ]; then
    "$kelvctl" --virtual-mouse="$state" save "$out/smoke-profile.bin" >/dev/null
    printf '\x07\x00\x00\x00' | dd of="$out/smoke-profile.bin" bs=1 seek=148 conv=notrunc 2>/dev/null
    printf '\x07\x01\x00\x00' | dd of="$out/smoke-profile.bin" bs=1 seek=196 conv=notrunc 2>/dev/null
    "$kelvctl" --virtual-mouse="$state" load "$out/smoke-profile.bin" >/dev/null
    pages="Switch:207:74 Fixed:336:74 $pages"
fi

log="$out/smoke.log"
KELV_TRACE=1 "$bin" --virtual-mouse="$state" >"$log" 2>&1 &
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

shot() { import -window root -crop "800x600+${wx}+${wy}" +repage "$out/$1.png"; }
# A spot of the background where no control lies: hovering nothing, dragging from there.
away() { xdotool mousemove --window "$wid" 400 30; sleep 0.3; }
wait_for() {  # a line in the trace log, within a bounded time
    for _ in $(seq 150); do grep -q "$1" "$log" && return 0; sleep 0.1; done
    echo "smoke: no '$1' in the trace"; cat "$log"; return 1
}

wait_for "first-paint"
shot page0-start
wait_for "read-done"
sleep 0.3
away
shot page1-main

# Page buttons of the language 1 layout (image left/top + half the 127 x 36 picture).
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.4; }
i=2
for name in $pages; do
    IFS=: read -r page x y <<<"$name"
    click "$x" "$y"
    away
    shot "page${i}-${page}"
    i=$((i + 1))
done
# Hover on the Reset button lights it; the marquee scrolls its caption.
xdotool mousemove --window "$wid" 43 135
sleep 0.5
shot hover-reset

# A second start only brings the first window forward.
"$bin" --virtual-mouse >/dev/null 2>&1 || { echo "smoke: second start failed"; exit 1; }
count="$(xdotool search --name "^${title}\$" | wc -l)"
[ "$count" = 1 ] || { echo "smoke: $count windows after a second start"; exit 1; }

# Dragging the background moves the window (by hand where no window manager does it).
# Real (XTEST) input: a button sent to a window would not be held for the motion.
xdotool mousemove $((wx + 400)) $((wy + 30))
sleep 0.2
xdotool mousedown 3
sleep 0.1
xdotool mousemove $((wx + 420)) $((wy + 40))
sleep 0.1
xdotool mousemove $((wx + 440)) $((wy + 70))
sleep 0.2
xdotool mouseup 3
sleep 0.3
moved="$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Position: \([-0-9]*\),\([-0-9]*\).*/\1 \2/p')"
[ "$moved" != "$pos" ] || { echo "smoke: the window did not move when dragged"; exit 1; }
read -r wx wy <<<"$moved"

kill -USR1 "$pid"
wait_for "device-lost"
sleep 0.5
shot no-device
# Ended by a signal, the program ends as when its window closes: the virtual mouse keeps its memory.
before="$(stat -c %.9Y "$state" 2>/dev/null || echo none)"
kill "$pid"; wait "$pid" 2>/dev/null || true
after="$(stat -c %.9Y "$state" 2>/dev/null || echo none)"
[ "$after" != none ] && [ "$after" != "$before" ] || { echo "smoke: virtual mouse not saved on SIGTERM"; exit 1; }

# The English language, started from the command line.
log="$out/smoke-lang3.log"
KELV_TRACE=1 "$bin" --virtual-mouse --language 3 >"$log" 2>&1 &
pid=$!
wait_for "read-done"
wid="$(xdotool search --name "^${title}\$" | head -n1)"
pos="$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Position: \([-0-9]*\),\([-0-9]*\).*/\1 \2/p')"
read -r wx wy <<<"$pos"
away
shot lang3-main
echo "smoke: ok, screenshots in $out"
