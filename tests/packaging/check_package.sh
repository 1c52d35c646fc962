#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the desktop integration files and the Debian package.
#
# Usage: check_package.sh BUILD_DIR
#   BUILD_DIR  a configured build directory in which the tessix target has
#              been built (cpack installs from it; it does not build).
#
# 1. validates the AppStream metainfo and the desktop entry of the source tree, and
#    checks what a software centre shows from the metainfo: the home page, the
#    branding colours, the controls and screen the game needs, the desktop entry's
#    keywords, and captioned screenshots whose images are in res/screenshots;
# 2. runs `cpack -G DEB` from BUILD_DIR into a scratch directory and checks
#    the package's control fields and that it holds every file that desktop
#    integration needs, with the right permissions;
# 3. validates the unpacked package as a whole (metainfo, desktop entry and
#    icons found where a software centre looks for them) and its manual page
#    (a section on reporting bugs; the help's summary only under NAME);
# 4. runs lintian on the package: any error or warning fails.
# Needs: appstreamcli (appstream), desktop-file-validate (desktop-file-utils),
# cpack (cmake), dpkg-deb and dpkg-shlibdeps (dpkg-dev), lintian, python3.
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
for tool in appstreamcli desktop-file-validate cpack dpkg-deb dpkg-shlibdeps lintian python3; do
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

# What a software centre shows beyond what appstreamcli insists on. One line per
# check, "ok: ..." or "FAIL: ..."; the FAIL lines are counted below.
python3 - "$metainfo" "$desktop" "$res/screenshots" >"$work/listing.log" 2>&1 <<'PY'
import os, re, struct, sys
import xml.etree.ElementTree as ET

metainfo, desktop, shots = sys.argv[1:4]
root = ET.parse(metainfo).getroot()

def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)

url = root.find("url[@type='homepage']")
check(url is not None and url.text.startswith("https://"), "metainfo names an https home page")
for scheme in ("light", "dark"):
    colour = root.find("branding/color[@type='primary'][@scheme_preference='%s']" % scheme)
    check(colour is not None and re.fullmatch(r"#[0-9a-f]{6}", colour.text or ""),
          "a primary branding colour for the %s scheme" % scheme)
controls = {c.text for c in root.findall("requires/control")}
check({"keyboard", "pointing"} <= controls, "requires keyboard and pointing, has %s" % sorted(controls))
lengths = {d.get("side", "shortest"): int(d.text) for d in root.findall("requires/display_length")}
check(lengths.get("shortest", 0) >= 540 and lengths.get("longest", 0) >= 780,
      "requires a display for a 780x540 client area, has %s" % lengths)
entry = open(desktop, encoding="utf-8").read()
wanted = set(re.search(r"^Keywords=(.*)$", entry, re.M).group(1).strip(";").split(";"))
keywords = {k.text for k in root.findall("keywords/keyword")}
check(wanted <= keywords, "metainfo keeps the desktop entry's keywords, lacks %s" % sorted(wanted - keywords))
screenshots = root.findall("screenshots/screenshot")
check(len(screenshots) >= 1, "%d screenshots" % len(screenshots))
check(len([s for s in screenshots if s.get("type") == "default"]) == 1, "one default screenshot")
for shot in screenshots:
    image, caption = shot.find("image"), shot.find("caption")
    name = os.path.basename(image.text) if image is not None else "?"
    check(caption is not None and len(caption.text or "") > 10, "%s has a caption" % name)
    path = os.path.join(shots, name)
    size = "missing"
    if os.path.isfile(path):
        with open(path, "rb") as f:
            head = f.read(24)
        size = "%dx%d" % struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG"
    check(image is not None and size == "%sx%s" % (image.get("width"), image.get("height")),
          "res/screenshots/%s is a PNG of the size the metainfo gives (%s)" % (name, size))
PY
cat "$work/listing.log"
failures=$((failures + $(grep -c -v '^ok: ' "$work/listing.log")))

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
Recommends#(^|, )qt6-wayland(,|$)#the Wayland platform Qt loads at run time
Recommends#(^|, )rtkit(,|$)#RealtimeKit, which raises the thread that feeds the sound
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
  # The manual page: a section on reporting bugs, and the help's one-line summary
  # only where NAME gives it, not again at the end of DESCRIPTION.
  summary=$(QT_QPA_PLATFORM=offscreen "$build/tessix" --help 2>/dev/null | sed -n 2p)
  page=$(gzip -dc "$root/usr/share/man/man6/tessix.6.gz" 2>/dev/null)
  if printf '%s\n' "$page" | grep -q '^\.SH "REPORTING BUGS"$'; then
    pass "tessix(6) has a section on reporting bugs"
  else
    fail "tessix(6) has no REPORTING BUGS section"
  fi
  if [ -n "$summary" ] && ! printf '%s\n' "$page" | sed 's/\\//g' | grep -q -x -F -- "$summary"; then
    pass "tessix(6) does not repeat the help's summary in its description"
  else
    fail "tessix(6) repeats '$summary' (or the help has no summary)"
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
