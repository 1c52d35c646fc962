#!/bin/bash
# SPDX-License-Identifier: MIT
# tessix --print-to and --print against a private cupsd (a unix socket, a queue Q that
# prints to /dev/null), one row a case: the queue's state, the program's status, its
# message, and the new job's title, the document's name. Usage: check_cups.sh TESSIX WORKDIR
set -u
tessix=$1
work=$2
PATH=$PATH:/usr/sbin
for t in cupsd lpadmin ipptool; do command -v $t >/dev/null || { echo "SKIP: no $t"; exit 77; }; done
rm -rf "$work" && mkdir -p "$work"/{spool,tmp,state,cache,log}
export CUPS_SERVER=$work/cups.sock
printf '%s\n' "Listen $CUPS_SERVER" 'Browsing No' 'DefaultAuthType None' '<Policy default>' \
    'JobPrivateValues none' '<Limit All>' 'Order allow,deny' 'Allow all' '</Limit>' '</Policy>' \
    >"$work/cupsd.conf"
printf '%s\n' "ServerRoot $work" "RequestRoot $work/spool" "TempDir $work/tmp" \
    "StateDir $work/state" "CacheDir $work/cache" "ErrorLog $work/log/error_log" \
    'FileDevice Yes' 'Sandboxing Relaxed' >"$work/cups-files.conf"
cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
trap 'kill "$cupsd_pid"; wait "$cupsd_pid"' EXIT
# cupsd is ready when it answers; a busy machine may take a minute.
for _ in $(seq 600); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
done
lpadmin -p Q -E -v file:///dev/null 2>>"$work/log/cupsd.out" ||
    { echo "FAIL: no private CUPS: $(cat "$work/log/cupsd.out")"; exit 1; }
: >"$work/game.tsx"

# The names of Q's jobs, one a line.
printf '%s\n' '{' 'OPERATION Get-Jobs' 'GROUP operation-attributes-tag' \
    'ATTR charset attributes-charset utf-8' 'ATTR naturalLanguage attributes-natural-language en' \
    'ATTR uri printer-uri $uri' 'ATTR keyword which-jobs all' \
    'ATTR keyword requested-attributes job-name' 'DISPLAY job-name' '}' >"$work/jobs.test"
jobs_of_q() {
    ipptool -t "ipp://$(printf %s "$CUPS_SERVER" | sed 's|/|%2F|g')/printers/Q" "$work/jobs.test" |
        sed -n 's/.*job-name ([a-zA-Z]*) = //p'
}

# The queue stays paused while jobs are expected, so that none is processed and forgotten.
# case | queue state | arguments | status | on standard error | new job's title ('-': none)
cases=(
    "paused queue takes the job named after FILE|cupsaccept Q; cupsdisable Q|--print-to Q FILE|0||game.tsx"
    "default printer|cupsaccept Q; cupsdisable Q; lpadmin -d Q|--print|0||Tessix"
    "queue rejecting jobs|cupsreject Q; cupsenable Q|--print-to Q|1|\"Q\" is not accepting jobs|-"
    "queue rejecting and paused|cupsreject Q; cupsdisable Q|--print-to Q|1|\"Q\" is not accepting jobs|-"
    "default printer rejecting|cupsreject Q; lpadmin -d Q|--print|1|\"Q\" is not accepting jobs|-"
    "user not allowed on the queue|cupsaccept Q; lpadmin -p Q -u deny:$(id -un)|--print-to Q|1|\"Q\" did not take the job|-"
)
failed=0
for row in "${cases[@]}"; do
    IFS='|' read -r name setup args want_status want_err want_title <<<"$row"
    lpadmin -p Q -u allow:all
    sh -c "$setup" >/dev/null 2>&1
    before=$(jobs_of_q | grep -c .)
    # shellcheck disable=SC2086 # the arguments are words; the work folder has no blanks
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 300 \
        "$tessix" ${args//FILE/$work/game.tsx} >"$work/out" 2>"$work/err"
    status=$?
    after=$(jobs_of_q)
    new_title=$( (($(grep -c . <<<"$after") > before)) && tail -n 1 <<<"$after")
    problems=""
    [ "$status" = "$want_status" ] || problems+=" status $status, not $want_status;"
    if [ -n "$want_err" ] && ! grep -F "tessix: " "$work/err" | grep -qF "$want_err"; then
        problems+=" no 'tessix: ...$want_err' on standard error;"
    fi
    [ "${new_title:--}" = "$want_title" ] || problems+=" new job '${new_title:--}', not '$want_title';"
    [ -z "$problems" ] && echo "ok: $name" ||
        { echo "FAIL: $name:$problems $(tr '\n' '|' <"$work/err")"; failed=1; }
done
exit $failed
