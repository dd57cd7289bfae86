#pragma once

#include <QMenu>

// The game window's menu for the classroom, on its context menu: the
// projector view (F11), reading aloud, and the class's vote (K). Reading
// aloud is offered only where an engine speaks German; otherwise its tip
// says why.
class Klassenmenue : public QMenu {
    Q_OBJECT
public:
    explicit Klassenmenue(QWidget *fenster);

    QAction *projektor = nullptr;
    QAction *vorlesen = nullptr;
    QAction *abstimmen = nullptr;
};
