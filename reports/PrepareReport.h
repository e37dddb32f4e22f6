// A report made ready to show: the template read, its rows selected with bound conditions
// over a read-only query, its pages laid out. No window and no printer is involved, so the
// command-line tool prepares its reports here too. Every failure is a ReportError.
#pragma once

#include "reports/ReportPages.h"
#include "store/Store.h"

#include <QDate>
#include <QString>

namespace reports {

// Reads the template, selects its rows and lays out its pages. `detailFont` is a
// section-font text ("" = the template's font). Throws ReportError.
ReportPages prepareReport(const store::Database& db, const QString& templatePath, const QString& formula,
                          const QString& detailFont = QString(), QDate printDate = QDate::currentDate());

}  // namespace reports
