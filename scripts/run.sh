#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program. With no mouse attached (or no access
# to it) it runs on the virtual mouse, keeping its state in ~/.local/state/kelv731x/virtual-mouse.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh" >/dev/null
build="${BUILD_DIR:-$root/build}"
args=("$@")
if ! "$build/cli/kelvctl" info >/dev/null 2>&1; then
  state="${XDG_STATE_HOME:-$HOME/.local/state}/kelv731x"
  mkdir -p "$state"
  echo "No accessible KELV731x mouse found: using the virtual mouse ($state/virtual-mouse)."
  args=("--virtual-mouse=$state/virtual-mouse" "${args[@]}")
fi
if [ -x "$build/app/kelv731x" ]; then
  exec "$build/app/kelv731x" "${args[@]}"
fi
exec "$build/cli/kelvctl" "${args[@]}" info
