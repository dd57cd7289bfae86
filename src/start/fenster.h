#pragma once

#include <QPointer>
#include <QWidget>

#include <type_traits>
#include <utility>

// Every window of the program exists at most once. It is created when first
// used, destroyed when closed, and the next use builds it anew.
namespace Fenster {
namespace detail {
// Marks a window as gone as soon as it is closed, before Qt deletes it later,
// so that the next use builds a fresh one.
void beobachte(QWidget *window);
bool geschlossen(const QWidget *window);

template <class T, class = void>
struct HatLaden : std::false_type {};
template <class T>
struct HatLaden<T, std::void_t<decltype(std::declval<T &>().Form_Load())>> : std::true_type {};

template <class T>
QPointer<T> &slot()
{
    static QPointer<T> instance;
    return instance;
}
}

// The open window of type T, or nullptr.
template <class T>
T *offen()
{
    T *window = detail::slot<T>().data();
    return window && !detail::geschlossen(window) ? window : nullptr;
}

// The window of type T, created (and so loaded) if it is not open. A window
// with a Form_Load() gets it called once it is registered, so that a load may
// close the window again; check offen<T>() afterwards where that matters.
template <class T>
T *hole()
{
    if (T *window = offen<T>())
        return window;
    T *window = new T;
    window->setAttribute(Qt::WA_DeleteOnClose);
    detail::slot<T>() = window;
    detail::beobachte(window);
    if constexpr (detail::HatLaden<T>::value)
        window->Form_Load();
    return window;
}

// Shows the window of type T, not modal, and brings it to the front.
template <class T>
T *zeige()
{
    T *window = hole<T>();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
}
