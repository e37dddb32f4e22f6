#include "tests/exchange/ExchangeFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace exchangetest {

QString importSamplesDir()
{
    return testsupport::testDataDir(QStringLiteral("imports"));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray brokenList()
{
    static const char list[] =
        "Name,City\n"
        "Dr. Grace Moreau,Os\0lo\n"
        "Priya Haddad,\"Springfield\n"
        "Noah Berg,Bergen\n";
    return QByteArray(list, sizeof list - 1);
}

TempFile::TempFile(const QString& name, const QByteArray& content) : path_(dir_.filePath(name))
{
    QFile f(path_);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

void WeddingTest::SetUp()
{
    program_ = std::make_unique<testsupport::ProgramDir>();
    db_ = &store::Workspace::defaultWorkspace().openDatabase(program_->databasePath());
}

void WeddingTest::TearDown()
{
    store::Workspace::defaultWorkspace().close();
}

int WeddingTest::guestCount()
{
    return db().openRecordset("Guests", store::RecordsetType::Snapshot)->recordCount();
}

void WeddingTest::addParty(const QString& first, const QString& last, const QString& address)
{
    db().execute("INSERT INTO Guests (FirstName, LastName, Address, guestof) VALUES (?, ?, ?, 'Both')",
                 {first, last, address.isEmpty() ? QVariant() : QVariant(address)});
}

}  // namespace exchangetest
