#include "shell/WeddingDatabase.h"

namespace shell {

store::Workspace& workspace()
{
    return store::Workspace::defaultWorkspace();
}

store::Database& database()
{
    store::Database* db = workspace().database();
    if (!db)
        throw store::StoreError(store::err::ObjectNotSet,
                                QStringLiteral("Object variable or With block variable not set"));
    return *db;
}

}  // namespace shell
