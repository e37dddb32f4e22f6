// Due dates of the checklist: every task's lead-time code moves the wedding date back by a
// fixed step (months are calendar months, clamped to the month's last day; the time of day
// is kept).
#pragma once

#include <QDateTime>
#include <QVariant>

#include <optional>

namespace store {
class Database;
}

namespace checklist {

// Lead-time codes of Checklist.checktime.
enum LeadTime {
    SixMonths = 1,
    FourMonths = 2,
    TwoMonths = 3,
    OneMonth = 4,
    TwoWeeks = 5,
    OneWeek = 6,
    TwoDays = 7,
    OneDay = 8,
    WeddingDay = 9,
};

// The due date of a task with the given code; nullopt when the code schedules nothing
// (Null, 0, 10, a fraction, text), so the task keeps its due date.
std::optional<QDateTime> dueDateFor(const QDateTime& weddingDate, const QVariant& code);

// Rewrites Checklist.DueDate of every row whose code schedules it; saves every row.
// An empty table is left alone. Throws store::StoreError; rows saved before a failure
// keep their new dates.
void applyDueDates(store::Database& database, const QDateTime& weddingDate);

}  // namespace checklist
