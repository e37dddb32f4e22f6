// Reading what a report prints: the template is resolved against the database (every
// table and field it names must exist), one read-only SELECT is written from it with the
// selection formulas as bound conditions, and the rows come back as the store's values
// (text, Yes/No as bool, store::Currency, QDateTime, qint64; Null as an invalid QVariant).
#pragma once

#include "reports/Catalog.h"
#include "reports/Formula.h"
#include "reports/ReportTemplate.h"

#include <vector>


namespace reports {

struct ReportQuery {
    QString sql;
    QVariantList params;
    std::vector<FieldRef> columns;  // what each value of a row is
    int groupColumn = -1;           // the group key's column, -1 without groups
};

// Checks the template and the caller's formula against the database and writes the
// query. Binds every pattern of the template to its column. Throws ReportError.
ReportQuery buildQuery(const store::Database& db, ReportTemplate& report, const Formula& selection);

// Runs a query of buildQuery. Throws ReportError on a failure of the database.
std::vector<Row> readRows(const store::Database& db, const ReportQuery& query);

// The page heading, with its fields read from the first row of their tables.
QString readHeading(const store::Database& db, ReportTemplate& report);

}  // namespace reports
