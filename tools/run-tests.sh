#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds Tessix with its tests and benchmarks and runs the whole test suite through CTest.
# With TESSIX_SANITIZE=ON in the environment it builds in build-asan with AddressSanitizer
# (leaks included) and UndefinedBehaviorSanitizer instead; TESSIX_WERROR=ON makes every
# compiler warning an error; TESSIX_BUILD_DIR names another build folder.
set -eu
cd "$(dirname "$0")/.."
sanitize="${TESSIX_SANITIZE:-OFF}"
if [ "$sanitize" = "ON" ]; then dir=build-asan; type=Debug; else dir=build; type=RelWithDebInfo; fi
dir="${TESSIX_BUILD_DIR:-$dir}"
jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DTESSIX_SANITIZE="$sanitize" \
    -DTESSIX_WERROR="${TESSIX_WERROR:-OFF}"
cmake --build "$dir" -j "$jobs"
# The sanitizer build also reports leaks; what the system's libraries keep for the life of
# the process (fonts, the display connection, audio) is suppressed by name.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0}"
ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 900
