#include "austausch/moodle.h"

#include "austausch/xmlleser.h"
#include "store/fragentabelle.h"

#include <QBuffer>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace {
using namespace Austausch;

// Tags are taken out by hand, in one pass: a pattern for them takes time
// with the square of a text full of "<".
QString ohneMarken(const QString &text)
{
    QString t;
    t.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype auf = text.indexOf(QLatin1Char('<'), i);
        const qsizetype zu = auf < 0 ? -1 : text.indexOf(QLatin1Char('>'), auf);
        if (zu < 0) {
            t += QStringView(text).mid(i);
            break;
        }
        t += QStringView(text).mid(i, auf - i);
        const QStringView marke = QStringView(text).mid(auf + 1, zu - auf - 1).trimmed();
        // A line break or the end of a paragraph keeps the words apart.
        if (marke.startsWith(QLatin1String("br"), Qt::CaseInsensitive)
            || marke.compare(QLatin1String("/p"), Qt::CaseInsensitive) == 0)
            t += QLatin1Char(' ');
        i = zu + 1;
    }
    return t;
}

// Moodle keeps texts as HTML unless told otherwise; the game shows plain text.
QString klartext(const QString &text, const QString &format)
{
    if (format != QLatin1String("html") && !format.isEmpty())
        return text;
    static const QRegularExpression entitaet(QStringLiteral("&(#x[0-9a-fA-F]{1,6}|#[0-9]{1,7}|[a-zA-Z]{2,8});"));
    const QString t = ohneMarken(text);
    static const QMap<QString, QString> namen = {
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QStringLiteral(" ")}};
    QString aus;
    qsizetype von = 0;
    for (auto it = entitaet.globalMatch(t); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        aus += QStringView(t).mid(von, m.capturedStart() - von);
        const QString e = m.captured(1);
        bool ok = false;
        const uint code = e.startsWith(QLatin1String("#x")) ? e.mid(2).toUInt(&ok, 16)
                          : e.startsWith(QLatin1Char('#'))  ? e.mid(1).toUInt(&ok, 10)
                                                            : 0;
        if (ok && code > 0 && code <= 0x10FFFF && QChar::isPrint(char32_t(code)))
            aus += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        else
            aus += namen.value(e, m.captured(0));
        von = m.capturedEnd();
    }
    aus += QStringView(t).mid(von);
    return aus.simplified();
}

// The <text> inside the element x stands on, with that element's format.
QString textIn(XmlLeser &x)
{
    const QString format = x.x().attributes().value(QStringLiteral("format")).toString();
    const int tiefe = x.tiefe();
    QString text;
    while (x.weiter() && x.tiefe() >= tiefe) {
        if (x.beginnt(QLatin1String("text")))
            text = x.text();
        else if (x.x().isStartElement())
            x.ueberspringe();
    }
    return klartext(text, format);
}

// "Stufe 7" as the last part of a category path or as a whole tag.
QString stufeIn(const QString &text)
{
    QStringView teil = QStringView(text).mid(text.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
    if (!teil.startsWith(QLatin1String("Stufe"), Qt::CaseInsensitive))
        return {};
    return teil.mid(5).trimmed().toString();
}
}

namespace Moodle {

StoreError lies(const QByteArray &bytes, QVector<Rohzeile> &zeilen)
{
    zeilen.clear();
    if (bytes.size() > kMaxBytes)
        return StoreError(QStringLiteral("Die Datei ist größer als %1 MB; so viele Fragen fasst keine Sammlung.")
                              .arg(kMaxBytes / (1024 * 1024)));
    XmlLeser leser(bytes);
    QXmlStreamReader &x = leser.x();
    QString kategorieStufe;
    bool quiz = false;
    while (leser.weiter()) {
        if (!x.isStartElement())
            continue;
        if (!quiz) {
            if (x.name() != QLatin1String("quiz"))
                return StoreError(QStringLiteral("Die Datei ist keine Moodle-XML-Datei: ihr äußerstes Element ist "
                                                 "<%1>, nicht <quiz>.").arg(kurz(x.name())));
            quiz = true;
            continue;
        }
        if (x.name() != QLatin1String("question")) {
            leser.ueberspringe();
            continue;
        }
        Rohzeile r;
        r.zeile = static_cast<int>(x.lineNumber());
        const QString typ = x.attributes().value(QStringLiteral("type")).toString();
        QString frage, tagStufe, kategorie;
        QStringList richtig, falsch, andere;
        const int tiefe = leser.tiefe();
        while (leser.weiter() && leser.tiefe() >= tiefe) {
            if (!x.isStartElement())
                continue;
            if (x.name() == QLatin1String("questiontext")) {
                frage = textIn(leser);
            } else if (x.name() == QLatin1String("category")) {
                kategorie = textIn(leser);
            } else if (x.name() == QLatin1String("answer")) {
                const double anteil = x.attributes().value(QStringLiteral("fraction")).toDouble();
                const QString a = textIn(leser);
                (anteil >= 100 ? richtig : anteil == 0 ? falsch : andere) << a;
            } else if (x.name() == QLatin1String("tag")) {
                const QString s = stufeIn(textIn(leser));
                if (!s.isEmpty())
                    tagStufe = s;
            } else if (x.name() != QLatin1String("tags")) {
                leser.ueberspringe();
            }
        }
        if (typ == QLatin1String("category")) {
            kategorieStufe = stufeIn(kategorie);
            continue;
        }
        if (zeilen.size() >= kMaxZeilen)
            return StoreError(QStringLiteral("Die Datei hat mehr als %1 Fragen; so viele kann ein Spiel nicht "
                                             "laden.").arg(zahl(kMaxZeilen)));
        r.felder = QStringList{frage, richtig.value(0), falsch.value(0), falsch.value(1),
                               tagStufe.isEmpty() ? kategorieStufe : tagStufe};
        if (typ != QLatin1String("multichoice"))
            r.fehler = QStringLiteral("der Fragetyp „%1“ ist keine Auswahlfrage (multichoice)").arg(kurz(typ));
        else if (richtig.size() != 1 || falsch.size() != 2 || !andere.isEmpty())
            r.fehler = QStringLiteral("die Frage hat %1 richtige und %2 falsche Antworten; erwartet werden eine "
                                      "richtige (100 %) und zwei falsche (0 %)")
                           .arg(richtig.size()).arg(falsch.size() + andere.size());
        else if (r.felder[4].isEmpty())
            r.fehler = QStringLiteral("die Frage nennt keine Stufe (Schlagwort oder Kategorie „Stufe N“)");
        zeilen.append(r);
    }
    if (leser.fehler())
        return StoreError(QStringLiteral("Die Datei ist keine lesbare Moodle-XML-Datei: %1").arg(leser.fehlertext()));
    if (!quiz)
        return StoreError(QStringLiteral("Die Datei ist keine Moodle-XML-Datei: sie enthält kein <quiz>."));
    return {};
}

StoreError oeffnet(const QByteArray &bytes)
{
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    XmlLeser leser(&puffer);
    bool quiz = false;
    while (leser.weiter())
        quiz = quiz || leser.beginnt(QLatin1String("quiz"));
    if (leser.fehler())
        return StoreError(leser.fehlertext());
    return quiz ? StoreError() : StoreError(QStringLiteral("ihr fehlt <quiz>"));
}

QByteArray schreibe(const Tabelle &tabelle)
{
    QMap<int, QVector<const QStringList *>> jeStufe; // rows without a level go under 0
    for (const QStringList &z : tabelle)
        jeStufe[Fragentabelle::stufe(z.value(4))].append(&z);
    QByteArray aus;
    QXmlStreamWriter w(&aus);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("quiz"));
    auto text = [&w](const QString &element, const QString &inhalt, bool format = true) {
        w.writeStartElement(element);
        if (format)
            w.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
        w.writeTextElement(QStringLiteral("text"), inhalt);
        w.writeEndElement();
    };
    for (auto it = jeStufe.cbegin(); it != jeStufe.cend(); ++it) {
        const QString stufe = QStringLiteral("Stufe %1").arg(it.key());
        w.writeStartElement(QStringLiteral("question"));
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
        text(QStringLiteral("category"), QStringLiteral("$course$/top/Kreidolin/") + stufe, false);
        w.writeEndElement();
        for (const QStringList *z : it.value()) {
            w.writeStartElement(QStringLiteral("question"));
            w.writeAttribute(QStringLiteral("type"), QStringLiteral("multichoice"));
            text(QStringLiteral("name"), z->value(0).left(100), false);
            text(QStringLiteral("questiontext"), z->value(0));
            for (int a = 1; a <= 3; ++a) {
                w.writeStartElement(QStringLiteral("answer"));
                w.writeAttribute(QStringLiteral("fraction"), a == 1 ? QStringLiteral("100") : QStringLiteral("0"));
                w.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
                w.writeTextElement(QStringLiteral("text"), z->value(a));
                w.writeEndElement();
            }
            w.writeTextElement(QStringLiteral("single"), QStringLiteral("true"));
            w.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
            w.writeStartElement(QStringLiteral("tags"));
            text(QStringLiteral("tag"), QStringLiteral("Stufe %1").arg(z->value(4)), false);
            w.writeEndElement();
            w.writeEndElement();
        }
    }
    w.writeEndElement();
    w.writeEndDocument();
    return aus;
}
}
