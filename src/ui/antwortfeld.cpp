#include "ui/antwortfeld.h"

#include <QEvent>
#include <QPainter>

Antwortfeld::Antwortfeld(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

namespace {
// Symbol and word for each mark, in the order of Markierung.
struct Merkmal {
    const char *zeichen;
    const char *wort;
};
constexpr Merkmal kMerkmale[] = {{"", ""}, {"▶", "ausgewählt"}, {"✔", "richtig"}, {"✘", "falsch"}};
}

QString Antwortfeld::zeichen(Markierung markierung)
{
    return QString::fromUtf8(kMerkmale[static_cast<int>(markierung)].zeichen);
}

QString Antwortfeld::wort(Markierung markierung)
{
    return QString::fromUtf8(kMerkmale[static_cast<int>(markierung)].wort);
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
