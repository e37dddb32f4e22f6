// The workspace: the one open database and its transactions, and the errors the store
// has reported.
#include "store/Engine.h"

namespace store {

using sql::raise;

struct Workspace::Impl {
    std::unique_ptr<Database> database;
    std::vector<StoreError> errors;

    Database::Impl& open()
    {
        if (!database || !database->isOpen())
            raise(err::ObjectNotSet, QStringLiteral("No database is open in the workspace."));
        return database->impl();
    }
};

Workspace::Workspace() : d(std::make_unique<Impl>()) {}

Workspace& Workspace::defaultWorkspace()
{
    static Workspace workspace;
    return workspace;
}

Database& Workspace::openDatabase(const QString& path, OpenMode mode)
{
    close();
    clearErrors();
    d->database = Database::openFile(path, mode);
    return *d->database;
}

Database* Workspace::database() const
{
    return d->database.get();
}

void Workspace::close()
{
    if (d->database)
        d->database->close();
    d->database.reset();
}

void Workspace::beginTrans()
{
    transactionDepth();  // forgets a transaction the engine has ended
    Database::Impl& db = d->open();
    db.finishStatements();
    if (db.depth == 0)
        sql::exec(db.db, QStringLiteral("BEGIN"));
    else
        sql::exec(db.db, QStringLiteral("SAVEPOINT orv_%1").arg(db.depth));
    ++db.depth;
}

void Workspace::commitTrans()
{
    Database::Impl& db = d->open();
    if (db.depth == 0)
        raise(err::NoTransaction,
              QStringLiteral("There is no transaction to commit (commit without BeginTrans)."));
    if (sqlite3_get_autocommit(db.db)) {
        db.depth = 0;
        db.changed();
        raise(err::General, QStringLiteral("The transaction was ended by the database engine after an error; "
                                           "its changes were not saved."));
    }
    db.finishStatements();
    try {
        if (db.depth == 1)
            sql::exec(db.db, QStringLiteral("COMMIT"));
        else
            sql::exec(db.db, QStringLiteral("RELEASE orv_%1").arg(db.depth - 1));
    } catch (const StoreError&) {
        // A commit that fails on a full disk or an I/O error may make the engine roll the
        // whole transaction back; the count of open transactions follows the engine.
        if (sqlite3_get_autocommit(db.db)) {
            db.depth = 0;
            db.changed();
        }
        throw;
    }
    --db.depth;
}

void Workspace::rollback()
{
    Database::Impl& db = d->open();
    if (db.depth == 0)
        raise(err::NoTransaction,
              QStringLiteral("There is no transaction to roll back (rollback without BeginTrans)."));
    db.finishStatements();
    db.changed();
    if (sqlite3_get_autocommit(db.db)) {
        db.depth = 0;
        return;
    }
    if (db.depth == 1) {
        sql::exec(db.db, QStringLiteral("ROLLBACK"));
    } else {
        const QString name = QStringLiteral("orv_%1").arg(db.depth - 1);
        sql::exec(db.db, QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(name));
    }
    --db.depth;
}

int Workspace::transactionDepth() const
{
    if (!d->database || !d->database->isOpen())
        return 0;
    Database::Impl& db = d->database->impl();
    // A write that fails on a full disk or an I/O error may make the engine roll the whole
    // transaction back; the count follows the engine, so callers see that it has ended.
    if (db.depth > 0 && sqlite3_get_autocommit(db.db)) {
        db.depth = 0;
        db.changed();
    }
    return db.depth;
}

const std::vector<StoreError>& Workspace::errors() const
{
    return d->errors;
}
void Workspace::clearErrors()
{
    d->errors.clear();
}
void Workspace::recordError(const StoreError& error)
{
    d->errors.push_back(error);
}

}  // namespace store
