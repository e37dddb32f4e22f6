// Rules of the checklist window that need no widgets.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace checklist {

// Columns of the checklist grid.
enum Column { ColDone = 0, ColCheckItem = 1, ColDueDate = 2, ColDateDone = 3 };

// The two columns whose cells are edited through the date picker.
inline bool isDateColumn(int column)
{
    return column == ColDueDate || column == ColDateDone;
}

// Calendar days from today to the wedding day, whatever the time of day; negative once
// the wedding is past.
int daysBeforeWedding(const QDate& today, const QDateTime& wedding);

// The caption of the date picker opened from a column: "Enter Due Date".
QString pickerCaption(const QString& columnCaption);

// What the picker's answer puts into a date cell: the answer without surrounding blanks.
// Nothing when the answer is empty, or when it is the cell's own text (a cancelled
// picker): the cell then keeps its value, time of day included.
std::optional<QString> pickedCellText(const QString& answer, const QString& cellText);

}  // namespace checklist
