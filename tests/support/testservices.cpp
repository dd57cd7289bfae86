#include "testservices.h"

#include "basis/vorlieben.h"
#include "start/fensterregister.h"
#include "store/fragenquelle.h"
#include "store/jetleser.h"
#include "store/vorgabe.h"

#include <QProcess>

#include <sqlite3.h>
#include <sys/mount.h>
#include <unistd.h>

QMessageBox::StandardButton FakeMessageBoxes::zeige(QWidget *, const Meldung &meldung)
{
    gezeigt.append(meldung);
    if (beimZeigen)
        beimZeigen(meldung);
    if (!antworten.isEmpty())
        return antworten.takeFirst();
    if (meldung.vorgabe != QMessageBox::NoButton)
        return meldung.vorgabe;
    for (int bit = 0; bit < 32; ++bit) {
        const auto b = static_cast<QMessageBox::StandardButton>(1u << bit);
        if (meldung.knoepfe.testFlag(b))
            return b;
    }
    return QMessageBox::Ok;
}

QStringList FakeMessageBoxes::spalte(QString Meldung::*feld) const
{
    QStringList out;
    for (const Meldung &m : gezeigt)
        out << m.*feld;
    return out;
}

float FakeRandom::next()
{
    if (!werte.isEmpty())
        return werte.takeFirst();
    m_state = m_state * 1664525u + 1013904223u;
    return static_cast<float>(m_state >> 8) * (1.0f / 16777216.0f);
}

TestUmgebung::TestUmgebung()
    : anwendungsverzeichnis(m_dir.path())
{
    Start::installiereFensterregister();
    Services::setMessages(&meldungen);
    Services::setRandom(&zufall);
    Services::setFileDialogs(&dateiDialoge);
    Services::setUrls(&urls);
    Services::setAppDirectory(&anwendungsverzeichnis);
    Services::setSprache(&sprache);
    Vorlieben::setDatei(m_dir.filePath(QStringLiteral("klassenzimmer.ini")));
    // The test machine's own admin file never decides a test's collection.
    Vorgabe::setDatei(m_dir.filePath(QStringLiteral("vorgabe.ini")));
    Services::setPasswoerter(&passwoerter);
    // The Access reader is built beside the program, not beside the tests.
    JetLeser::setProgramm(QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
    JetLeser::setZeitlimit(JetLeser::kStandardZeitlimit);
}

TestUmgebung::~TestUmgebung()
{
    Services::setPasswoerter(nullptr);
    schliesseAlleFenster();
    Services::setSprache(nullptr);
}

QString TestUmgebung::kopiereTestdatei(const QString &name, const QString &ziel)
{
    const QString pfad = datei(ziel.isEmpty() ? name : ziel);
    QFile::remove(pfad);
    if (!QFile::copy(QStringLiteral(KREIDOLIN_TEST_DATA "/") + name, pfad))
        qFatal("cannot copy test data %s", qPrintable(name));
    QFile::setPermissions(pfad, QFile::permissions(pfad) | QFile::WriteOwner);
    return pfad;
}

QString TestUmgebung::erzeugeFragen(const QString &name, const QVector<FrageZeile> &zeilen)
{
    const QString pfad = datei(name);
    if (const StoreError e = QuestionFile::erzeuge(pfad, zeilen))
        qFatal("%s", qPrintable(e.text()));
    return pfad;
}

QVector<FrageZeile> TestUmgebung::fragenJeStufe(int proStufe)
{
    QVector<FrageZeile> zeilen;
    for (int stufe = 1; stufe <= 15; ++stufe) {
        for (int n = 1; n <= proStufe; ++n) {
            const QString s = QStringLiteral("S%1N%2").arg(stufe).arg(n);
            zeilen.append({QStringLiteral("Frage ") + s, QStringLiteral("Lösung ") + s,
                           QStringLiteral("Falsch1 ") + s, QStringLiteral("Falsch2 ") + s, stufe, QVariant()});
        }
    }
    return zeilen;
}

void TestUmgebung::schreibeDatei(const QString &name, const QByteArray &bytes)
{
    QFile f(datei(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

void schliesseAlleFenster()
{
    for (int runde = 0; runde < 4 && !QApplication::topLevelWidgets().isEmpty(); ++runde) {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            w->close();
            w->deleteLater();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QByteArray liesBytes(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray highscoreZeilen(int anzahl)
{
    QByteArray bytes;
    for (int i = 0; i < anzahl; ++i)
        bytes += Highscore::kodiereZeile(QStringLiteral("S%1").arg(i), i % 16);
    return bytes;
}

void klicke(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

void sqlDatei(const QString &pfad, const QStringList &befehle)
{
    QFile::remove(pfad);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(pfad).constData(), &db) != SQLITE_OK)
        qFatal("cannot create %s", qPrintable(pfad));
    for (const QString &befehl : befehle) {
        char *fehler = nullptr;
        if (sqlite3_exec(db, befehl.toUtf8().constData(), nullptr, nullptr, &fehler) != SQLITE_OK)
            qFatal("%s: %s", qPrintable(befehl), fehler);
    }
    sqlite3_close(db);
}

Form2 *starteSpiel(const QString &name)
{
    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(name);
    klicke(haupt->cmd_start);
    return Fenster::offen<Form2>();
}

StoreError oeffne(Recordset &rs, const QString &pfad, bool editor)
{
    if (!editor)
        return Fragenquelle::oeffne(rs, pfad, Fragenquelle::Zugriff::Spielen);
    if (const StoreError e = Fragenquelle::oeffne(rs, pfad, Fragenquelle::Zugriff::Bearbeiten))
        return e;
    return rs.moveFirst();
}

namespace {
bool fuehreAus(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
}

SchreibschutzOrdner::SchreibschutzOrdner(const QString &ordner)
    : m_ordner(ordner)
{
    if (::geteuid() != 0) {
        m_aktiv = QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner);
        return;
    }
    if (fuehreAus(QStringLiteral("mount"), {QStringLiteral("--bind"), ordner, ordner})) {
        m_mount = true;
        m_aktiv = fuehreAus(QStringLiteral("mount"),
                            {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), ordner});
    }
}

SchreibschutzOrdner::~SchreibschutzOrdner()
{
    if (m_mount)
        fuehreAus(QStringLiteral("umount"), {m_ordner});
    else
        QFile::setPermissions(m_ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

VollerOrdner::VollerOrdner(const QString &ordner) : pfad(QFile::encodeName(ordner))
{
    QDir().mkpath(ordner);
    aktiv = ::mount("tmpfs", pfad.constData(), "tmpfs", 0, "size=64k") == 0;
}

VollerOrdner::~VollerOrdner()
{
    if (aktiv)
        ::umount(pfad.constData());
}
