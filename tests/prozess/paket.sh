#!/usr/bin/env bash
# The Debian package for a computer room: built by cpack from the install
# rules, it holds the program folder below /usr, the launcher and the menu
# entry, and names what a plain library scan cannot find.
#   paket.sh <build folder>
set -euo pipefail
build=$1
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
ablage=$(mktemp -d)
trap 'rm -rf "$ablage"' EXIT
(cd "$build" && cpack -G DEB -B "$ablage" >"$ablage/cpack.log") || { cat "$ablage/cpack.log"; exit 1; }
paket=$(ls "$ablage"/*.deb)
inhalt=$(dpkg-deb -c "$paket")
fehler=0
for datei in ./usr/lib/kreidolin/kreidolin ./usr/lib/kreidolin/kreidolin-mdb ./usr/lib/kreidolin/kreidolin-fragen \
             ./usr/lib/kreidolin/Fragen.mdb "./usr/bin/kreidolin -> ../lib/kreidolin/kreidolin" \
             ./usr/share/applications/kreidolin.desktop; do
    grep -qF -- "$datei" <<<"$inhalt" || { echo "missing in the package: $datei"; fehler=1; }
done
if grep -q "$build\|/usr/local" <<<"$inhalt"; then echo "a build path in the package"; fehler=1; fi
abhaengig=$(dpkg-deb -f "$paket" Depends)
for p in libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins libqt6widgets6 libmdb3; do
    grep -q "$p" <<<"$abhaengig" || { echo "Depends lacks $p: $abhaengig"; fehler=1; }
done
exit $fehler
