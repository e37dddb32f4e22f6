// The two boxes every list window shows around deleting its current row: the question
// before, and the store's reason when the deletion fails.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace controls {

// "Do you want to delete NAME" under "Confirm Delete", with No the default: true for Yes.
bool confirmDelete(const QString& name, QWidget* parent);

// Runs a deletion; a failure of the store is shown in its own words under "Delete Error",
// and the list stays as it was.
void deleteShowingErrors(const std::function<void()>& remove, QWidget* parent);

}  // namespace controls
