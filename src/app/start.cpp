#include "app/start.h"

#include "app/fenster.h"
#include "app/frmsplash.h"

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

    // The windows ask for MS Sans Serif and Tahoma; Wine's free look-alikes
    // are used where they are installed.
    for (const char *file : {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf"}) {
        const QString path = QStringLiteral("/usr/share/wine/fonts/") + QLatin1String(file);
        if (QFileInfo::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
}

void ersterFenster()
{
    // The splash window leads on to the main window by itself.
    Fenster::zeige<frmSplash>();
}
}
