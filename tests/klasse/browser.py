#!/usr/bin/python3
"""The class's page in real browsers: the program runs on a virtual screen with
the vote switched on, its QR code is read from a screenshot, three headless
Chromiums join through the address it holds and vote, and the result reaches
them; the page logs no console error and a wrong join code is refused.

usage: browser.py BUILD_DIR [SCREENSHOT_DIR]   (exit 77: a tool is missing)
"""
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

bau = os.path.abspath(sys.argv[1])
bilder = sys.argv[2] if len(sys.argv) > 2 else None
for werkzeug in ("Xvfb", "openbox", "xdotool", "import", "zbarimg", "chromedriver"):
    if not shutil.which(werkzeug):
        print("SKIP:", werkzeug, "is not installed")
        sys.exit(77)
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("SKIP: python3-selenium is not installed")
    sys.exit(77)

arbeit = tempfile.mkdtemp()
prozesse = []
browser = []


def warte(bedingung, sekunden=20, was="something"):
    ende = time.time() + sekunden
    while time.time() < ende:
        wert = bedingung()
        if wert:
            return wert
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + was)


def fenster(muster):
    def suche():
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", muster],
                           capture_output=True, text=True)
        ids = r.stdout.split()
        return ids[-1] if ids else None
    return warte(suche, was="window " + muster)


def taste(*tasten):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *tasten], check=True)
    time.sleep(0.4)


def bildschirm(datei):
    subprocess.run(["import", "-window", "root", datei], check=True)


def freier_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def starte_anzeige():
    lesen, schreiben = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(schreiben), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(schreiben,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    prozesse.append(xvfb)
    os.close(schreiben)
    nummer = os.read(lesen, 16).decode().strip()
    os.environ["DISPLAY"] = ":" + nummer
    prozesse.append(subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    warte(lambda: b"window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                 capture_output=True).stdout, was="the window manager")


def telefon():
    optionen = webdriver.ChromeOptions()
    for o in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=360,740",
              "--disable-dev-shm-usage", "--proxy-server=direct://", "--proxy-bypass-list=*"):
        optionen.add_argument(o)
    # A phone 360 px wide; a desktop window cannot be made that narrow.
    optionen.add_experimental_option("mobileEmulation",
                                     {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 1}})
    optionen.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    dienst = Service(executable_path=shutil.which("chromedriver"))
    b = webdriver.Chrome(options=optionen, service=dienst)
    browser.append(b)
    return b


def fehler_der_konsole(b):
    return [e for e in b.get_log("browser") if e.get("level") == "SEVERE"]


def main():
    port = freier_port()
    ordner = os.path.join(arbeit, "programm")
    os.makedirs(os.path.join(arbeit, "config", "Kreidolin"))
    with open(os.path.join(arbeit, "config", "Kreidolin", "klassenzimmer.ini"), "w") as ini:
        ini.write("[Klasse]\nAdresse=127.0.0.1\nPort=%d\nSekunden=60\n" % port)
    os.makedirs(ordner)
    for datei in ("kreidolin", "kreidolin-mdb", "Fragen.mdb"):
        shutil.copy(os.path.join(bau, datei), ordner)
    os.environ.update(QT_QPA_PLATFORM="xcb", XDG_CONFIG_HOME=os.path.join(arbeit, "config"),
                      XDG_RUNTIME_DIR=arbeit)
    starte_anzeige()
    fehlerdatei = open(os.path.join(arbeit, "stderr"), "w")
    programm = subprocess.Popen(["./kreidolin"], cwd=ordner, stdout=subprocess.DEVNULL, stderr=fehlerdatei)
    prozesse.append(programm)
    fenster("^Kreidolin$")
    taste("space")
    haupt = fenster("^Kreidolin$")
    geometrie = subprocess.run(["xdotool", "getwindowgeometry", "--shell", haupt],
                               capture_output=True, text=True).stdout
    masse = dict(z.split("=", 1) for z in geometrie.split())
    subprocess.run(["xdotool", "mousemove", "--window", haupt, str(int(masse["WIDTH"]) // 2),
                    str(int(masse["HEIGHT"]) * 14 // 100), "click", "1"])
    time.sleep(0.3)
    subprocess.run(["xdotool", "type", "--delay", "20", "Mia"])
    taste("Return")
    fenster("^Spieler: ")
    taste("k")

    # The address only as the projector shows it: read from the screen.
    schuss = os.path.join(arbeit, "projektor.png")
    bildschirm(schuss)
    adresse = subprocess.run(["zbarimg", "-q", "--raw", schuss], capture_output=True, text=True).stdout.strip()
    assert re.fullmatch(r"http://127\.0\.0\.1:%d/[A-Z0-9]{6}/" % port, adresse), "QR code holds %r" % adresse
    if bilder:
        shutil.copy(schuss, os.path.join(bilder, "klasse-projektor.png"))

    # A wrong join code: the German refusal, and no page.
    falsch = re.sub(r"/[A-Z0-9]{6}/$", "/AAAAAA/", adresse)
    try:
        urllib.request.urlopen(falsch, timeout=5)
        raise AssertionError("a wrong join code was served")
    except urllib.error.HTTPError as e:
        assert e.code == 403 and "Falscher Code" in e.read().decode(), "refusal was %d" % e.code

    telefone = [telefon() for _ in range(3)]
    for b in telefone:
        b.get(adresse)
        WebDriverWait(b, 20).until(lambda d: d.find_element(By.ID, "frage").text.strip() != "")
    if bilder:
        telefone[0].save_screenshot(os.path.join(bilder, "klasse-telefon-vorher.png"))

    taste("alt+l")  # the poll joker: with devices joined, the class votes
    for b, feld in zip(telefone, (0, 0, 1)):
        WebDriverWait(b, 20).until(lambda d: "Abstimmung läuft" in d.find_element(By.ID, "hinweis").text)
        b.find_element(By.ID, "feld%d" % feld).click()
        WebDriverWait(b, 20).until(
            lambda d: d.find_element(By.ID, "zustand").text == "Deine Stimme ist angekommen")
    # Everyone has voted: the vote closes, the box shows, the pages show the shares.
    for b in telefone:
        WebDriverWait(b, 20).until(lambda d: "3 Stimmen" in d.find_element(By.ID, "ergebnis").text)
        ergebnis = b.find_element(By.ID, "ergebnis").text
        assert "A: 67 %" in ergebnis and "B: 33 %" in ergebnis, ergebnis
    box = fenster("^Kreidolin.Message$")
    if bilder:
        telefone[0].save_screenshot(os.path.join(bilder, "klasse-telefon-nachher.png"))
        bildschirm(os.path.join(bilder, "klasse-ergebnis.png"))
    for b in telefone:
        fehler = fehler_der_konsole(b)
        assert not fehler, "console errors: %r" % fehler
    taste("Return")
    # Leaving the game stops the server: the pages learn it.
    taste("alt+e")
    WebDriverWait(telefone[0], 20).until(
        lambda d: d.find_element(By.ID, "zustand").text in ("Die Abstimmung ist beendet.",
                                                            "Verbindung unterbrochen. Neuer Versuch …"))
    taste("alt+e")
    programm.wait(timeout=20)
    fehlerdatei.close()
    assert programm.returncode == 0, "exit status %d" % programm.returncode
    with open(os.path.join(arbeit, "stderr")) as f:
        bericht = f.read()
    assert "Sanitizer" not in bericht and "runtime error" not in bericht, bericht
    print("OK: QR code read, three browsers voted, shares shown, no console error, wrong code refused")


try:
    main()
finally:
    for b in browser:
        try:
            b.quit()
        except Exception:
            pass
    for p in reversed(prozesse):
        if p.poll() is None:
            p.terminate()
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                p.kill()
    shutil.rmtree(arbeit, ignore_errors=True)
