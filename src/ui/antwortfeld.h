#pragma once

#include <QLabel>

// An answer label of the game window. Besides its background colour it shows
// its state by a frame and a symbol in its corner, so that pupils who cannot
// tell red from green see it too.
class Antwortfeld : public QLabel {
    Q_OBJECT
public:
    enum class Markierung { Keine, Gewaehlt, Richtig, Falsch };

    explicit Antwortfeld(const QString &text, QWidget *parent = nullptr);

    void setzeMarkierung(Markierung markierung);
    Markierung markierung() const { return m_markierung; }
    // "▶", "✔", "✘", or nothing.
    static QString zeichen(Markierung markierung);
    // "ausgewählt", "richtig", "falsch", or nothing: for screen readers.
    static QString wort(Markierung markierung);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setzeRahmen();
    Markierung m_markierung = Markierung::Keine;
};
