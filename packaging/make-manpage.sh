#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the manual page tessix(6) with help2man from the program's own --help and
# --version, packaging/tessix.h2m adding the sections the help does not have.
#
# Usage: make-manpage.sh TESSIX H2M DATE OUT
#   DATE  the page's date as "Month Year" (the changelog's, so a rebuild gives the same page)
#   OUT   the page to write (uncompressed)
#
# help2man ends DESCRIPTION with the help's second line, the one-line summary that NAME
# already gives; that paragraph is dropped.
set -eu
[ $# -eq 4 ] || { echo "usage: $0 TESSIX H2M DATE OUT" >&2; exit 2; }
tessix=$1 h2m=$2 date=$3 out=$4
export QT_QPA_PLATFORM=offscreen
summary=$("$tessix" --help | sed -n 2p)
help2man --no-info --section=6 --manual=Games --include="$h2m" --output="$out.raw" "$tessix"
awk -v summary="$summary" -v date="$date" '
    pending != "" {
        text = $0
        gsub(/\\/, "", text)
        if (text == summary) { pending = ""; next }
        print pending
        pending = ""
    }
    /^\.PP$/ { pending = $0; next }
    /^\.TH / { sub(/"6" "[^"]*"/, "\"6\" \"" date "\"") }
    { print }
    END { if (pending != "") print pending }
' "$out.raw" >"$out"
rm -f "$out.raw"
