#!/bin/sh
# SPDX-License-Identifier: MIT
# tessix --pdf FILE writes the printed instructions without a display and exits with 0:
# one A4 or Letter page, headed by the banner without a page number, headings without
# their "[", ending with the last requirement line. A file that cannot be written ends
# the program with a non-zero status and a message naming the file. The PDF's Title is the
# job's name: "Tessix", or the name of the FILE given as the document.
# Usage: check_pdf.sh TESSIX WORKDIR
set -eu
tessix=$1
work=$2

for tool in pdftotext pdfinfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

rm -rf "$work"
mkdir -p "$work"
pdf=$work/instructions.pdf
fail() {
    echo "FAIL: $*"
    exit 1
}

env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 300 \
    "$tessix" --pdf "$pdf" >"$work/stdout" 2>"$work/stderr" ||
    fail "tessix --pdf exited with $?: $(cat "$work/stderr")"
[ -s "$pdf" ] || fail "no PDF written"

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
[ "$pages" = 1 ] || fail "expected 1 page, found $pages"

pdftotext -layout "$pdf" "$work/instructions.txt"
text=$work/instructions.txt
header=$(grep -m1 -v '^[[:space:]]*$' "$text")
echo "$header" | grep -Eq '^ *Tessix.* -- Version D613$' ||
    fail "header is not the banner alone: '$header'"
grep -Eq '^ *Introduction to Tessix *$' "$text" || fail "first heading missing"
grep -Eq '^ *Minimum System Requirements *$' "$text" || fail "last heading missing"
if grep -q '\[' "$text"; then
    fail "a heading kept its '['"
fi
title=$(pdfinfo "$pdf" | sed -n 's/^Title: *//p')
[ "$title" = Tessix ] || fail "the PDF's Title is '$title', expected 'Tessix'"
: >"$work/Game One.tsx"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 300 \
    "$tessix" --pdf "$work/named.pdf" "$work/Game One.tsx" >/dev/null 2>&1 ||
    fail "tessix --pdf with a FILE failed"
title=$(pdfinfo "$work/named.pdf" | sed -n 's/^Title: *//p')
[ "$title" = "Game One.tsx" ] || fail "the PDF's Title is '$title', expected FILE's name"

last=$(grep -v '^[[:space:]]*$' "$text" | tail -n 1)
echo "$last" | grep -Eq '^ *- +Mouse and Keyboard *$' || fail "last line is '$last'"

status=0
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 300 \
    "$tessix" --pdf "$work/missing/instructions.pdf" >/dev/null 2>"$work/stderr.bad" ||
    status=$?
[ "$status" -ne 0 ] || fail "an unwritable file was reported as printed"
[ "$status" -ne 124 ] || fail "tessix --pdf did not end"
grep -q "$work/missing/instructions.pdf" "$work/stderr.bad" ||
    fail "the message does not name the file: $(cat "$work/stderr.bad")"
[ ! -e "$work/missing/instructions.pdf" ] || fail "a file was written after all"

echo "PASS: $pdf"
