#include "ui/antwortfeld.h"

#include <QEvent>
#include <QPainter>

Antwortfeld::Antwortfeld(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

QString Antwortfeld::zeichen(Markierung markierung)
{
    switch (markierung) {
    case Markierung::Gewaehlt:
        return QStringLiteral("▶");
    case Markierung::Richtig:
        return QStringLiteral("✔");
    case Markierung::Falsch:
        return QStringLiteral("✘");
    case Markierung::Keine:
        break;
    }
    return QString();
}

QString Antwortfeld::wort(Markierung markierung)
{
    switch (markierung) {
    case Markierung::Gewaehlt:
        return QStringLiteral("ausgewählt");
    case Markierung::Richtig:
        return QStringLiteral("richtig");
    case Markierung::Falsch:
        return QStringLiteral("falsch");
    case Markierung::Keine:
        break;
    }
    return QString();
}

void Antwortfeld::setzeMarkierung(Markierung markierung)
{
    if (markierung == m_markierung)
        return;
    m_markierung = markierung;
    setzeRahmen();
    update();
}

void Antwortfeld::setzeRahmen()
{
    if (m_markierung == Markierung::Keine) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    setFrameStyle(QFrame::Box | QFrame::Plain);
    // A frame that grows with the font, so it stays as plain on a projector.
    setLineWidth(qMax(2, fontMetrics().height() / 6));
}

void Antwortfeld::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setzeRahmen();
}

void Antwortfeld::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    const QString z = zeichen(m_markierung);
    if (z.isEmpty())
        return;
    QPainter maler(this);
    maler.setPen(palette().color(QPalette::WindowText));
    maler.setFont(font());
    const QRect innen = contentsRect().adjusted(2, 0, 0, 0);
    maler.drawText(innen, Qt::AlignLeft | Qt::AlignTop, z);
}
