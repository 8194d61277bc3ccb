#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as a package build does, and
# checks what the desktop reads there: the menu entry, the icon at every
# size, the software centre's description and the programs they name.
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr/local >/dev/null
root="$dest/usr/local"
id=com.tovarel.Rondelix

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for program in rondelix rondelix-app; do
  [ -x "$root/bin/$program" ] || fail "bin/$program is not installed as a program"
done
entry="$root/share/applications/$id.desktop"
metainfo="$root/share/metainfo/$id.metainfo.xml"
[ -f "$entry" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo file"
[ -f "$root/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256 512; do
  [ -s "$root/share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no ${size}x${size} icon"
done
[ -s "$root/share/rondelix/sounds/Glass.wav" ] || fail "no sounds"
[ -n "$(find "$root" -path '*/rondelix/librondelix-http.so')" ] || fail "no network module"
[ -n "$(find "$root" -path '*/rondelix/rondelix-svg-drawer' -perm -u+x)" ] || fail "no drawer for website drawings"
[ -x "$root/share/rondelix/shortcuts/Toggle Bluetooth" ] || fail "no ready-made automations"

desktop-file-validate "$entry" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "the metainfo file does not validate"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$root/bin/${exec_line%% *}" ] || fail "Exec= names ${exec_line%% *}, which is not installed"
[ "$(sed -n 's/^Icon=//p' "$entry")" = "$id" ] || fail "Icon= does not name the installed icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo names another entry"
version=$("$root/bin/rondelix" --version) || fail "the installed command does not run"
grep -q "<release version=\"${version#rondelix }\"" "$metainfo" || fail "metainfo lists no release $version"

[ "$failures" -eq 0 ] && echo "the install into DESTDIR holds every file the desktop reads"
exit "$failures"
