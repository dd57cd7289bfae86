#include "start/fenster.h"

#include <QEvent>

namespace {
const char kGeschlossen[] = "kreidolin_geschlossen";

class CloseWatcher : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // No window of the program refuses to close, so a close event that
        // reaches it always ends it.
        if (event->type() == QEvent::Close)
            watched->setProperty(kGeschlossen, true);
        return false;
    }
};
}

namespace Fenster::detail {
void beobachte(QWidget *window)
{
    static CloseWatcher watcher;
    window->installEventFilter(&watcher);
}

bool geschlossen(const QWidget *window)
{
    return window->property(kGeschlossen).toBool();
}
}
