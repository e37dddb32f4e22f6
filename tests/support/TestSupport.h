// Helpers shared by the tests.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// Path of the freshly built delivered database (never the user's copy in bin/).
QString deliveredDatabase();
// The source tree (templates, the test data under tests/data, etc.).
QString sourceDir();
// The program directory of the build (help file, report templates).
QString binDir();
// The folder of a solver module whose plan seats no one (tests/support/PoorSolver.cpp).
QString poorSolverDir();
// A folder of tests/data in the source tree; throws std::runtime_error when it is missing, so
// a test without its data fails instead of passing quietly.
QString testDataDir(const QString& name);
// The sample wedding CSV folder (tests/data/sample-wedding).
QString sampleWeddingDir();

// A temporary program directory holding a fresh copy of the delivered database as
// wedding.mdb (and, when asked, the help file and report templates of the build).
class ProgramDir {
public:
    explicit ProgramDir(bool withDataFiles = false);
    QString path() const;
    QString databasePath() const;  // path()/wedding.mdb
    QString file(const QString& name) const;

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
