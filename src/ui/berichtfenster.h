#pragma once

#include <QDialog>

class QPlainTextEdit;

// A report a teacher reads (the preview of an import, the check of a
// collection), scrollable however long it is. With a text for annehmen it
// asks as well: that button accepts, "Abbrechen" rejects.
class Berichtfenster : public QDialog {
    Q_OBJECT
public:
    Berichtfenster(QWidget *parent, const QString &titel, const QString &bericht,
                   const QString &annehmen = QString());

    // Shows the report modally; true when it was accepted. The window lives on
    // the heap: its parent may be closed and deleted while it is open, and
    // then it goes with it and counts as not accepted.
    static bool zeige(QWidget *parent, const QString &titel, const QString &bericht,
                      const QString &annehmen = QString());

private:
    QPlainTextEdit *txtBericht = nullptr;
};
