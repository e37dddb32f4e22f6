// Every window fits a small screen: its minimum size with a frame fits the smallest screen
// area the program supports, and it opens with all of its frame inside the screen's available
// area. CTest runs this program on a 1280x720 screen and on a 1920x1080 screen at twice the
// size (see CMakeLists.txt).
#include "shell/Windows.h"
#include "tests/app/MainTestSupport.h"
#include "tests/support/WindowTour.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>

#include <map>

using apptest::ProgramRun;

namespace {

TEST(FittedGeometry, AWindowTooLargeShrinksAndMovesInsideTheAvailableArea)
{
    const QMargins frame(4, 30, 4, 4);
    const QRect available(0, 0, 960, 510);  // 1920x1080 at twice the size, less a panel
    // The checklist's 760x600 placed at 100,100: as high as the area allows, top at the top.
    const QRect fitted = shell::fittedGeometry(QRect(100, 100, 760, 600), frame, QSize(400, 300), available);
    EXPECT_EQ(fitted, QRect(100, 30, 760, 510 - 34));
    EXPECT_TRUE(available.contains(fitted.marginsAdded(frame)));
}

TEST(FittedGeometry, AWindowThatFitsStaysAsItIs)
{
    const QRect available(0, 0, 1280, 720);
    const QRect geometry(200, 150, 640, 400);
    EXPECT_EQ(shell::fittedGeometry(geometry, QMargins(4, 30, 4, 4), QSize(300, 200), available), geometry);
}

TEST(FittedGeometry, TheAreaMayLieAnywhereOnTheDesktop)
{
    // A second screen right of the first, with a panel at its top: a window off its right
    // and bottom edges moves in, keeping its size.
    const QRect available(1920, 40, 1280, 984);
    const QMargins frame(2, 24, 2, 2);
    const QRect fitted = shell::fittedGeometry(QRect(2900, 900, 600, 300), frame, QSize(), available);
    EXPECT_EQ(fitted.size(), QSize(600, 300));
    EXPECT_TRUE(available.contains(fitted.marginsAdded(frame)));
    // Off its left and top edges (the panel): moved right and down, below the panel.
    EXPECT_EQ(shell::fittedGeometry(QRect(1800, 10, 600, 300), frame, QSize(), available).topLeft(),
              QPoint(1922, 64));
}

TEST(FittedGeometry, AMinimumLargerThanTheAreaKeepsTheTitleBarOnScreen)
{
    const QRect available(0, 0, 800, 600);
    const QRect fitted =
        shell::fittedGeometry(QRect(50, 50, 900, 700), QMargins(4, 30, 4, 4), QSize(850, 650), available);
    EXPECT_EQ(fitted, QRect(4, 30, 850, 650));
}

// What a window looked like once shown.
struct Shown {
    QSize minimum;    // the larger of its minimum size and its layout's minimum
    QRect geometry;   // its client area
    QRect frame;      // its frame as the window system reports it
    QRect available;  // its screen's available area
};

class WindowsFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        run_.setNames("Anna", "Ben");
        run_.onModal = [this](QWidget* w) { tour_.modal(w); };
        ASSERT_TRUE(run_.start());
    }

    void see(QWidget* window, const QString& name)
    {
        ASSERT_TRUE(window->isVisible()) << name.toStdString();
        shown_[name] = {window->minimumSize().expandedTo(window->minimumSizeHint()), window->geometry(),
                        window->frameGeometry(), window->screen()->availableGeometry()};
    }

    ProgramRun run_;
    std::map<QString, Shown> shown_;
    testsupport::WindowTour tour_{[this](QWidget* window, const QString& name) { see(window, name); }};
};

TEST_F(WindowsFit, EveryWindowFitsTheSmallestScreenAndOpensInsideItsOwn)
{
    tour_.run(run_.main(), run_.dir.path());
    for (const QString& expected : testsupport::WindowTour::modalWindows())
        EXPECT_TRUE(shown_.count(expected)) << expected.toStdString() << " was not shown";
    for (const char* expected : {"frmMain", "frmMain with General Information", "HelpViewer", "frmSplash",
                                 "frmWelcome", "frmRescue", "frmRestore"})
        EXPECT_TRUE(shown_.count(expected)) << expected << " was not shown";

    const QSize most = shell::SmallestScreenArea.shrunkBy(shell::assumedFrame());
    for (const auto& [name, window] : shown_) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_LE(window.minimum.width(), most.width());
        EXPECT_LE(window.minimum.height(), most.height());
        // Inside its screen, and room left for a window manager's title bar and borders.
        EXPECT_TRUE(window.available.contains(window.frame))
            << "frame " << window.frame.x() << "," << window.frame.y() << " " << window.frame.width() << "x"
            << window.frame.height() << " outside " << window.available.width() << "x"
            << window.available.height();
        const QSize outer = window.geometry.size().grownBy(shell::assumedFrame());
        EXPECT_LE(outer.width(), window.available.width());
        EXPECT_LE(outer.height(), window.available.height());
        std::printf("%-36s minimum %4dx%-4d shown %4dx%-4d at %d,%d\n", qPrintable(name),
                    window.minimum.width(), window.minimum.height(), window.geometry.width(),
                    window.geometry.height(), window.geometry.x(), window.geometry.y());
    }
}

}  // namespace
