#pragma once

#include <functional>

class QWidget;

// Labels, frames and pictures have no click of their own. A "click" here is
// what users expect of one: the left button pressed and released over the
// same widget; the second click of a double click counts once, not twice.
namespace Mausklick {
// Calls the handler on each click on the widget. The widget takes the mouse
// buttons for itself, so the click does not reach the widgets below it.
void verbinde(QWidget *widget, std::function<void()> handler);
}
