// Small helpers for widget tests: finding controls by name and letting events run.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include <stdexcept>

namespace testsupport {

// The child of root named name (objectName), of type T; throws when there is none, so
// that a misspelt name fails the test with a clear message instead of a null pointer.
template <typename T = QWidget>
T* findNamed(const QObject* root, const QString& name)
{
    T* found = root->findChild<T*>(name);
    if (!found)
        throw std::runtime_error(("no child named " + name).toStdString());
    return found;
}

// Runs pending events (posted events, deferred deletes, zero timers).
inline void pumpEvents(int rounds = 3)
{
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// Shows a window and makes it the active window, so that focus and keys reach its
// widgets on the offscreen platform.
inline bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window, 1000);
}

// Gives a widget the keyboard focus (its window must be active) and runs the events.
inline void focus(QWidget* widget, Qt::FocusReason reason = Qt::TabFocusReason)
{
    widget->setFocus(reason);
    pumpEvents();
}

}  // namespace testsupport
