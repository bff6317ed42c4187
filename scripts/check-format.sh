#!/usr/bin/env bash
# Fails when a C++ source differs from what clang-format (configured in .clang-format) makes of it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mapfile -t files < <(find app bench cli config device keys macros resources settings tests tools \
    -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files formatted"
