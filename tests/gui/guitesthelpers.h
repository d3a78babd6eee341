#pragma once
// Helpers for driving real windows on the offscreen platform.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

// Shows the window and makes it the active one, so focus changes deliver focus events.
inline bool ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QElapsedTimer timer;
    timer.start();
    while (!window->isActiveWindow() && timer.elapsed() < 2000)
        QApplication::processEvents();
    return window->isActiveWindow();
}

// Moves the focus to the widget as a click would, and lets the focus events arrive.
inline void FocusByMouse(QWidget* widget) {
    widget->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}
