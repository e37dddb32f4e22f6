// The program's log: failures that are deliberately not shown to the user (a reminder that
// could not be read, a set that could not be closed, a rollback after the file went away) are
// written to standard error under the category "orvane", so that they are not lost unseen.
//
//     } catch (const store::StoreError& e) {
//         store::logIgnored("reading the overdue payments", e);  // the notice stays hidden
//     }
//
// QT_LOGGING_RULES="orvane.debug=true" and the like work as for any Qt category.
#pragma once

#include "store/StoreError.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(orvaneLog)

namespace store {

// Writes "WHAT failed: DESCRIPTION (error NUMBER)" as a warning of the category.
void logIgnored(const char* what, const StoreError& error);

}  // namespace store
