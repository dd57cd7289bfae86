#!/usr/bin/env bash
# The Debian package for a computer room, tried as a school's admin uses it:
# built by cpack from the install rules, checked for content, dependencies,
# stripped binaries, size and lintian; installed with dpkg into a throwaway
# root, the admin's file written, a user with an older own settings file
# started (the admin's collection must win), a collection corrected through
# a spreadsheet with the installed tool, then removed and purged.
#   paket.sh <build folder>
set -euo pipefail
build=$1
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb is not installed"; exit 77; }
ablage=$(mktemp -d)
chmod 755 "$ablage" # the program runs as nobody from the root inside
trap 'rm -rf "$ablage"' EXIT
(cd "$build" && cpack -G DEB -B "$ablage" >"$ablage/cpack.log") || { cat "$ablage/cpack.log"; exit 1; }
paket=$(ls "$ablage"/*.deb)
inhalt=$(dpkg-deb -c "$paket")
fehler=0
scheitern() { echo "$*"; fehler=1; }
for datei in ./usr/lib/kreidolin/kreidolin ./usr/lib/kreidolin/kreidolin-mdb ./usr/lib/kreidolin/kreidolin-fragen \
             ./usr/lib/kreidolin/Fragen.mdb "./usr/bin/kreidolin -> ../lib/kreidolin/kreidolin" \
             "./usr/bin/kreidolin-fragen -> ../lib/kreidolin/kreidolin-fragen" ./usr/share/kreidolin/server.sql \
             ./usr/share/man/man1/kreidolin.1.gz ./usr/share/man/man1/kreidolin-fragen.1.gz \
             ./usr/share/doc/kreidolin/copyright ./etc/kreidolin/Kreidolin.ini ./usr/share/applications/kreidolin.desktop; do
    grep -qF -- "$datei" <<<"$inhalt" || scheitern "missing in the package: $datei"
done
if grep -q "$build\|/usr/local" <<<"$inhalt"; then scheitern "a build path in the package"; fi
abhaengig=$(dpkg-deb -f "$paket" Depends)
for p in libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins libqt6widgets6 libmdb3; do
    grep -q "$p" <<<"$abhaengig" || scheitern "Depends lacks $p: $abhaengig"
done
dpkg-deb --info "$paket" conffiles | grep -qx /etc/kreidolin/Kreidolin.ini || scheitern "the admin's file is no conffile"
groesse=$(dpkg-deb -f "$paket" Installed-Size)
echo "Installed-Size: $groesse KiB"
(( groesse < 15 * 1024 )) || scheitern "installed size $groesse KiB is not under 15 MB"
if command -v lintian >/dev/null; then
    lintian --no-tag-display-limit "$paket" >"$ablage/lintian.log" 2>&1 || true
    cat "$ablage/lintian.log"
    if grep -q '^E:' "$ablage/lintian.log"; then scheitern "lintian reports errors"; fi
fi

# Installed as on a PC of the room, into a root of its own; the maintainer
# scripts run outside a chroot and find the root in DPKG_ROOT.
wurzel=$ablage/wurzel
mkdir -p "$wurzel/var/lib/dpkg/info" "$wurzel/var/lib/dpkg/updates"
touch "$wurzel/var/lib/dpkg/status"
dpkg_w() { dpkg --root="$wurzel" --force-script-chrootless --force-depends --force-not-root "$@" >>"$ablage/dpkg.log" 2>&1; }
dpkg_w -i "$paket" || { cat "$ablage/dpkg.log"; exit 1; }
for datei in usr/lib/kreidolin/kreidolin usr/bin/kreidolin-fragen usr/share/kreidolin/server.sql; do
    [[ -e $wurzel/$datei ]] || scheitern "not installed: /$datei"
done
file -L "$wurzel/usr/lib/kreidolin/kreidolin" "$wurzel/usr/lib/kreidolin/kreidolin-fragen" \
    "$wurzel/usr/lib/kreidolin/kreidolin-mdb" | grep -v ', stripped' && scheitern "a binary is not stripped"
fragen=$wurzel/usr/bin/kreidolin-fragen
man -l "$wurzel/usr/share/man/man1/kreidolin-fragen.1.gz" 2>/dev/null | grep -q -- '--abgleichen' ||
    scheitern "the manual page of kreidolin-fragen does not show the matching import"

# A spreadsheet round trip with the installed tool: one answer corrected in
# the CSV is the one change; a refused row changes nothing and says so.
cp "$wurzel/usr/lib/kreidolin/Fragen.mdb" "$ablage/Schule.mdb"
"$fragen" export "$ablage/Schule.mdb" "$ablage/vorher.csv" >/dev/null
zeile=$(sed -n 2p "$ablage/vorher.csv")
antwort=$(cut -d';' -f3 <<<"$zeile")
awk -v n=2 -v alt="$antwort" 'BEGIN { FS = OFS = ";" } NR == n { $3 = alt " (berichtigt)" } { print }' \
    "$ablage/vorher.csv" >"$ablage/geaendert.csv"
ausgabe=$("$fragen" import --abgleichen "$ablage/geaendert.csv" "$ablage/Schule.mdb") || scheitern "matching import failed"
gesamt=$(( $(wc -l <"$ablage/vorher.csv") - 1 ))
[[ $ausgabe == "1 geändert, 0 neu, 0 entfernt, $(( gesamt - 1 )) unverändert" ]] ||
    scheitern "matching import said: $ausgabe"
"$fragen" export "$ablage/Schule.mdb" "$ablage/nachher.csv" >/dev/null
[[ $(diff "$ablage/geaendert.csv" "$ablage/nachher.csv" | wc -l) == 0 && \
   $(diff "$ablage/vorher.csv" "$ablage/nachher.csv" | grep -c '^[<>]') == 2 ]] || scheitern "the round trip changed more than one row"
awk 'BEGIN { FS = OFS = ";" } NR == 3 { $4 = $3 } { print }' "$ablage/vorher.csv" >"$ablage/falsch.csv"
cp "$ablage/Schule.mdb" "$ablage/Schule.vorher"
if "$fragen" import --abgleichen "$ablage/falsch.csv" "$ablage/Schule.mdb" >/dev/null 2>"$ablage/falsch.log"; then
    scheitern "a refused row ended with status 0"
fi
cmp -s "$ablage/Schule.mdb" "$ablage/Schule.vorher" || scheitern "a refused row changed the collection"

# The admin's collection reaches a user who chose another one before. Both
# name a server; a listener on each port tells whose the main window asked
# for the highscore list. The program reads the admin's file at its
# installed place, /etc/kreidolin: a private mount of a copy of /etc with the
# throwaway root's file in it. It runs as nobody on a virtual screen.
werkzeuge_da() { for p in python3 Xvfb openbox xdotool xprop setpriv; do command -v $p >/dev/null || return 1; done; }
if [[ $(id -u) == 0 ]] && unshare -m true 2>/dev/null && werkzeuge_da; then
    read -r port_admin port_eigen < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')
    heim=$ablage/heim
    mkdir -p "$heim/.local/share/kreidolin"
    printf 'postgresql://127.0.0.1:%s/kreidolin?user=eigen\r\n' "$port_eigen" >"$heim/.local/share/kreidolin/Kreidolin.ini"
    chown -R nobody "$heim"
    chmod 700 "$heim"
    exec 4>"$ablage/display"
    Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [[ -s $ablage/display ]] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$ablage/display")"
    openbox >/dev/null 2>&1 &
    wm=$!
    trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$ablage"' EXIT
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    starte() { # the port the program asks first, or "keiner"
        python3 - "$port_admin" "$port_eigen" <<'PY' &
import select, socket, sys
s = []
for p in sys.argv[1:]:
    x = socket.socket(); x.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    x.bind(("127.0.0.1", int(p))); x.listen(4); s.append(x)
r, _, _ = select.select(s, [], [], 60)
print(r[0].getsockname()[1] if r else "keiner", flush=True)
PY
        local lauscher=$!
        sleep 1
        unshare -m bash -c '
            set -e
            cp -a /etc "$1/etc-kopie"
            rm -rf "$1/etc-kopie/kreidolin"
            cp -a "$2/etc/kreidolin" "$1/etc-kopie/"
            mount --bind "$1/etc-kopie" /etc
            exec setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$3" XDG_RUNTIME_DIR="$3" \
                QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY" PATH=/usr/bin:/bin timeout 90 "$2/usr/bin/kreidolin"' \
            _ "$ablage" "$wurzel" "$heim" >>"$ablage/programm.log" 2>&1 &
        local programm=$!
        # The splash window waits for a click; then the main window reads the list.
        for _ in $(seq 150); do xdotool search --name '^Kreidolin$' >/dev/null 2>&1 && break; sleep 0.2; done
        sleep 2
        xdotool mousemove 640 420 click 1 >/dev/null 2>&1 || true
        wait "$lauscher"
        kill "$programm" 2>/dev/null || true
        wait "$programm" 2>/dev/null || true
        rm -rf "$ablage/etc-kopie"
    }
    # As shipped the admin's file names nothing: the user's own server.
    [[ $(starte) == "$port_eigen" ]] || scheitern "without the admin's choice the user's own line did not apply"
    printf '# Klasse 7a\n\npostgresql://127.0.0.1:%s/kreidolin?user=klasse7a\n' "$port_admin" \
        >>"$wurzel/etc/kreidolin/Kreidolin.ini"
    [[ $(starte) == "$port_admin" ]] || { cat "$ablage/programm.log"; scheitern "the admin's collection did not win"; }
    grep -q "user=eigen" "$heim/.local/share/kreidolin/Kreidolin.ini" || scheitern "the user's own file was changed"
else
    echo "note: not root, no private mounts or no virtual screen here; the admin's file was not tried with the program"
fi

# Removal keeps the admin's file and leaves no folder behind; purge takes it.
touch "$wurzel/usr/lib/kreidolin/Kreidolin.ini" "$wurzel/usr/lib/kreidolin/highscore.dtt"
dpkg_w -r kreidolin || { cat "$ablage/dpkg.log"; exit 1; }
grep -i "not empty" "$ablage/dpkg.log" && scheitern "removal left a folder that is not empty"
[[ -e $wurzel/usr/lib/kreidolin ]] && scheitern "removal left /usr/lib/kreidolin"
[[ -f $wurzel/etc/kreidolin/Kreidolin.ini ]] || scheitern "removal took the admin's file"
dpkg_w -P kreidolin || { cat "$ablage/dpkg.log"; exit 1; }
rest=$(cd "$wurzel" && find . -path ./var -prune -o -print | grep -v '^\.$' || true)
[[ -z $rest ]] || scheitern "purge left: $rest"
exit $fehler
