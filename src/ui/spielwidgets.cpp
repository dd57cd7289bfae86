#include "ui/spielwidgets.h"

#include "basis/farben.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace Spielwidgets {
QFont fensterSchrift() { return Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75, true); }

void setzeTextfarbe(QWidget *w, const QColor &farbe)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    w->setPalette(p);
}

void setzeHintergrund(QLabel *label, const QColor &farbe)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, farbe);
    label->setPalette(p);
    label->setAutoFillBackground(true);
}

QLabel *neuesLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *neuerKnopf(QWidget *parent, const QString &name, const QString &text)
{
    auto *knopf = new QPushButton(text, parent);
    knopf->setObjectName(name);
    knopf->setAutoDefault(false);
    return knopf;
}

QGroupBox *neuerRahmen(QWidget *parent, const QString &name, const QString &titel)
{
    auto *rahmen = new QGroupBox(titel, parent);
    rahmen->setObjectName(name);
    return rahmen;
}

void beschreibe(QWidget *w, const QString &name, const QString &beschreibung)
{
    w->setAccessibleName(name);
    w->setAccessibleDescription(beschreibung);
}
}
