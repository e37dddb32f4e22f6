#include "store/Transaction.h"

#include "store/Log.h"
#include "store/Sqlite.h"

namespace store {

Transaction::Transaction(Workspace& workspace) : workspace_(&workspace)
{
    workspace_->beginTrans();
    level_ = workspace_->transactionDepth();
}

Transaction::~Transaction()
{
    try {
        rollback();
    } catch (const StoreError& ignored) {
        logIgnored("rolling back an unfinished change", ignored);
    }
}

bool Transaction::isOpen() const
{
    return !ended_ && workspace_->transactionDepth() >= level_;
}

void Transaction::commit()
{
    if (ended_)
        sql::raise(err::NoTransaction,
                   QStringLiteral("The change has already been committed or rolled back."));
    const int depth = workspace_->transactionDepth();
    if (depth < level_) {
        ended_ = true;
        sql::raise(err::General, QStringLiteral("The transaction was ended by the database engine after an "
                                                "error; its changes were not saved."));
    }
    if (depth > level_)
        sql::raise(
            err::InvalidOperation,
            QStringLiteral("The change cannot be saved while a change begun inside it is still open."));
    workspace_->commitTrans();
    ended_ = true;
}

void Transaction::rollback()
{
    if (ended_)
        return;
    ended_ = true;
    while (workspace_->transactionDepth() >= level_)
        workspace_->rollback();
}

}  // namespace store
