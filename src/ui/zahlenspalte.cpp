#include "ui/zahlenspalte.h"

#include <QPainter>

Zahlenspalte::Zahlenspalte(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

void Zahlenspalte::setzeZeilen(const QVector<QRect> &zeilen)
{
    m_zeilen = zeilen;
    update();
}

void Zahlenspalte::paintEvent(QPaintEvent *event)
{
    const QStringList zahlen = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (m_zeilen.size() != zahlen.size()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < zahlen.size(); ++i)
        painter.drawText(m_zeilen[i], Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, zahlen[i]);
}
