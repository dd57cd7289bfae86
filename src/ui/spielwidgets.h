#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

// Small steps the game window and its parts build their controls with.
namespace Spielwidgets {
// MS Sans Serif 9.75 pt bold, the game window's own font.
QFont fensterSchrift();
void setzeTextfarbe(QWidget *w, const QColor &farbe);
void setzeHintergrund(QLabel *label, const QColor &farbe);
// Questions, answers and the player's name are shown as written, never
// read as markup.
QLabel *neuesLabel(QWidget *parent, const QString &name, const QString &text);
QPushButton *neuerKnopf(QWidget *parent, const QString &name, const QString &text);
QGroupBox *neuerRahmen(QWidget *parent, const QString &name, const QString &titel);
// The name and description a screen reader reads.
void beschreibe(QWidget *w, const QString &name, const QString &beschreibung);
}
