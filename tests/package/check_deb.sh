#!/usr/bin/env bash
# The Debian package, as `cmake --build build --target package` makes it: made here by
# CPack into a scratch folder, its file list and control fields checked, unpacked into
# a scratch root (dpkg -x) and validated there: desktop-file-validate on the desktop
# entry, appstreamcli on the metainfo file and on the whole tree (its launchable and
# icon must be there), and the unpacked program answers --version, and without any
# display says so on one line. Its manual page renders without a warning and names
# every option --help lists. lintian reports no error and no warning on the package,
# and nothing at any level from its manual page checks (and its gzip check).
# Usage: check_deb.sh path/to/build
set -euo pipefail
build=$(readlink -f "${1:?usage: $0 path/to/build}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "CPack could not make the package"; }
debs=("$scratch"/out/*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

# Every file it installs, and nothing else (folders aside).
expected="./usr/bin/orvella
./usr/share/applications/orvella.desktop
./usr/share/doc/orvella/changelog.Debian.gz
./usr/share/doc/orvella/copyright
./usr/share/doc/orvella/orvella-help.html
./usr/share/icons/hicolor/256x256/apps/orvella.png
./usr/share/icons/hicolor/48x48/apps/orvella.png
./usr/share/icons/hicolor/scalable/apps/orvella.svg
./usr/share/lintian/overrides/orvella
./usr/share/man/man1/orvella.1.gz
./usr/share/metainfo/example.velmora.orvella.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$actual" = "$expected" ] || fail "the package holds:
$actual
expected:
$expected"

# The libraries it links are its dependencies (found by dpkg-shlibdeps).
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6svg6 libxlsxwriter libzip; do
  [[ "$depends" == *"$library"* ]] || fail "Depends does not name $library: $depends"
done
[[ "$depends" == *"fonts-liberation2 | fonts-liberation"* ]] || fail "Depends does not name the fonts: $depends"
recommends=$(dpkg-deb -f "$deb" Recommends)
[ "$recommends" = "qt6-wayland" ] || fail "Recommends is \"$recommends\", not qt6-wayland"

root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
for size in 48 256; do
  drawn=$(identify -format '%wx%h' "$share/icons/hicolor/${size}x${size}/apps/orvella.png")
  [ "$drawn" = "${size}x${size}" ] || fail "the ${size} px icon is $drawn"
done

entry="$share/applications/orvella.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the desktop entry"
# A file manager offers "Open with Orvella" for text files and passes their paths.
grep -qx 'Exec=orvella %F' "$entry" || fail "the desktop entry does not start orvella with the files (%F)"
grep -qx 'MimeType=text/plain;' "$entry" || fail "the desktop entry does not declare text files"

appstreamcli validate --no-net "$share/metainfo/example.velmora.orvella.metainfo.xml" ||
  fail "appstreamcli refuses the metainfo file"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli refuses the installed tree"

version=$(env -u DISPLAY "$root/usr/bin/orvella" --version) || fail "the packaged program does not start"
package_version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "Orvella ${package_version%-*}" ] || fail "the packaged program says \"$version\""
# Without any display (nor a platform of Qt's chosen) the window's program says so and
# ends with 1, where Qt would abort.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/orvella" \
  >"$scratch/nodisplay.out" 2>"$scratch/nodisplay.err" || status=$?
[ "$status" -eq 1 ] || fail "without a display the program ends with $status, not 1"
[ "$(cat "$scratch/nodisplay.err")" = \
  'orvella: no display to show the window on (X11 or Wayland); `orvella --sort` works without one' ] &&
  [ ! -s "$scratch/nodisplay.out" ] || fail "without a display the program says:
$(cat "$scratch/nodisplay.out" "$scratch/nodisplay.err")"
# The manual page renders without a warning from man or groff, and every option the
# program's --help and --sort --help list is on it (rendered without hyphenation, so each stays whole).
page="$share/man/man1/orvella.1.gz"
MANWIDTH=80 man --warnings --nh -l "$page" >"$scratch/page.txt" 2>"$scratch/page.err" ||
  fail "man cannot render the manual page"
[ ! -s "$scratch/page.err" ] || fail "the manual page renders with warnings:
$(cat "$scratch/page.err")"
options=$({ env -u DISPLAY "$root/usr/bin/orvella" --help; env -u DISPLAY "$root/usr/bin/orvella" --sort --help; } |
  grep -E '^ +-' | grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u)
[ -n "$options" ] || fail "--help lists no option"
for option in $options; do
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" "$scratch/page.txt" ||
    fail "the manual page does not name $option, which --help lists"
done

# lintian on the whole package: no error and no warning (its informational and pedantic
# notes are shown, and allowed).
lintian --allow-root --display-info --pedantic --fail-on error,warning "$deb" >"$scratch/lintian.txt" 2>&1 ||
  fail "lintian reports:
$(cat "$scratch/lintian.txt")"
cat "$scratch/lintian.txt"
# Its manual page checks (no-manual-page, groff-message, typo-in-manual-page,
# poor-compression-in-manual-page, bad-whatis-entry ...) and the gzip one
# (package-contains-timestamped-gzip) report nothing at any level, down to pedantic
# and experimental.
lintian --allow-root --check-part documentation/manual,files/compressed/gz \
  --display-info --pedantic --display-experimental \
  --fail-on error,warning,info,pedantic,experimental "$deb" >"$scratch/lintian.txt" 2>&1 ||
  fail "lintian's manual page checks report:
$(cat "$scratch/lintian.txt")"
echo "PASS: the package installs the program, its manual page, desktop entry, icons, metainfo, copyright and changelog; both validators, man and lintian accept them"
