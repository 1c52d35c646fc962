#!/bin/sh
# SPDX-License-Identifier: MIT
# In a UTF-8 locale whose dates are not ASCII (ru_RU, built into a private LOCPATH),
# tessix --pdf heads the page with the date exactly as %c writes it at the time of the run.
# Usage: check_pdf_locale.sh TESSIX WORKDIR
set -eu
work=$2
rm -rf "$work" && mkdir -p "$work/locales"
# localedef may end with 1 over mere warnings; the locale is there or it is not.
localedef -i ru_RU -f UTF-8 "$work/locales/ru_RU.UTF-8" >/dev/null 2>&1 || true
command -v pdftotext >/dev/null && [ -e "$work/locales/ru_RU.UTF-8/LC_TIME" ] ||
    { echo "SKIP: pdftotext or the ru_RU locale sources are missing"; exit 77; }
export LOCPATH="$work/locales" LC_ALL=ru_RU.UTF-8 QT_QPA_PLATFORM=offscreen
start=$(date +%s)
env -u DISPLAY -u WAYLAND_DISPLAY timeout 300 "$1" --pdf "$work/x.pdf" 2>"$work/stderr"
header=$(pdftotext "$work/x.pdf" - | grep -m1 -v '^[[:space:]]*$')
for t in $(seq "$start" "$(date +%s)"); do
    case "$header" in
    *" -- $(date -d "@$t" +%c) -- Version D613") echo "PASS: $header" && exit 0 ;;
    esac
done
echo "FAIL: header '$header' does not end in the date as %c writes it ($(date +%c))"
exit 1
