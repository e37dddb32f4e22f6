// main() of every test program: an offscreen QApplication with the locale pinned to
// English/United States so that dates, currency and numbers read the same everywhere, and
// the program's modules (the seating solver, the workbook writer) found where they are
// built, since test programs lie elsewhere.
#include "shell/Paths.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    shell::setModuleDirectory(testsupport::binDir());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
