#include "start/start.h"

#include "start/fenster.h"
#include "ui/frmsplash.h"
#include "store/connection.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Start {
void bereiteVor(QApplication &app)
{
    app.setApplicationName(QStringLiteral("Kreidolin"));
    app.setApplicationVersion(QStringLiteral("%1.%2.%3")
                                  .arg(KREIDOLIN_VERSION_MAJOR)
                                  .arg(KREIDOLIN_VERSION_MINOR)
                                  .arg(KREIDOLIN_VERSION_PATCH));
    app.setWindowIcon(QIcon(QStringLiteral(":/res/icons/kreidolin.svg")));

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    // The windows ask for MS Sans Serif. Wine's free look-alike of it is a
    // bitmap font in three pixel sizes without a bold face; Tahoma, its
    // scalable successor, draws it in every size instead. Only the regular
    // face is loaded: Wine's bold Tahoma draws as regular, while Qt
    // emboldens the regular face properly.
    const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFileInfo::exists(tahoma))
        QFontDatabase::addApplicationFont(tahoma);
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma"));

    // Where Arial itself is missing, the font configuration draws it with a
    // metric-compatible clone. Naming the clone spares Qt asking the font
    // configuration for a list of fallbacks at the first Arial text, a
    // noticeable part of the splash window's first painting.
    if (!QFontDatabase::hasFamily(QStringLiteral("Arial"))) {
        for (const QString &ersatz : {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}) {
            if (QFontDatabase::hasFamily(ersatz)) {
                QFont::insertSubstitution(QStringLiteral("Arial"), ersatz);
                break;
            }
        }
    }
}

void ersterFenster()
{
    // The splash window leads on to the main window by itself.
    Fenster::zeige<frmSplash>();
}
}
