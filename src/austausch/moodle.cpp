#include "austausch/moodle.h"

#include "store/fragentabelle.h"

#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
using namespace Austausch;

bool weiter(QXmlStreamReader &x)
{
    if (x.readNext() == QXmlStreamReader::DTD)
        x.raiseError(QStringLiteral("Dokumenttyp-Deklarationen werden nicht gelesen"));
    return !x.atEnd() && !x.hasError();
}

// Moodle keeps texts as HTML unless told otherwise; the game shows plain text.
QString klartext(const QString &text, const QString &format)
{
    if (format != QLatin1String("html") && !format.isEmpty())
        return text;
    static const QRegularExpression umbruch(QStringLiteral("<br\\s*/?>|</p>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression marke(QStringLiteral("<[^>]*>"));
    static const QRegularExpression entitaet(QStringLiteral("&(#x[0-9a-fA-F]{1,6}|#[0-9]{1,7}|[a-zA-Z]{2,8});"));
    QString t = text;
    t.replace(umbruch, QStringLiteral(" ")).remove(marke);
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
QString textIn(QXmlStreamReader &x)
{
    const QString name = x.name().toString();
    const QString format = x.attributes().value(QStringLiteral("format")).toString();
    QString text;
    while (weiter(x) && !(x.isEndElement() && x.name() == name)) {
        if (x.isStartElement() && x.name() == QLatin1String("text"))
            text = x.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (x.isStartElement())
            x.skipCurrentElement();
    }
    return klartext(text, format);
}

QString stufeIn(const QString &text)
{
    static const QRegularExpression stufe(QStringLiteral("(?:^|/)\\s*Stufe\\s*([^/]*?)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = stufe.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}
}

namespace Moodle {

StoreError lies(const QByteArray &bytes, QVector<Rohzeile> &zeilen)
{
    zeilen.clear();
    if (bytes.size() > kMaxBytes)
        return StoreError(QStringLiteral("Die Datei ist größer als %1 MB; so viele Fragen fasst keine Sammlung.")
                              .arg(kMaxBytes / (1024 * 1024)));
    QXmlStreamReader x(bytes);
    QString kategorieStufe;
    bool quiz = false;
    while (weiter(x)) {
        if (!x.isStartElement())
            continue;
        if (!quiz) {
            if (x.name() != QLatin1String("quiz"))
                return StoreError(QStringLiteral("Die Datei ist keine Moodle-XML-Datei: ihr äußerstes Element ist "
                                                 "<%1>, nicht <quiz>.").arg(x.name()));
            quiz = true;
            continue;
        }
        if (x.name() != QLatin1String("question")) {
            x.skipCurrentElement();
            continue;
        }
        Rohzeile r;
        r.zeile = static_cast<int>(x.lineNumber());
        const QString typ = x.attributes().value(QStringLiteral("type")).toString();
        QString frage, tagStufe, kategorie;
        QStringList richtig, falsch, andere;
        while (weiter(x) && !(x.isEndElement() && x.name() == QLatin1String("question"))) {
            if (!x.isStartElement())
                continue;
            if (x.name() == QLatin1String("questiontext")) {
                frage = textIn(x);
            } else if (x.name() == QLatin1String("category")) {
                kategorie = textIn(x);
            } else if (x.name() == QLatin1String("answer")) {
                const double anteil = x.attributes().value(QStringLiteral("fraction")).toDouble();
                const QString a = textIn(x);
                (anteil >= 100 ? richtig : anteil == 0 ? falsch : andere) << a;
            } else if (x.name() == QLatin1String("tag")) {
                const QString s = stufeIn(textIn(x));
                if (!s.isEmpty())
                    tagStufe = s;
            } else if (x.name() != QLatin1String("tags")) {
                x.skipCurrentElement();
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
            r.fehler = QStringLiteral("der Fragetyp „%1“ ist keine Auswahlfrage (multichoice)").arg(typ);
        else if (richtig.size() != 1 || falsch.size() != 2 || !andere.isEmpty())
            r.fehler = QStringLiteral("die Frage hat %1 richtige und %2 falsche Antworten; erwartet werden eine "
                                      "richtige (100 %) und zwei falsche (0 %)")
                           .arg(richtig.size()).arg(falsch.size() + andere.size());
        else if (r.felder[4].isEmpty())
            r.fehler = QStringLiteral("die Frage nennt keine Stufe (Schlagwort oder Kategorie „Stufe N“)");
        zeilen.append(r);
    }
    if (x.hasError())
        return StoreError(QStringLiteral("Die Datei ist keine lesbare Moodle-XML-Datei (Zeile %1): %2")
                              .arg(x.lineNumber()).arg(x.errorString()));
    if (!quiz)
        return StoreError(QStringLiteral("Die Datei ist keine Moodle-XML-Datei: sie enthält kein <quiz>."));
    return {};
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
