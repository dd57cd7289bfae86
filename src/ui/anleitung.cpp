#include "ui/anleitung.h"

#include "basis/hersteller.h"
#include "basis/twips.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

namespace {
// Indents are in twips as the text was designed; the document wants pixels.
double px(double twips) { return twips / Twips::proPixelX(); }

constexpr int kErsterHaengender = 2;  // "1.)"
constexpr int kLetzterHaengender = 18; // the second blank after "7.)"
}

namespace Anleitung {
QStringList absaetze()
{
    return {
        QStringLiteral("Ziel des Spiels: Bestehen des Abiturs, indem alle Fragen richtig beantwortet werden!"),
        QString(),
        QStringLiteral("1.)\tTragen Sie Ihren Namen ein, um das Spiel zu beginnen"),
        QString(),
        QStringLiteral("2.)\tIm Spiel gibt es pro Frage 3 Antwortmöglichkeiten, wählen Sie die richtige "
                       "Antwortmöglichkeit aus und bestätigen diese."),
        QString(),
        QStringLiteral("3.)\tFalls Sie die Frage nicht beantworten können, können Sie einen der drei Joker "
                       "zur Hilfe nehmen:"),
        QStringLiteral("\t2 x 50:50 = jeweils eine falsche Antwort wird gestrichen"),
        QStringLiteral("\t1 x Lehrer = Sie fragen im Lehrerzimmer nach und erhalten eine "
                       "Abstimmungsergebnis, das nicht immer stimmen muss!"),
        QString(),
        QStringLiteral("4.)\tSie können auch aufgeben. Ihr aktueller Spielstand wird in die Highscoreliste "
                       "eingetragen. Für jede richtige Antwort gibt es einen Punkt."),
        QString(),
        QStringLiteral("5.)\tFragen einfügen: Über diese Option ist es möglich, die Fragendatenbank zu öffnen "
                       "und um eigene Fragen zu erweitern. Hierbei gibt man die Frage, die Lösung und 2 "
                       "falsche Antwortmöglichkeiten ein. Der Frage muss noch in eine Schwierigkeitsstufe "
                       "eingeteilt werden."),
        QString(),
        QStringLiteral("6.)\tSie können verschiedene Datenbanken anlegen (z.B. für unterschiedliche "
                       "Jahrgangsstufen oder Wissensgebiete). Dazu kopieren Sie die Datei „Fragen.mdb\" im "
                       "Anwendungsverzeichnis (C:\\Programme\\Kreidolin) und speichern Sie unter einem neuen "
                       "Namen (z.B. Fragen1.mdb, Fragen2.mdb ...) ab. Laden Sie dann über  den Button "
                       "„Datenbank auswählen\" die gewünschte Datei und verändern Sie diese dann nach ihren "
                       "Wünschen.  Das Programm merkt sich diese Einstellung und startet wieder mit der "
                       "zuletzt geladenen Fragensammlung. "),
        QString(),
        QStringLiteral("7.)\tWenn Sie die Fragendatenbank an ") + Hersteller::eMail()
            + QStringLiteral(" senden,  wird sie unter ") + Hersteller::webAdresse()
            + QStringLiteral(" auch anderen Benutzern zur Verfügung gestellt"),
        QString(),
        QString(),
        QStringLiteral(" Wir wünschen viel Spaß mit unserem Spiel!"),
        QString(),
        // Playing without a mouse and in front of the class.
        QStringLiteral("Tasten im Spiel: 1, 2, 3 (oder A, B, C) wählen eine Antwort, die Eingabetaste "
                       "bestätigt sie. Alt+5 und Alt+0 sind die 50:50-Joker, Alt+L ist der Lehrer, Alt+A "
                       "gibt auf, Alt+E beendet. V liest Frage und Antworten vor, F11 schaltet die "
                       "Projektoransicht ein und aus; beides auch über einen Rechtsklick ins Spielfenster."),
    };
}

bool haengend(int absatz) { return absatz >= kErsterHaengender && absatz <= kLetzterHaengender; }

void fuelle(QTextDocument *dokument)
{
    dokument->clear();
    QFont schrift(QStringLiteral("Arial"));
    schrift.setStyleHint(QFont::SansSerif);
    schrift.setPointSizeF(10);
    dokument->setDefaultFont(schrift);
    QTextOption option = dokument->defaultTextOption();
    option.setTabStopDistance(px(397));
    dokument->setDefaultTextOption(option);

    QTextBlockFormat buendig;
    QTextBlockFormat haengt;
    haengt.setLeftMargin(px(709));
    haengt.setTextIndent(px(-425));
    // Qt measures a tab stop from where the line starts, not from the
    // paragraph's edge; the first line starts at 709 - 425 twips, so the stop
    // at 709 twips from the edge lies 425 twips into the line.
    haengt.setTabPositions({QTextOption::Tab(px(425), QTextOption::LeftTab)});
    QTextCharFormat zeichen;
    zeichen.setFont(schrift);

    QTextCursor cursor(dokument);
    const QStringList texte = absaetze();
    for (int i = 0; i < texte.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.setBlockFormat(haengend(i) ? haengt : buendig);
        cursor.insertText(texte.at(i), zeichen);
    }
}
}
