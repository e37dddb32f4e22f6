// The figures of the guest window's Summary tab: parties per side, gift money per
// occasion, and for each of the four events the parties and people invited, the
// replies and the people attending. Read afresh from the six saved queries of the
// wedding database each time the tab is chosen; nothing is stored.
//
//     GuestSummary();   // the Summary tab of the open guest window
//
// readGuestSummary() does the reading and hands each finished part to a SummaryView
// as soon as it has it, so that a failure part-way leaves what was shown before it.
#pragma once

#include <QVariant>

namespace store {
class Database;
}

namespace guests {

// One event row of the grid.
struct EventFigures {
    qint64 invitations = 0;  // parties invited
    qint64 people = 0;       // people of those parties invited
    qint64 replies = 0;      // parties that replied
    qint64 attending = 0;    // people attending
};

// Where the figures go, in the order they are read.
class SummaryView {
public:
    virtual ~SummaryView() = default;
    // Rows 1 (shower) and 2 (reception): every figure.
    virtual void showEventRow(int row, const EventFigures& figures) = 0;
    // Rows 3 (ceremony) and 4 (rehearsal): the parties invited; the other columns "-".
    virtual void showCountRow(int row, qint64 invitations) = 0;
    // Parties per side, then the gift totals (numbers as read; Null where nothing was summed).
    virtual void showLabels(const QVariant& bride, const QVariant& groom, const QVariant& both,
                            const QVariant& engagement, const QVariant& shower,
                            const QVariant& reception) = 0;
};

inline constexpr int ShowerRow = 1;
inline constexpr int ReceptionRow = 2;
inline constexpr int CeremonyRow = 3;
inline constexpr int RehearsalRow = 4;

// Error number of a figure too large for the summary's 16-bit counters.
inline constexpr int OverflowError = 6;

// Reads the six saved queries in order and shows each part as it is complete. Throws
// store::StoreError on the first failure (a missing query or column, or a party count,
// attending figure or rehearsal count beyond 16 bits); parts shown before it stay.
void readGuestSummary(store::Database& database, SummaryView& view);

}  // namespace guests

// Keeps the guest window's current guest (the queries read the stored rows, so its
// pending edits are written first), then fills the Summary tab of the open guest window.
// A failure shows the store's description with the title "Error #" and its number.
void GuestSummary();
