// Nothing cut: every label of the splash window and of the editor shows its
// whole text, no other control lies over it, and the editor's grid shows all
// its columns with their captions without scrolling sideways. CMake runs
// this also at 150 % scaling (tst_texte_150).

#include "testservices.h"
#include "ui/frmsplash.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace {
// Empty when every visible label's text fits it and no later sibling covers
// it; otherwise the labels at fault. A label whose text leaves runs of blanks
// for the controls that complete it (the splash's authors' sentence) is only
// checked for its size.
QStringList abgeschnitten(const QWidget *fenster, const QStringList &mitLuecken = {})
{
    QStringList fehler;
    for (const QLabel *l : fenster->findChildren<QLabel *>()) {
        if (!l->isVisibleTo(fenster) || l->text().isEmpty() || !l->pixmap().isNull())
            continue;
        const int flags = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect text = l->fontMetrics().boundingRect(l->contentsRect(), flags, l->text()).translated(l->pos());
        if (!l->geometry().contains(text))
            fehler << l->objectName() + QStringLiteral(" zu klein");
        if (mitLuecken.contains(l->objectName()) || !l->parentWidget())
            continue;
        const QObjectList geschwister = l->parentWidget()->children();
        for (qsizetype i = geschwister.indexOf(l) + 1; i < geschwister.size(); ++i) {
            const auto *w = qobject_cast<const QWidget *>(geschwister[i]);
            // A control that paints no background of its own (the logo's
            // margin) lets the label show through.
            if (w && w->isVisibleTo(fenster) && w->autoFillBackground() && w->geometry().intersects(text))
                fehler << l->objectName() + QStringLiteral(" verdeckt von ") + w->objectName();
        }
    }
    return fehler;
}
}

class TestTexte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { schliesseAlleFenster(); }
    // The splash window's texts, the disclaimer's first line included.
    void splash()
    {
        TestUmgebung u;
        frmSplash splash;
        splash.Form_Load();
        const QStringList fehler = abgeschnitten(&splash, {QStringLiteral("lblAutoren")});
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(QStringLiteral(", "))));
    }
    // The editor's labels, and its grid: every column whole, Stufe's caption included.
    void editor()
    {
        TestUmgebung u;
        u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
        Form3 *f = Fenster::zeige<Form3>();
        QVERIFY(f->datenbankGeladen());
        const QStringList fehler = abgeschnitten(f);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(QStringLiteral(", "))));
        auto *grid = f->findChild<QTableView *>(QStringLiteral("DataGrid1"));
        QCoreApplication::processEvents();
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
        const QHeaderView *kopf = grid->horizontalHeader();
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            if (!grid->isColumnHidden(c))
                QVERIFY2(kopf->sectionSize(c) >= kopf->sectionSizeHint(c),
                         qPrintable(grid->model()->headerData(c, Qt::Horizontal).toString()));
        }
    }
};

QTEST_MAIN(TestTexte)
#include "tst_texte.moc"
