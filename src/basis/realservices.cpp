#include "basis/realservices.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QGridLayout>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

QMessageBox *RealMessageBoxes::baue(QWidget *parent, const Meldung &meldung)
{
    QString text = meldung.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto *box = new QMessageBox(meldung.symbol, meldung.titel, text, meldung.knoepfe, parent);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    // A message quotes names and questions as written; Qt would otherwise
    // guess rich text from a name like "<b>Tom</b>".
    box->setTextFormat(Qt::PlainText);
    if (meldung.vorgabe != QMessageBox::NoButton)
        box->setDefaultButton(meldung.vorgabe);
    if (meldung.massstab > 1.0) {
        QFont schrift = box->font();
        schrift.setPointSizeF(schrift.pointSizeF() * meldung.massstab);
        box->setFont(schrift);
        // Wide enough that the window frame has room for the whole title.
        if (auto *raster = qobject_cast<QGridLayout *>(box->layout())) {
            const int breite = QFontMetrics(schrift).horizontalAdvance(meldung.titel) + qRound(160 * meldung.massstab);
            raster->addItem(new QSpacerItem(breite, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), raster->rowCount(),
                            0, 1, raster->columnCount());
        }
    }
    return box;
}

QMessageBox::StandardButton RealMessageBoxes::zeige(QWidget *parent, const Meldung &meldung)
{
    // The box lives on the heap behind a guarded pointer: while its own
    // loop runs, its parent window may be closed and deleted, and the box
    // with it; the caller then gets the safe answer.
    QPointer<QMessageBox> box = baue(parent, meldung);
    box->exec();
    if (box) {
        const auto clicked = box->standardButton(box->clickedButton());
        delete box.data();
        if (clicked != QMessageBox::NoButton)
            return clicked;
    }
    // Closed by Escape or the close box, or gone with its parent: the safe answer.
    if (meldung.knoepfe.testFlag(QMessageBox::No))
        return QMessageBox::No;
    return QMessageBox::Ok;
}

void RealRandomNumbers::seedFromClock()
{
    m_engine.seed(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch()));
}

float RealRandomNumbers::next()
{
    // 24 random bits scaled by 2^-24: every value is exact in a float and
    // the largest is 1 - 2^-24, so a draw never rounds up to 1.
    return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f);
}

namespace {
// Not Qt's static helpers: they keep the dialog on the stack, where the
// deletion of its parent during the dialog's loop would free it twice.
QString waehleDatei(QWidget *parent, const QString &directory, const QString &filter, QFileDialog::AcceptMode art)
{
    QPointer<QFileDialog> dialog = new QFileDialog(parent, QString(), directory, filter);
    dialog->setAcceptMode(art);
    dialog->setFileMode(art == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const bool gewaehlt = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return {};
    const QStringList dateien = dialog->selectedFiles();
    delete dialog.data();
    return gewaehlt && !dateien.isEmpty() ? dateien.constFirst() : QString();
}
}

QString RealFileDialogs::openFileName(QWidget *parent, const QString &directory, const QString &filter)
{
    return waehleDatei(parent, directory, filter, QFileDialog::AcceptOpen);
}

QString RealFileDialogs::saveFileName(QWidget *parent, const QString &directory, const QString &filter)
{
    return waehleDatei(parent, directory, filter, QFileDialog::AcceptSave);
}

bool RealUrlOpener::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

namespace {
bool canWriteInto(const QString &dir)
{
    QTemporaryFile probe(dir + QLatin1String("/.kreidolin-probe-XXXXXX"));
    return probe.open();
}
}

RealAppDirectory::RealAppDirectory()
    : RealAppDirectory(QCoreApplication::applicationDirPath())
{
}

RealAppDirectory::RealAppDirectory(const QString &programDir)
{
    if (canWriteInto(programDir)) {
        m_path = programDir;
        return;
    }
    m_path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QLatin1String("/kreidolin");
    QDir().mkpath(m_path);
    // A new user starts from what the program folder holds: the default
    // collection and, where the school's admin put one there, the settings
    // (say, the server for the computer room). What the user has is kept.
    for (const QLatin1String name : {QLatin1String("Fragen.mdb"), QLatin1String("Kreidolin.ini")}) {
        const QString copy = m_path + QLatin1Char('/') + name;
        const QString original = programDir + QLatin1Char('/') + name;
        if (!QFileInfo::exists(copy) && QFileInfo::exists(original)) {
            QFile::copy(original, copy);
            QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
        }
    }
}

std::optional<QString> RealPasswoerter::frage(const QString &wofuer)
{
    bool ok = false;
    const QString passwort = QInputDialog::getText(nullptr, QStringLiteral("Anmeldung am Server"),
                                                   QStringLiteral("Passwort für %1:").arg(wofuer),
                                                   QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return passwort;
}

void installRealServices()
{
    static RealPasswoerter passwoerter;
    Services::setPasswoerter(&passwoerter);
    static RealMessageBoxes messages;
    static RealRandomNumbers random;
    static RealFileDialogs fileDialogs;
    static RealUrlOpener urls;
    static RealAppDirectory appDirectory;
    Services::setMessages(&messages);
    Services::setRandom(&random);
    Services::setFileDialogs(&fileDialogs);
    Services::setUrls(&urls);
    Services::setAppDirectory(&appDirectory);
}
