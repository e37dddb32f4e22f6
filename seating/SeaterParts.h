// Pieces the seating manager's source files share: the seating change that saves the
// rows of one operation together, and how list entries and seat counts are read.
#pragma once

#include "seating/SeatRules.h"
#include "store/Store.h"
#include "store/Transaction.h"

#include <QListWidget>
#include <QVariant>

#include <optional>

namespace seating {

// The rows one seating operation changes are saved together: either all of them or, when
// one write fails, none, so a table's assigned seats never disagree with its parties.
// (Saving once also spares a disk flush per row.)
using SeatingChange = store::Transaction;

// The key of the party a list entry stands for.
inline constexpr int PartyKeyRole = Qt::UserRole;

inline std::optional<QString> displayTextOf(const store::Recordset& parties)
{
    return partyDisplayText(parties.value(QStringLiteral("Prefix")),
                            parties.value(QStringLiteral("FirstName")),
                            parties.value(QStringLiteral("LastName")));
}

inline std::optional<store::Bookmark> selectedPartyKey(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first()->data(PartyKeyRole).toLongLong();
}

}  // namespace seating
