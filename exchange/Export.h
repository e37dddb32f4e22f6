// Exporting the wedding's lists (guests, vendors, expenses, checklist) as CSV (UTF-8
// with BOM, so common spreadsheet programs keep accents) or as an XLSX workbook with
// typed cells: money as numbers in a currency format, dates as dates, Yes/No as
// booleans, the headers as the windows caption them, a frozen header row.
#pragma once

#include "store/Store.h"

#include <QString>
#include <QVariantList>

#include <optional>
#include <vector>

namespace exchange {

enum class ExportList { Guests, Vendors, Expenses, Checklist };
enum class ExportFormat { Csv, Xlsx };
enum class ColumnType { Text, Money, Date, YesNo, Number };

struct ExportColumn {
    QString caption;
    QString field;
    ColumnType type = ColumnType::Text;
    int width = 12;  // characters, for the workbook
};

struct ExportTable {
    QString title;  // "Guests", also the worksheet's name
    std::vector<ExportColumn> columns;
    std::vector<QVariantList> rows;  // values as the store reads them
};

inline const ExportList AllLists[] = {ExportList::Guests, ExportList::Vendors, ExportList::Expenses,
                                      ExportList::Checklist};
QString listName(ExportList list);   // "guests", "vendors", "expenses", "checklist"
QString listTitle(ExportList list);  // "Guests", "Vendors", "Expenses", "Checklist"
std::optional<ExportList> listByName(const QString& name);
// The format a file name asks for by its extension (.csv, .txt -> CSV; .xlsx -> XLSX).
std::optional<ExportFormat> formatOfPath(const QString& path);

const std::vector<ExportColumn>& exportColumns(ExportList list);
// The rows in the order their window lists them (guests by last name, vendors by name,
// expenses and tasks as stored).
ExportTable readExport(store::Database& database, ExportList list);

// A cell as the CSV shows it: money "1234.50", dates "2026-06-13", Yes/No "Yes"/"No".
QString csvText(const QVariant& value, ColumnType type);
// Both replace the file only once it is complete; ExchangeError on failure.
void writeCsv(const ExportTable& table, const QString& path);
void writeXlsx(const ExportTable& table, const QString& path);

// Reads and writes one list; the format follows the extension. Returns the rows written.
int exportList(store::Database& database, ExportList list, const QString& path);

}  // namespace exchange
