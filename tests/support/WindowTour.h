// Opens every window of the program once, as a person would, and lets a caller look at each
// while it is shown (tests check their sizes, the screenshot tool takes pictures).
//
//     testsupport::WindowTour tour([](QWidget* window, const QString& name) { ... });
//     controls::setModalHook([&](QWidget* w) { w->show(); return tour.modal(w); });
//     tour.run(*frmMain::instance(), programDirectory);
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class frmMain;

namespace testsupport {

class WindowTour {
public:
    using Look = std::function<void(QWidget* window, const QString& name)>;
    explicit WindowTour(Look look) : look_(std::move(look)) {}

    // Answers a modal window that is shown: looks at it, opens the windows it leads to and
    // closes it. Returns the dialog's result.
    int modal(QWidget* window);
    // From the started program's main window: the main window with and without the General
    // Information panel, every window it opens, the help viewer, and the windows of start-up
    // and recovery (splash, welcome, rescue, restore). programDir holds the wedding file.
    void run(frmMain& main, const QString& programDir);
    // The names of the modal windows run() shows (objectName, or the class of a Qt dialog).
    static QStringList modalWindows();

private:
    void look(QWidget* window, const QString& name);
    void showAndLook(QWidget* window, const QString& name);
    Look look_;
};

}  // namespace testsupport
