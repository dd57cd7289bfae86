#include "ui/klassenmenue.h"

#include "basis/services.h"
#include "ui/spielwidgets.h"

namespace {
QAction *eintrag(QMenu *menue, const char *name, const QString &text)
{
    QAction *a = menue->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(true);
    return a;
}
}

Klassenmenue::Klassenmenue(QWidget *fenster) : QMenu(fenster)
{
    setObjectName(QStringLiteral("menuKlasse"));
    setToolTipsVisible(true);
    Spielwidgets::beschreibe(this, QStringLiteral("Klassenzimmer"), QStringLiteral("Projektoransicht und Vorlesen"));
    projektor = eintrag(this, "menuProjektor", QStringLiteral("Projektoransicht"));
    projektor->setShortcut(QKeySequence(Qt::Key_F11));
    vorlesen = eintrag(this, "menuVorlesen", QStringLiteral("Vorlesen"));
    abstimmen = eintrag(this, "menuKlasseAbstimmen", QStringLiteral("Klasse abstimmen lassen"));
    abstimmen->setShortcut(QKeySequence(Qt::Key_K));
    abstimmen->setToolTip(QStringLiteral("Die Klasse stimmt mit eigenen Geräten ab (Taste K)"));
    // Whether an engine can speak German is known only once it has started.
    connect(this, &QMenu::aboutToShow, this, [this] {
        Sprachausgabe &sprache = Services::sprache();
        const bool kann = sprache.verfuegbar();
        vorlesen->setEnabled(kann);
        vorlesen->setToolTip(kann ? QStringLiteral("Liest Frage und Antworten vor (Taste V: noch einmal)")
                                  : sprache.grund());
    });
    fenster->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fenster, &QWidget::customContextMenuRequested, this,
            [this, fenster](const QPoint &wo) { popup(fenster->mapToGlobal(wo)); });
}
