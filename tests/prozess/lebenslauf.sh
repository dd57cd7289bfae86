#!/usr/bin/env bash
# The real program from its start to its own end, driven as a pupil and a
# teacher drive it: keys and clicks on a virtual screen with a window manager.
# Each flow runs the program in a fresh application folder and fails on an
# exit status other than 0, on any sanitizer report, or on a wrong highscore.
# usage: lebenslauf.sh BUILD_DIR LEGACY_MDB
set -uo pipefail
bau=$1
access=$2
for p in Xvfb xdotool openbox xprop; do
    command -v "$p" >/dev/null || { echo "SKIP: $p is not installed"; exit 77; }
done

# The program is to show real windows on the virtual screen.
export QT_QPA_PLATFORM=xcb
arbeit=$(mktemp -d)
exec 3>"$arbeit/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$arbeit/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$arbeit/display")"
openbox >/dev/null 2>&1 &
wm=$!
# Windows that appear before the window manager runs are never managed.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
cluster=""
trap 'pkill -f "$arbeit/" 2>/dev/null; kill $wm $xvfb 2>/dev/null; rm -rf "$arbeit"
      [ -n "$cluster" ] && { bash "$pgcluster" stop "$cluster" 2>/dev/null; rm -rf "$cluster"; }' EXIT
export XDG_RUNTIME_DIR=$arbeit
# The per-user choices (projector view, reading aloud) stay in the work folder.
export XDG_CONFIG_HOME=$arbeit/config

fehler=0
melde() { echo "FAIL [$flow]: $*"; fehler=1; }

# Waits for a window whose title matches and prints its id.
fenster() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
weg() { for _ in $(seq 50); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }
taste() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
# Answers the game's message box once it is there.
quittiere() {
    fenster '^Kreidolin.Message$' >/dev/null || { melde "no message box"; return; }
    taste Return
    weg '^Kreidolin.Message$' || melde "the message box stayed"
}
klick() { # window, x and y as parts of the window's size in per mille
    local w=$1 g
    [ -n "$w" ] || return 0
    g=$(xdotool getwindowgeometry --shell "$w")
    local WIDTH HEIGHT
    eval "$(echo "$g" | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$w" $((WIDTH * $2 / 1000)) $((HEIGHT * $3 / 1000)) click 1
    sleep 0.3
}

# A fresh application folder holding the program, its reader and a collection.
beginne() {
    flow=$1
    ordner="$arbeit/$flow"
    mkdir -p "$ordner"
    cp "$bau/kreidolin" "$bau/kreidolin-mdb" "$ordner/"
    cp "${2:-$bau/Fragen.mdb}" "$ordner/Fragen.mdb"
}
starte() {
    ( cd "$ordner" && ./kreidolin >/dev/null 2>"$ordner/stderr"; echo $? >"$ordner/status" ) &
    fenster '^Kreidolin$' >/dev/null || melde "no splash window"
}
zumHauptfenster() {
    taste space
    haupt=$(fenster '^Kreidolin$') || melde "no main window"
    klick "$haupt" 500 140
}
spielFuer() {
    xdotool type --delay 20 "$1"
    taste Return
    spiel=$(fenster '^Spieler: ') || melde "no game window"
}
ende() {
    for _ in $(seq 200); do [ -s "$ordner/status" ] && break; sleep 0.1; done
    local status
    status=$(cat "$ordner/status" 2>/dev/null || echo "still running")
    [ "$status" = 0 ] || melde "exit status $status"
    if grep -qE 'Sanitizer|runtime error' "$ordner/stderr"; then
        melde "sanitizer report"; cat "$ordner/stderr"
    fi
    pkill -f "$ordner/kreidolin" 2>/dev/null
}
# Answers by the key 1 and Enter until the game window is gone.
spieleZuEnde() {
    for _ in $(seq 16); do
        xdotool search --onlyvisible --name '^Spieler: ' >/dev/null 2>&1 || break
        taste 1
        taste Return && quittiere
    done
    weg '^Spieler: ' || melde "the game did not end"
}
highscore() { [ "$(od -An -c "$ordner/highscore.dtt" 2>/dev/null | tr -s ' ')" = "$(printf '%s' "$1" | od -An -c | tr -s ' ')" ] || melde "highscore.dtt is $(od -An -c "$ordner/highscore.dtt" 2>/dev/null)"; }

# Giving up at the first question books 0 points; the main window's button ends the program.
beginne aufgeben
starte
zumHauptfenster
spielFuer Anna
taste alt+a && quittiere
fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
highscore $'Anna | 0\r\n'
taste alt+e
ende

# A name that looks like markup or holds Qt's title placeholder is shown and
# booked as typed; Alt with a letter leaves the splash window open.
beginne markup
starte
taste alt+k
xprop -id "$(fenster '^Kreidolin$')" _NET_WM_WINDOW_TYPE | grep -q SPLASH || melde "Alt+K closed the splash"
zumHauptfenster
spielFuer '<b>Tom</b> [*]'
[ "$(xdotool getwindowname "$spiel")" = 'Spieler: <b>Tom</b> [*]  |||  Momentaner Stand: 1. Klasse' ] \
    || melde "game title is $(xdotool getwindowname "$spiel")"
taste alt+a && taste Return
fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
highscore $'<b>Tom</b> [*] | 0\r\n'
taste alt+e
ende

# A whole game: an answer chosen and confirmed, question by question, until
# the game ends (a wrong answer or the Abitur); the window frame ends the program.
beginne spiel
starte
zumHauptfenster
spielFuer Ben
for runde in $(seq 16); do
    xdotool search --onlyvisible --name '^Spieler: ' >/dev/null 2>&1 || break
    klick "$spiel" $((170 + (runde % 3) * 330)) 370
    taste alt+b && quittiere
done
weg '^Spieler: ' || melde "the game did not end"
grep -qE '^Ben \| ([0-9]|1[05])'$'\r''$' "$ordner/highscore.dtt" || melde "no highscore line for Ben"
taste alt+F4
ende

# A whole game by keys alone in the projector view: F11 fills the screen, 1
# chooses, Enter confirms and answers each message. The next game starts full
# screen again; F11 gives the window its own size back.
groesse() { xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' '; }
beginne tasten
starte
zumHauptfenster
spielFuer Finn
taste F11
[ "$(groesse "$spiel")" = "WIDTH=1280 HEIGHT=1024 " ] || melde "projector view is $(groesse "$spiel")"
spieleZuEnde
grep -qE '^Finn \| ([0-9]|1[05])'$'\r''$' "$ordner/highscore.dtt" || melde "no highscore line for Finn"
fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
spielFuer Finn
[ "$(groesse "$spiel")" = "WIDTH=1280 HEIGHT=1024 " ] || melde "the next game is $(groesse "$spiel")"
taste F11
[ "$(groesse "$spiel")" != "WIDTH=1280 HEIGHT=1024 " ] || melde "F11 did not leave the projector view"
taste alt+e
fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
taste alt+e
ende

# A game with the class's vote switched on (K) on a free port of the
# loopback: with no device joined the poll joker is the computed one; the
# game is played to its end by keys and the program ends with its server.
beginne klasse
export XDG_CONFIG_HOME=$arbeit/config-klasse
mkdir -p "$XDG_CONFIG_HOME/Kreidolin"
printf '[Klasse]\nAdresse=127.0.0.1\nPort=0\n' >"$XDG_CONFIG_HOME/Kreidolin/klassenzimmer.ini"
starte
zumHauptfenster
spielFuer Lena
taste k
taste alt+l && quittiere
spieleZuEnde
grep -qE '^Lena \| ([0-9]|1[05])'$'\r''$' "$ordner/highscore.dtt" || melde "no highscore line for Lena"
fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
taste alt+e
ende
export XDG_CONFIG_HOME=$arbeit/config

# Leaving a game books nothing; the menu ends the program.
beginne beenden
starte
zumHauptfenster
spielFuer Carla
taste alt+e
fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
[ -s "$ordner/highscore.dtt" ] && melde "leaving a game booked a line: $(od -c "$ordner/highscore.dtt")"
taste alt+d && taste Down && taste Return
ende

# The editor opened from the menu, the collection checked, the editor closed
# by its frame: the main window comes back.
beginne editor
starte
zumHauptfenster
taste alt+d && taste Return
editor=$(fenster '^Datenbank$') || melde "no editor"
taste alt+p
fenster '^Sammlung prüfen' >/dev/null || melde "no report of the check"
taste Escape
taste alt+F4
haupt=$(fenster '^Kreidolin$') && klick "$haupt" 500 140
taste alt+e
ende

# A collection that cannot be loaded: the message, the editor, back to the main window.
: >"$arbeit/leer.mdb"
beginne ladefehler "$arbeit/leer.mdb"
starte
zumHauptfenster
xdotool type --delay 20 Dora
xdotool key Return
sleep 1
taste Return
editor=$(fenster '^Datenbank$') || melde "no editor after the load failure"
taste alt+F4
haupt=$(fenster '^Kreidolin$') && klick "$haupt" 500 140
taste alt+e
ende

# A Windows-era Access collection: before the first change the editor asks
# whether to convert it; the default answer keeps it as it is.
beginne access "$access"
starte
zumHauptfenster
taste alt+d && taste Return
fenster '^Datenbank$' >/dev/null || melde "no editor on the Access collection"
xdotool type --delay 20 " geändert"
taste alt+e && taste Return
cmp -s "$access" "$ordner/Fragen.mdb" || melde "the Access collection changed"
taste alt+F4
taste alt+n # the typed change is declined on closing
haupt=$(fenster '^Kreidolin$') && klick "$haupt" 500 140
taste alt+e
ende

# Damaged files beside the program: a binary highscore file and a settings
# line naming a missing collection: the message, the editor, a clean end.
beginne kaputt
head -c 4096 /dev/urandom >"$ordner/highscore.dtt"
printf '/gibt/es/nicht.mdb\r\n' >"$ordner/Kreidolin.ini"
starte
zumHauptfenster
xdotool type --delay 20 Eva
taste Return
sleep 0.5
taste Return
fenster '^Datenbank$' >/dev/null || melde "no editor after the missing collection"
taste alt+F4
haupt=$(fenster '^Kreidolin$') && klick "$haupt" 500 140
taste alt+e
ende

# The collection and the list on a PostgreSQL server: a game given up books
# its line on the server. With the server down the start names it and the
# reason, and the editor opens as for any load failure.
pgcluster=$(dirname "$0")/../support/pgcluster.sh
pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
port=0
for _ in $(seq 20); do
    p=$((40000 + RANDOM % 20000))
    (exec 9<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { port=$p; break; }
done
if [ -x "$pgbin/initdb" ] && cluster=$(mktemp -d) && bash "$pgcluster" init "$cluster" "$port" off >/dev/null 2>&1; then
    psql=("$pgbin/psql" -qXAt -h 127.0.0.1 -p "$port" -U postgres -d kreidolin)
    sqlite3 -csv "$bau/Fragen.mdb" 'SELECT Frage, Loesung, Antwort1, Antwort2, Stufe FROM fragen' \
        | "${psql[@]}" -c '\copy fragen("Frage","Loesung","Antwort1","Antwort2","Stufe") FROM STDIN CSV'
    # libpq finds the pupil's password in the password file.
    export PGPASSFILE=$arbeit/pgpass
    printf '127.0.0.1:%s:kreidolin:schueler:geheim\n' "$port" >"$PGPASSFILE"
    chmod 600 "$PGPASSFILE"

    beginne server
    printf 'postgresql://127.0.0.1:%s/kreidolin?user=schueler\r\n' "$port" >"$ordner/Kreidolin.ini"
    starte
    zumHauptfenster
    spielFuer Gero
    taste alt+a && quittiere
    fenster '^Kreidolin$' >/dev/null || melde "main window did not come back"
    [ "$("${psql[@]}" -c 'SELECT name, punkte FROM highscore')" = 'Gero|0' ] || melde "no highscore row for Gero"
    [ -e "$ordner/highscore.dtt" ] && melde "a server game wrote highscore.dtt"
    taste alt+e
    ende

    # The server goes away during a game: the game ends as always, its line
    # waits in the outbox and arrives once the list is read again.
    beginne ausgang
    printf 'postgresql://127.0.0.1:%s/kreidolin?user=schueler\r\n' "$port" >"$ordner/Kreidolin.ini"
    starte
    zumHauptfenster
    spielFuer Ida
    bash "$pgcluster" stop "$cluster"
    taste alt+a && quittiere
    sleep 1
    taste Return # the entry is kept on this PC
    taste Return # the list cannot be read
    [ -s "$ordner/highscore-ausgang.dtt" ] || melde "no line in the outbox"
    bash "$pgcluster" start "$cluster" "$port" off
    haupt=$(fenster '^Kreidolin$') && klick "$haupt" 500 140
    taste alt+u
    [ "$("${psql[@]}" -c 'SELECT name, punkte FROM highscore ORDER BY nr')" = $'Gero|0\nIda|0' ] \
        || melde "highscore rows are $("${psql[@]}" -c 'SELECT name, punkte FROM highscore')"
    [ -e "$ordner/highscore-ausgang.dtt" ] && melde "the outbox stayed"
    taste alt+e
    ende

    bash "$pgcluster" stop "$cluster"
    beginne serverweg
    printf 'postgresql://127.0.0.1:%s/kreidolin?user=schueler\r\n' "$port" >"$ordner/Kreidolin.ini"
    starte
    taste space
    fenster '^Kreidolin$' >/dev/null || melde "no main window"
    taste Return # the highscore list cannot be read
    xdotool type --delay 20 Hanna
    taste Return
    sleep 0.5
    taste Return # the questions cannot be read
    fenster '^Datenbank$' >/dev/null || melde "no editor with the server down"
    taste alt+F4
    taste Return # the list again, on the main window's return
    haupt=$(fenster '^Kreidolin$') && klick "$haupt" 500 140
    taste alt+e
    ende
else
    echo "SKIP [server]: no PostgreSQL cluster could start"
fi

exit $fehler
