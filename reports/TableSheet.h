// A report of plain figures laid out as a table: a title, a line under it, the table with its
// column headings (repeated on each page, numbers right-aligned, the last row in bold), and
// beneath it sections of lines, each under a heading. The figures come from the caller as
// texts, so that any subsystem's figures print through the same pages as every report.
//
//     reports::TableSheet sheet{"Catering Summary", "Printed ...", columns, rows, sections};
//     reports::writePdf(reports::layoutTableSheet(sheet), "catering.pdf");
//
// The reports window offers the sheets registered with setTableSheetSource (the top floor
// registers them, since the figures belong to subsystems beside this one).
#pragma once

#include "reports/ReportPages.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace reports {

struct TableSheet {
    QString title;
    QString subtitle;  // a line each between line breaks
    QStringList columns;
    std::vector<QStringList> rows;  // the last one printed in bold (a total)
    struct Section {
        QString heading;
        std::vector<QStringList> lines;  // columns of a line, printed side by side
    };
    std::vector<Section> sections;
};

// Landscape when the columns need it; a new page whenever the next line would not fit.
ReportPages layoutTableSheet(const TableSheet& sheet);

// The source of the catering sheet (none until the program registers one). It may throw
// store::StoreError.
using TableSheetSource = std::function<TableSheet()>;
void setTableSheetSource(TableSheetSource source);
const TableSheetSource& tableSheetSource();

}  // namespace reports
