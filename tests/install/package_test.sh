#!/usr/bin/env bash
# Makes the Debian package from the build, lists its contents and dependencies, and checks it
# with lintian: every file the program needs is in it, its library dependencies were computed
# from the binaries, and lintian reports no errors (warnings are printed).
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/orvane_*_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no orvane_VERSION_ARCH.deb was made"
echo "package: $(basename "$deb")"

dpkg-deb --info "$deb"
contents=$(dpkg-deb --contents "$deb")
echo "$contents"
for f in ./usr/bin/orvane ./usr/share/orvane/wedding.mdb ./usr/share/orvane/Orvane.HLP \
         ./usr/share/orvane/guests.rpt ./usr/share/applications/example.orvane.Orvane.desktop \
         ./usr/share/metainfo/example.orvane.Orvane.metainfo.xml \
         ./usr/share/icons/hicolor/48x48/apps/example.orvane.Orvane.png \
         ./usr/share/doc/orvane/copyright ./usr/share/doc/orvane/changelog.gz; do
  grep -q " $f\$" <<<"$contents" || fail "missing from the package: $f"
done
grep -q '/orvane/orvane_audio.so$' <<<"$contents" || fail "the audio module is missing from the package"

depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6 libqt6multimedia6 libsqlite3-0 libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

if command -v lintian >/dev/null; then
  report=$(lintian --allow-root --no-tag-display-limit "$deb" 2>&1 || true)
  echo "$report"
  ! grep -q '^E:' <<<"$report" || fail "lintian reports errors"
else
  echo "lintian is not installed: the package was not checked"
fi
