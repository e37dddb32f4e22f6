#!/usr/bin/env bash
# Installs the build into a temporary prefix, validates the desktop entry and the AppStream
# metadata, and starts the installed program as a new user would: offscreen, with an empty
# home folder and the installed files read-only. The first start must copy the delivered
# wedding file into the user's data folder; the second must use that same file.
# Usage: install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
app_id=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
home=$work/home
mkdir -p "$home"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/orvane share/orvane/wedding.mdb share/orvane/Orvane.HLP share/orvane/guests.rpt \
         share/orvane/lbl5160.rpt share/orvane/shw5663.rpt share/applications/$app_id.desktop \
         share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/$app_id.svg \
         share/man/man1/orvane.1.gz share/doc/orvane/copyright; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [ -f "$png" ] || fail "no ${size}px icon"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  [ $(((w0 << 24) + (w1 << 16) + (w2 << 8) + w3))x$(((h0 << 24) + (h1 << 16) + (h2 << 8) + h3)) = ${size}x$size ] ||
    fail "the ${size}px icon has another size"
done
find "$prefix" -path '*/orvane/orvane_audio.so' | grep -q . || fail "the audio module is not installed"
[ ! -e "$prefix/bin/wedding.mdb" ] || fail "a wedding file lies beside the installed program"

desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"

chmod -R a-w "$prefix"
start() {
  env -i PATH="$PATH" HOME="$home" QT_QPA_PLATFORM=offscreen ORVANE_QUIT_WHEN_SHOWN=1 \
    timeout 60 "$prefix/bin/orvane" || fail "the installed program did not start (exit $?)"
}

start
user_file=$home/.local/share/Orvane/wedding.mdb
[ -f "$user_file" ] || fail "no wedding file in the user's data folder"
[ -w "$user_file" ] || fail "the user's wedding file is not writable"
dump() { sqlite3 "$1" .dump; }
diff <(dump "$prefix/share/orvane/wedding.mdb") <(dump "$user_file") >/dev/null ||
  fail "the user's wedding file does not hold the delivered content"
[ "$(sqlite3 "$user_file" 'PRAGMA integrity_check')" = ok ] || fail "the copied file is damaged"

# The second start keeps using the user's file, with what the couple entered.
sqlite3 "$user_file" "UPDATE General SET bridesname = 'Anna', groomsname = 'Ben'"
start
[ "$(sqlite3 "$user_file" 'SELECT bridesname FROM General')" = Anna ] ||
  fail "the second start did not use the user's file"
# Besides the wedding file only its backups folder (the first start of a day backs it up).
left=$(find "$home/.local/share" -type f -not -path "$(dirname "$user_file")/backups/*" | sort)
[ "$left" = "$user_file" ] || fail "unexpected files in the user's data folders: $left"
echo "installed program started twice from $prefix; wedding file $user_file"
