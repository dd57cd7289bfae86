#pragma once

#include <QStringList>

class QTextDocument;

// The rules of the game as the instructions window shows them.
namespace Anleitung {
// The paragraphs in order, empty strings for the blank ones; "\t" is the tab
// after each item number. Quotes, double blanks and the blanks at the ends
// are part of the text.
QStringList absaetze();

// Items 1 to 7 and the blank paragraphs after them hang: the first line
// starts 425 twips left of the text, whose indent and tab stop are 709 twips.
bool haengend(int absatz);

// Fills the document with the paragraphs: Arial 10 pt, tab width 397 twips,
// the hanging indents as above. Whatever it held before is replaced.
void fuelle(QTextDocument *dokument);
}
