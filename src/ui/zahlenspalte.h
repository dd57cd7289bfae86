#pragma once

#include <QLabel>
#include <QVector>

// The column of level numbers beside the overview. Its caption holds the
// numbers separated by blanks; each one is drawn on the row of its level
// name, so the two columns line up whatever the font's line height.
class Zahlenspalte : public QLabel {
    Q_OBJECT
public:
    explicit Zahlenspalte(const QString &text, QWidget *parent = nullptr);

    // The rows, top to bottom, in the label's own coordinates.
    void setzeZeilen(const QVector<QRect> &zeilen);
    const QVector<QRect> &zeilen() const { return m_zeilen; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<QRect> m_zeilen;
};
