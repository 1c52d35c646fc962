#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the desktop integration files and the Debian package.
#
# Usage: check_package.sh BUILD_DIR
#   BUILD_DIR  a configured build directory in which the tessix target has
#              been built (cpack installs from it; it does not build).
#
# 1. validates the AppStream metainfo and the desktop entry of the source tree;
# 2. runs `cpack -G DEB` from BUILD_DIR into a scratch directory and checks
#    the package's control fields and that it holds every file that desktop
#    integration needs, with the right permissions;
# 3. validates the unpacked package as a whole (metainfo, desktop entry and
#    icons found where a software centre looks for them);
# 4. runs lintian on the package: any error or warning fails.
# Needs: appstreamcli (appstream), desktop-file-validate (desktop-file-utils),
# cpack (cmake), dpkg-deb and dpkg-shlibdeps (dpkg-dev), lintian.
# Exits 0 when everything holds, 1 on any failure (each one is reported),
# 2 on bad usage or a missing tool.

set -u

app_id=io.github.tessix.Tessix

usage() {
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
}
[ $# -eq 1 ] || usage
[ -f "$1/CMakeCache.txt" ] || {
  echo "check_package: $1 is not a configured CMake build directory" >&2
  exit 2
}
build=$(CDPATH='' cd -- "$1" && pwd)
src=$(CDPATH='' cd -- "$(dirname -- "$0")/../.." && pwd)
res="$src/res"

missing=""
for tool in appstreamcli desktop-file-validate cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
  echo "check_package: missing tools:$missing" >&2
  echo "  (install appstream, desktop-file-utils, cmake, dpkg-dev and lintian)" >&2
  exit 2
fi

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() {
  echo "ok: $*"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# --- 1. the source files -----------------------------------------------------

metainfo="$res/$app_id.metainfo.xml"
desktop="$res/$app_id.desktop"

if appstreamcli validate --no-net "$metainfo" >"$work/as.log" 2>&1; then
  pass "appstreamcli validate $app_id.metainfo.xml"
else
  cat "$work/as.log" >&2
  fail "appstreamcli validate rejects $metainfo"
fi

# desktop-file-validate exits 0 on warnings: treat them as failures too.
desktop-file-validate "$desktop" >"$work/dfv.log" 2>&1
dfv=$?
if [ $dfv -eq 0 ] && ! grep -q -E '(error|warning):' "$work/dfv.log"; then
  pass "desktop-file-validate $app_id.desktop"
  cat "$work/dfv.log"
else
  cat "$work/dfv.log" >&2
  fail "desktop-file-validate rejects $desktop"
fi

# --- 2. the package ----------------------------------------------------------

out="$work/out"
if (cd "$build" && cpack -G DEB -B "$out") >"$work/cpack.log" 2>&1; then
  pass "cpack -G DEB"
else
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB failed in $build (is the tessix target built?)"
  echo "check_package: $failures failure(s)" >&2
  exit 1
fi

set -- "$out"/*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  ls -l "$out" >&2
  fail "expected exactly one .deb in $out"
  echo "check_package: $failures failure(s)" >&2
  exit 1
fi
deb=$1
echo "package: $(basename "$deb")"

# Control fields, one per row: name # pattern (grep -E) # what it shows.
while IFS='#' read -r field pattern why; do
  [ -n "$field" ] || continue
  value=$(dpkg-deb -f "$deb" "$field" 2>/dev/null | head -n 1)
  if printf '%s\n' "$value" | grep -q -E -- "$pattern"; then
    pass "$field: $value"
  else
    fail "control field $field is '$value', expected /$pattern/ ($why)"
  fi
done <<'EOF'
Package#^tessix$#package name
Version#^1\.0\.0\.1$#the project's version
Section#^games$#Debian section
Architecture#^[a-z0-9-]+$#a concrete architecture
Maintainer#^.+ <[^@>]+@[^>]+\.[a-z]+>$#a maintainer with an address of a real mail domain
Homepage#^https://#the project's home page
Description#^.{10,80}$#a one-line synopsis
Depends#(^|, )libqt6core6#dependency on Qt 6 computed by dpkg-shlibdeps
Depends#(^|, )libqt6widgets6#dependency on Qt 6 Widgets computed by dpkg-shlibdeps
Depends#(^|, )libsdl2-2\.0-0#dependency on SDL2 computed by dpkg-shlibdeps
Depends#(^|, )fonts-liberation(,|$)#the Liberation faces the program maps its fonts to
Depends#(^|, )fonts-liberation2(,|$)#the Liberation 2 faces the program maps its fonts to
EOF

if ! dpkg-deb -c "$deb" >"$work/contents" 2>"$work/contents.err"; then
  cat "$work/contents.err" >&2
  fail "dpkg-deb -c cannot list $deb"
fi

# Files the package must hold: path inside the package, expected mode.
icons=usr/share/icons/hicolor
while read -r path mode; do
  [ -n "$path" ] || continue
  line=$(awk -v p="./$path" '$NF == p' "$work/contents")
  if [ -z "$line" ]; then
    fail "package lacks /$path"
  elif [ "${line%% *}" != "$mode" ]; then
    fail "/$path has mode ${line%% *}, expected $mode"
  else
    pass "/$path"
  fi
done <<EOF
usr/games/tessix -rwxr-xr-x
usr/share/man/man6/tessix.6.gz -rw-r--r--
usr/share/doc/tessix/changelog.gz -rw-r--r--
usr/share/applications/$app_id.desktop -rw-r--r--
usr/share/metainfo/$app_id.metainfo.xml -rw-r--r--
usr/share/doc/tessix/copyright -rw-r--r--
$icons/16x16/apps/$app_id.png -rw-r--r--
$icons/22x22/apps/$app_id.png -rw-r--r--
$icons/24x24/apps/$app_id.png -rw-r--r--
$icons/32x32/apps/$app_id.png -rw-r--r--
$icons/48x48/apps/$app_id.png -rw-r--r--
$icons/64x64/apps/$app_id.png -rw-r--r--
$icons/128x128/apps/$app_id.png -rw-r--r--
$icons/256x256/apps/$app_id.png -rw-r--r--
$icons/scalable/apps/$app_id.svg -rw-r--r--
EOF

# Nothing may land outside /usr (e.g. an absolute install path that escaped
# the packaging prefix).
stray=$(awk '{ print $NF }' "$work/contents" | grep -v -E '^\./(usr/.*)?$')
if [ -n "$stray" ]; then
  fail "package holds files outside /usr: $stray"
else
  pass "everything is under /usr"
fi

# --- 3. the unpacked package -------------------------------------------------

root="$work/root"
if dpkg-deb -x "$deb" "$root"; then
  # Each packaged icon must be a PNG of the size its directory names.
  for png in "$root/$icons"/*x*/apps/"$app_id.png"; do
    [ -f "$png" ] || continue
    dir=${png#"$root/$icons/"}
    size=${dir%%/*}
    # PNG: 8-byte signature, IHDR length and type, then width and height.
    dims=$(od -A n -t u1 -j 16 -N 8 "$png" |
      awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    if [ "$dims" = "$size" ]; then
      pass "icon $size is $dims"
    else
      fail "icon in $size/ is $dims"
    fi
  done
  # The packaged files are the ones in the source tree.
  for pair in "$desktop|usr/share/applications/$app_id.desktop" \
    "$metainfo|usr/share/metainfo/$app_id.metainfo.xml"; do
    if cmp -s "${pair%%|*}" "$root/${pair#*|}"; then
      pass "/${pair#*|} matches the source"
    else
      fail "/${pair#*|} differs from ${pair%%|*}"
    fi
  done
  # What the packaged desktop entry names must be in the package: the program
  # it runs (first word of Exec=, looked up in /usr/games, which is on the
  # PATH of a Debian session) and its theme icon.
  entry="$root/usr/share/applications/$app_id.desktop"
  if [ -f "$entry" ]; then
    exec_key=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
    program=${exec_key%% *}
    if [ -n "$program" ] && [ -x "$root/usr/games/$program" ]; then
      pass "Exec=$program is /usr/games/$program"
    else
      fail "Exec=$exec_key names no executable in /usr/games of the package"
    fi
    icon=$(sed -n 's/^Icon=//p' "$entry" | head -n 1)
    found=$(find "$root/$icons" -path "*/apps/$icon.png" -o -path "*/apps/$icon.svg" 2>/dev/null | head -n 1)
    if [ -n "$icon" ] && [ -n "$found" ]; then
      pass "Icon=$icon is in the hicolor theme"
    else
      fail "Icon=$icon is not among the package's hicolor icons"
    fi
  fi
  # A software centre's view: the metainfo's launchable desktop entry is
  # found in the installed tree.
  if appstreamcli validate-tree --no-net "$root" >"$work/tree.log" 2>&1; then
    pass "appstreamcli validate-tree on the unpacked package"
  else
    cat "$work/tree.log" >&2
    fail "appstreamcli validate-tree rejects the unpacked package"
  fi
else
  fail "dpkg-deb -x cannot unpack $deb"
fi

# --- 4. lintian ---------------------------------------------------------------

# Informational and pedantic tags are shown but pass; E: and W: tags fail.
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
lintian_status=$?
grep -v 'running with root privileges' "$work/lintian.log"
if [ $lintian_status -eq 0 ] && ! grep -q -E '^[EW]: ' "$work/lintian.log"; then
  pass "lintian: no error and no warning"
else
  fail "lintian reports errors or warnings (status $lintian_status)"
fi

if [ $failures -ne 0 ]; then
  echo "check_package: $failures failure(s)" >&2
  exit 1
fi
echo "check_package: all checks passed"
