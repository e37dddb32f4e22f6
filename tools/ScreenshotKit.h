// What the screenshot tools share: letting the windows settle, saving what the screen shows
// where a window is, and changing the wedding file behind the program's back.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <sqlite3.h>

#include <cstdio>

namespace shots {

// The folder the pictures go to (the tool's first argument).
inline QString& outputFolder()
{
    static QString folder = QStringLiteral(".");
    return folder;
}

inline void settle(int ms = 400)
{
    QTest::qWait(ms);
    QCoreApplication::processEvents();
}

// What is on the screen where the window is (frame included when there is one), saved as
// NAME.png in the output folder.
inline void shoot(QWidget* window, const QString& name)
{
    settle();
    const QRect area = window->frameGeometry();
    const QPixmap picture =
        QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString file = outputFolder() + "/" + name + ".png";
    picture.save(file);
    std::printf("%s %dx%d\n", qPrintable(file), area.width(), area.height());
}

// Runs one statement on the wedding file through its own connection.
inline void sql(const QString& database, const char* statement)
{
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db, statement, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace shots
