#!/usr/bin/env bash
# Builds the libraries and tests with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/, runs the tests there, then runs each fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build-asan"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKELV_SANITIZE=ON -DKELV_FUZZ=ON -DKELV_BUILD_BENCH=OFF -DKELV_WERROR=ON
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2)
seconds="${FUZZ_SECONDS:-30}"
shopt -s nullglob
while IFS= read -r f; do
  corpus="$root/tests/fuzz/corpus/$(basename "$f")"
  mkdir -p "$build/fuzz-work/$(basename "$f")"
  echo "== $(basename "$f") for ${seconds}s"
  args=("$build/fuzz-work/$(basename "$f")")
  [ -d "$corpus" ] && args+=("$corpus")
  "$f" -max_total_time="$seconds" -print_final_stats=1 "${args[@]}" 2>&1 | tail -n 4
done < <(find "$build/tests" -type f -name 'fuzz_*' -executable | sort)
