// The column mapping of the last guest import, remembered per header row in the wedding
// file (table ImportMappings), so that the next file with the same header is read the
// same way. A file whose layout predates the table simply remembers nothing.
#pragma once

#include "exchange/GuestFields.h"

#include "store/Store.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace exchange {

// The mapping last used for exactly these headers (one field per header), if any.
std::optional<std::vector<GuestField>> rememberedMapping(store::Database& database,
                                                         const QStringList& headers);
// Stores the mapping for these headers, replacing an earlier one. Runs inside the
// caller's transaction; does nothing on a file without the table.
void rememberMapping(store::Database& database, const QStringList& headers,
                     const std::vector<GuestField>& mapping);

}  // namespace exchange
