// Why a value or a row could not be stored, in the user's words: the informative text
// under a window's message. Pure functions, without widgets.
#pragma once

#include "store/Store.h"

#include <QString>

namespace controls {

// A field name as a caption when no window gave one: "LastName" -> "Last Name".
QString captionOfFieldName(const QString& field);

// What a field of a type takes: "an amount, such as 12.50", "a date, such as 15-Aug-2027".
QString expectedValueText(store::FieldType type);

// The reason of a store failure (number and description) met while storing a field with
// a caption and type (caption empty when the failure concerns the row or the file):
// "Last Name takes at most 20 characters.", "The database is locked by another program.",
// "The disk is full.", "Unit Cost takes an amount, such as 12.50."
QString failureReason(int number, const QString& description, const QString& caption = QString(),
                      store::FieldType type = store::FieldType::Unknown);

}  // namespace controls
