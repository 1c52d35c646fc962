#!/bin/bash
# SPDX-License-Identifier: MIT
# Plays scripted whole games under valgrind's memcheck and fails on any definite leak or
# memory error that tools/valgrind.supp does not name.
#
#   tools/leak-check.sh [--real] [BUILD_DIR]
#
# Always: the headless whole-game tests of BUILD_DIR/tests/tessix_tests (games of twenty
# answers each, on Qt's offscreen platform), about ten seconds under valgrind.
# With --real, also the real program through the end-to-end whole game under Xvfb and
# openbox (tests/game/whole_game.sh; several minutes under valgrind), with the regular
# expressions of Qt interpreted rather than compiled to machine code, which valgrind
# cannot follow.
# BUILD_DIR defaults to build; the logs go to BUILD_DIR/leak-check/. Exits 0 when clean,
# 1 on a leak, an error or a failed game, 77 when it cannot run (no valgrind, or a build
# with the sanitizers, which valgrind cannot run).
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
real=0
if [ "${1:-}" = --real ]; then
    real=1
    shift
fi
build=${1:-$root/build}
build=$(cd "$build" 2>/dev/null && pwd) || { echo "leak-check: no build folder ${1:-build}" >&2; exit 1; }
tests="$build/tests/tessix_tests"
program="$build/tessix"
logs="$build/leak-check"
supp="$root/tools/valgrind.supp"

command -v valgrind >/dev/null || { echo "leak-check: skipped: valgrind is not installed"; exit 77; }
[ -x "$tests" ] || { echo "leak-check: no test program at $tests" >&2; exit 1; }
if ldd "$tests" | grep -q 'libasan'; then
    echo "leak-check: skipped: $build is built with the sanitizers, which valgrind cannot run"
    exit 77
fi
rm -rf "$logs"
mkdir -p "$logs"

memcheck=(valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite
    --errors-for-leak-kinds=definite --child-silent-after-fork=yes --num-callers=40
    --suppressions="$supp")

# clean NAME: every log of the run NAME reports no error (a definite leak counts as one).
clean() {
    local name=$1 log errors lost ok=0 found=0
    for log in "$logs/$name"-*.log; do
        [ -e "$log" ] || continue
        found=1
        errors=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$log" | tail -n 1 | tr -d ,)
        lost=$(sed -n 's/.*definitely lost: \([0-9,]*\) bytes.*/\1/p' "$log" | tail -n 1 | tr -d ,)
        if [ -z "$errors" ]; then
            echo "leak-check: $name: no summary in $log (did the program end?)" >&2
            ok=1
        elif [ "$errors" != 0 ] || [ "${lost:-0}" != 0 ]; then
            echo "leak-check: $name: $errors error(s), ${lost:-0} bytes definitely lost; see $log" >&2
            grep -E -A24 '(definitely lost in loss record|Invalid|uninitialised|Mismatched|overlap)' "$log" |
                head -n 120 >&2
            ok=1
        else
            echo "leak-check: $name: no error and no definite leak ($(basename "$log"))"
        fi
    done
    ((found)) || { echo "leak-check: $name: no valgrind log" >&2; ok=1; }
    return "$ok"
}

status=0

echo "leak-check: headless whole games under valgrind"
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "${memcheck[@]}" \
    --log-file="$logs/headless-%p.log" "$tests" --gtest_filter='*WholeGame*' \
    >"$logs/headless.out" 2>&1
run=$?
if [ "$run" -ne 0 ] || ! grep -q '^\[  PASSED  \] [1-9]' "$logs/headless.out"; then
    echo "leak-check: the headless whole games failed (status $run); see $logs/headless.out" >&2
    tail -n 30 "$logs/headless.out" >&2
    status=1
fi
clean headless || status=1

if [ "$real" = 1 ]; then
    echo "leak-check: the real program's whole game under valgrind (several minutes)"
    [ -x "$program" ] || { echo "leak-check: no program at $program" >&2; exit 1; }
    # Everything is many times slower under valgrind: generous deadlines.
    E2E_SCREEN_DEADLINE_S=300 E2E_START_DEADLINE_S=300 \
        TESSIX_GAME_WRAPPER="env QT_ENABLE_REGEXP_JIT=0 ${memcheck[*]} --log-file=$logs/real-%p.log" \
        bash "$root/tests/game/whole_game.sh" "$program" 90 "$logs/real-screens" \
        >"$logs/real.out" 2>&1
    run=$?
    if [ "$run" -ne 0 ]; then
        echo "leak-check: the real program's whole game failed (status $run); see $logs/real.out" >&2
        tail -n 30 "$logs/real.out" >&2
        status=1
    fi
    clean real || status=1
fi

if [ "$status" -eq 0 ]; then
    echo "leak-check: PASS"
fi
exit "$status"
