"use strict";
// The class's page: shows the question from the projector, sends this
// device's pick and shows what comes back. Texts from the collection are
// only ever set as text.
(function () {
  var zustand = document.getElementById("zustand");
  var bereich = document.getElementById("fragebereich");
  var frage = document.getElementById("frage");
  var hinweis = document.getElementById("hinweis");
  var ergebnis = document.getElementById("ergebnis");
  var knoepfe = [0, 1, 2].map(function (i) { return document.getElementById("feld" + i); });
  var endgueltig = ["Falscher Code", "Die Klasse ist voll.", "Die Abstimmung ist beendet.", "Fremde Seite"];
  var speicher = null;
  try { speicher = window.sessionStorage; } catch (e) { speicher = null; }
  var geraet = speicher ? (speicher.getItem("kreidolin-geraet") || "") : "";
  var s = { nr: 0, felder: [null, null, null], gewaehlt: -1, abstimmung: false, gestimmt: false };
  var ws = null;
  var warte = 1000;

  function sage(text) { zustand.textContent = text; }

  function zeichne() {
    knoepfe.forEach(function (k, i) {
      var text = s.felder[i];
      k.hidden = text === null;
      k.querySelector(".text").textContent = text === null ? "" : text;
      k.setAttribute("aria-pressed", s.gewaehlt === i ? "true" : "false");
      k.disabled = s.abstimmung ? s.gestimmt : s.gewaehlt !== -1;
    });
    hinweis.textContent = s.abstimmung
      ? (s.gestimmt ? "Danke! Warte auf das Ergebnis." : "Abstimmung läuft: Welche Antwort ist richtig?")
      : (s.gewaehlt === -1 ? "Antworte mit: Tippe die Antwort, die du für richtig hältst." : "");
  }

  function behandle(m) {
    if (!m || typeof m.art !== "string") return;
    switch (m.art) {
      case "willkommen":
        geraet = String(m.geraet || "");
        if (speicher) { try { speicher.setItem("kreidolin-geraet", geraet); } catch (e) { /* privat */ } }
        sage("Verbunden. Warte auf die Frage …");
        break;
      case "frage":
        if (m.frage !== s.nr) {
          s.gewaehlt = -1; s.gestimmt = false; ergebnis.textContent = ""; ergebnis.className = "";
          sage("Neue Frage");
        }
        s.nr = m.frage;
        s.felder = [0, 1, 2].map(function (i) { return typeof m.felder[i] === "string" ? m.felder[i] : null; });
        s.abstimmung = m.abstimmung === true;
        if (typeof m.gewaehlt === "number") s.gewaehlt = m.gewaehlt;
        if (m.gestimmt === true) s.gestimmt = true;
        if (s.abstimmung && !s.gestimmt) sage("Die Klasse stimmt ab!");
        frage.textContent = String(m.text);
        bereich.hidden = false;
        zeichne();
        break;
      case "angekommen":
        if (m.frage !== s.nr) return;
        s.gewaehlt = m.feld;
        if (s.abstimmung) s.gestimmt = true;
        sage("Deine Stimme ist angekommen");
        zeichne();
        break;
      case "abgelehnt":
        sage(String(m.grund || "Nicht angenommen."));
        break;
      case "ergebnis":
        if (m.frage !== s.nr) return;
        s.abstimmung = false;
        ergebnis.className = "";
        ergebnis.textContent = m.stimmen > 0
          ? "Die Klasse hat abgestimmt (" + m.stimmen + (m.stimmen === 1 ? " Stimme" : " Stimmen") + "):\n"
            + [0, 1, 2].filter(function (i) { return s.felder[i] !== null; })
              .map(function (i) { return "ABC".charAt(i) + ": " + m.anteile[i] + " %"; }).join("\n")
          : "Niemand hat abgestimmt.";
        zeichne();
        break;
      case "urteil":
        if (m.frage !== s.nr) return;
        ergebnis.className = m.richtig ? "richtig" : "falsch";
        ergebnis.textContent = m.richtig ? "Richtig! Deine Antwort stimmt." : "Leider falsch.";
        break;
      case "ruhe":
        bereich.hidden = true;
        sage("Warte auf die nächste Frage …");
        break;
      case "langsam":
        sage("Bitte etwas langsamer tippen.");
        break;
      default:
        break;
    }
  }

  function verbinde() {
    var ziel = (location.protocol === "https:" ? "wss://" : "ws://") + location.host + location.pathname + "ws"
      + (geraet ? "?geraet=" + encodeURIComponent(geraet) : "");
    ws = new WebSocket(ziel);
    ws.onopen = function () { warte = 1000; };
    ws.onmessage = function (ereignis) {
      var m = null;
      try { m = JSON.parse(ereignis.data); } catch (e) { return; }
      behandle(m);
    };
    ws.onclose = function (ereignis) {
      ws = null;
      if (endgueltig.indexOf(ereignis.reason) >= 0) {
        bereich.hidden = true;
        sage(ereignis.reason);
        return;
      }
      sage("Verbindung unterbrochen. Neuer Versuch …");
      setTimeout(verbinde, warte);
      warte = Math.min(warte * 2, 15000);
    };
  }

  knoepfe.forEach(function (k, i) {
    k.addEventListener("click", function () {
      if (!ws || ws.readyState !== WebSocket.OPEN || k.disabled) return;
      ws.send(JSON.stringify({ art: "wahl", frage: s.nr, feld: i }));
      sage("Wird gesendet …");
    });
  });
  verbinde();
}());
