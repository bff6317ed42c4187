#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. This is the README's test command.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="${BUILD_DIR:-$root/build}"
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
BUILD_DIR="$build" "$root/scripts/build.sh" -DKELV_WERROR=$werror
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2
