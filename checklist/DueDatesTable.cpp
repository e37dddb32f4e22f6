// Applying the due-date rule to table Checklist.
#include "checklist/DueDates.h"

#include "store/Store.h"

namespace checklist {

void applyDueDates(store::Database& database, const QDateTime& weddingDate)
{
    std::unique_ptr<store::Recordset> tasks =
        database.openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Dynaset);
    if (tasks->eof() && tasks->bof())
        return;
    tasks->moveFirst();
    while (!tasks->eof()) {
        tasks->edit();
        if (const auto due = dueDateFor(weddingDate, tasks->value(QStringLiteral("checktime"))))
            tasks->setValue(QStringLiteral("DueDate"), *due);
        tasks->update();
        tasks->moveNext();
    }
    tasks->close();
}

}  // namespace checklist
