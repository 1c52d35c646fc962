#!/bin/sh
# SPDX-License-Identifier: MIT
# The code's own rules, checked without running it: every C and C++ file formatted as
# .clang-format says, and clang-tidy's checks of .clang-tidy (function size, nesting,
# bug-prone patterns) clean over the product folders.
#
# Usage: tools/lint.sh [BUILD_DIR]   (default build; it must hold compile_commands.json)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/compile_commands.json" ] || { echo "lint: no $build/compile_commands.json; configure first" >&2; exit 2; }

echo "lint: formatting"
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror

echo "lint: clang-tidy"
jobs="$(nproc 2>/dev/null || echo 2)"
ls app/*.cpp game/*.cpp platform/*.cpp print/*.cpp problems/*.cpp scores/*.cpp |
    xargs -P "$jobs" -n 4 clang-tidy -p "$build" --quiet
echo "lint: clean"
