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

// A cell as the CSV shows it: money "1234.50", dates "2026-06-13", Yes/No "Yes"/"No". A text
// that a spreadsheet program would take as a formula (it begins with =, +, -, @, a tab or a
// carriage return) gets a leading apostrophe, so that it is shown as the text it is; numbers,
// money and dates stay plain values.
QString csvText(const QVariant& value, ColumnType type);
QString textCell(const QString& text);
// The text of a cell read back from such a file: the apostrophe that textCell() added is taken
// off again, so that an export imported again gives the texts that were exported.
QString unguardedText(const QString& cell);

// The most characters one workbook cell holds.
inline constexpr qsizetype MaxCellCharacters = 32767;

// Both refuse a path that is (or leads to) the wedding file, its journal or one of its
// backups (weddingPath empty: the database open in the default workspace), and replace the
// file only once it is complete; ExchangeError on failure. writeXlsx cuts a text longer than a
// cell holds and adds a note of it to *notes.
void writeCsv(const ExportTable& table, const QString& path, const QString& weddingPath = {});
void writeXlsx(const ExportTable& table, const QString& path, const QString& weddingPath = {},
               QStringList* notes = nullptr);

// Reads and writes one list; the format follows the extension. Returns the rows written;
// what had to be changed on the way (a text cut to fit a cell) is added to *notes.
int exportList(store::Database& database, ExportList list, const QString& path, QStringList* notes = nullptr);

}  // namespace exchange
