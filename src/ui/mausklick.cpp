#include "ui/mausklick.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
class KlickFilter : public QObject {
public:
    KlickFilter(QWidget *widget, std::function<void()> handler)
        : QObject(widget)
        , m_widget(widget)
        , m_handler(std::move(handler))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_widget)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            break;
        default:
            return false;
        }
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        mouse->accept();
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_doppelklick = true;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const bool zweiterKlick = m_doppelklick;
            m_doppelklick = false;
            if (!zweiterKlick && m_widget->rect().contains(mouse->position().toPoint()))
                m_handler();
        }
        return true;
    }

private:
    QWidget *m_widget;
    std::function<void()> m_handler;
    bool m_doppelklick = false;
};
}

namespace Mausklick {
void verbinde(QWidget *widget, std::function<void()> handler)
{
    widget->installEventFilter(new KlickFilter(widget, std::move(handler)));
}
}
