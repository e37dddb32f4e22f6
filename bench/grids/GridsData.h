// A wedding database for the grid benchmark and preview: a copy of the delivered database
// in a temporary program directory with a wedding date and generated checklist tasks and
// expenses, opened as the wedding database.
#pragma once

#include <QTemporaryDir>

namespace gridsbench {

class GridsData {
public:
    // tasks checklist rows (replacing the delivered ones) and expenses expense rows.
    GridsData(int tasks, int expenses);
    ~GridsData();

private:
    QTemporaryDir dir_;
};

}  // namespace gridsbench
