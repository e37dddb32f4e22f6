// The wedding database: the database open in the default workspace.
#pragma once

#include "store/Store.h"

namespace shell {

// The open wedding database. Throws store::StoreError (91) while none is open (e.g. during
// compaction).
store::Database& database();
store::Workspace& workspace();

}  // namespace shell
