// Helpers shared by the tests.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// Path of the freshly built delivered database (never the user's copy in bin/).
QString deliveredDatabase();
// The source tree (for the sample wedding CSV files under shared data, templates, etc.).
QString sourceDir();
// The program directory of the build (help file, report templates).
QString binDir();
// The sample wedding CSV folder beside the project (../shared/data/sample-wedding), or "" if absent.
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
