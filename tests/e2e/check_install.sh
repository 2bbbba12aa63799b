#!/usr/bin/env bash
# Checks the desktop integration of an installed tree: a valid desktop entry whose Exec names
# the installed program, the icon in the hicolor theme sizes, valid AppStream metainfo.
set -euo pipefail
prefix=$1
id=example.corvalen.Taskwick
entry="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$entry" ] || fail "no desktop entry at $entry"
desktop-file-validate "$entry" || fail "desktop entry does not validate"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "\"$prefix/bin/taskwick\"" ] || fail "Exec is $exec_line, not the installed program"
grep -qx "Icon=$id" "$entry" || fail "Icon key does not name $id"

for size in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -s "$png" ] || fail "no ${size}x${size} icon"
  dims=$(identify -format '%wx%h' "$png")
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done
[ -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"

[ -f "$metainfo" ] || fail "no metainfo at $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "metainfo does not validate"
for f in taskwick Res.dll alarm.wav; do
  [ -f "$prefix/bin/$f" ] || fail "bin/$f is missing"
done
echo "desktop integration of $prefix is complete"
