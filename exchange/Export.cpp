#include "exchange/Export.h"

#include "exchange/CsvFile.h"
#include "exchange/ExchangeError.h"
#include "exchange/XlsxSheet.h"
#include "shell/Modules.h"
#include "store/OutputFile.h"
#include "store/ReadQuery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace exchange {

QString listName(ExportList list)
{
    return listTitle(list).toLower();
}

QString listTitle(ExportList list)
{
    switch (list) {
        case ExportList::Guests:
            return QStringLiteral("Guests");
        case ExportList::Vendors:
            return QStringLiteral("Vendors");
        case ExportList::Expenses:
            return QStringLiteral("Expenses");
        case ExportList::Checklist:
            return QStringLiteral("Checklist");
    }
    return {};
}

std::optional<ExportList> listByName(const QString& name)
{
    for (ExportList l : AllLists)
        if (listName(l) == name.toLower())
            return l;
    return std::nullopt;
}

std::optional<ExportFormat> formatOfPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt"))
        return ExportFormat::Csv;
    if (suffix == QLatin1String("xlsx"))
        return ExportFormat::Xlsx;
    return std::nullopt;
}

// The columns of the expense list that come from the budget's plan rather than from Expenses.
const QString PlanColumn = QStringLiteral("(plan)");

const std::vector<ExportColumn>& exportColumns(ExportList list)
{
    using T = ColumnType;
    static const std::vector<ExportColumn> guests = {
        {"Title", "Prefix", T::Text, 12},
        {"FirstName", "FirstName", T::Text, 16},
        {"LastName", "LastName", T::Text, 18},
        {"Address", "Address", T::Text, 30},
        {"City", "City", T::Text, 16},
        {"State", "State", T::Text, 8},
        {"Zip/Postal Code", "PostalCode", T::Text, 12},
        {"Country", "Country", T::Text, 14},
        {"Phone", "HomePhone", T::Text, 16},
        {"Guest of", "guestof", T::Text, 9},
        {"Ceremony", "InvCeremony", T::YesNo, 10},
        {"Reception", "InvReception", T::YesNo, 10},
        {"Shower", "ShowerGuest", T::YesNo, 9},
        {"Rehearsal", "InvRehearsal", T::YesNo, 10},
        {"Total people invited", "Invited", T::Number, 10},
        {"Received Response", "Confirmed", T::YesNo, 10},
        {"Confirmed number attending", "NumberAttending", T::Number, 10},
        {"Shower Total invited", "ShowerInvited", T::Number, 10},
        {"Shower Received Response", "ShowerReplied", T::YesNo, 10},
        {"Shower Confirmed number attending", "ShowerComing", T::Number, 10},
        {"Engagement Gift Description", "EngageGift", T::Text, 20},
        {"Engagement Gift Amount", "engamt", T::Money, 12},
        {"Engagement Thank-you card sent", "EngageNoteSent", T::YesNo, 10},
        {"Shower Gift Description", "ShowerGift", T::Text, 20},
        {"Shower Gift Amount", "showamt", T::Money, 12},
        {"Shower Thank-you card sent", "ShowerNoteSent", T::YesNo, 10},
        {"Reception Gift Description", "WeddingGift", T::Text, 20},
        {"Reception Gift Amount", "wedamt", T::Money, 12},
        {"Reception Thank-you card sent", "WeddingNoteSent", T::YesNo, 10},
        {"Wedding Invitation", "wedlbl", T::Text, 30},
        {"Shower Invitation", "showlbl", T::Text, 20},
    };
    static const std::vector<ExportColumn> vendors = {
        {"Vendor Name", "VendorName", T::Text, 24},
        {"Address", "Address1", T::Text, 26},
        {"Address 2", "Address2", T::Text, 20},
        {"City", "City", T::Text, 16},
        {"State", "State", T::Text, 8},
        {"Zip/Postal", "Zip", T::Text, 10},
        {"Contact Name", "Contact", T::Text, 18},
        {"Telephone", "Phone", T::Text, 16},
        {"Fax", "Fax", T::Text, 16},
        {"Service Type", "Service", T::Text, 20},
        {"Additional Notes", "Notes", T::Text, 40},
    };
    // The expense window's own caption has two blanks in "Unit  Cost".
    static const std::vector<ExportColumn> expenses = {
        {"Description", "Description", T::Text, 30},
        {"Unit  Cost", "Amount", T::Money, 12},
        {"Qty", "Quantity", T::Number, 6},
        {"Deposit", "Downpayment", T::Money, 12},
        {"Paid", "Paid", T::Money, 12},
        {"Total", "Total", T::Money, 12},
        {"Owing", "Owing", T::Money, 12},
        {"Category", PlanColumn, T::Text, 20},
        {"Estimate", PlanColumn, T::Money, 12},
        {"Vendor", PlanColumn, T::Text, 24},
        {"Next Due", PlanColumn, T::Date, 12},
    };
    static const std::vector<ExportColumn> checklist = {
        {"Done?", "Done", T::YesNo, 7},
        {"CheckItem", "CheckItem", T::Text, 50},
        {"Due Date", "DueDate", T::Date, 12},
        {"Date Done", "CheckDate", T::Date, 12},
    };
    switch (list) {
        case ExportList::Guests:
            return guests;
        case ExportList::Vendors:
            return vendors;
        case ExportList::Expenses:
            return expenses;
        case ExportList::Checklist:
            break;
    }
    return checklist;
}

namespace {

// Per expense row (by its key): its category, estimate, vendor and the due date of its first
// payment not yet paid, from the budget's tables (none in a file not yet given them).
QHash<qint64, QVariantList> expensePlans(store::Database& database)
{
    QHash<qint64, QVariantList> plans;
    if (!database.tableNames().contains(QStringLiteral("PlanItems")))
        return plans;
    store::ReadQuery rows(database,
                          QStringLiteral("SELECT e.rowid, c.Name, i.Estimate, v.VendorName, (SELECT min(p.DueDate) FROM "
                                         "PlanPayments p WHERE p.ExpenseKey = e.rowid AND NOT p.IsPaid) FROM Expenses e "
                                         "LEFT JOIN PlanItems i ON i.ExpenseKey = e.rowid LEFT JOIN PlanCategories c ON "
                                         "c.CategoryId = i.CategoryId LEFT JOIN Vendors v ON v.rowid = i.VendorKey"));
    using store::FieldType;
    while (rows.next())
        plans.insert(rows.value(0, FieldType::Number).toLongLong(),
                     {rows.value(1, FieldType::Text), rows.value(2, FieldType::Currency),
                      rows.value(3, FieldType::Text), rows.value(4, FieldType::DateTime)});
    return plans;
}

}  // namespace

ExportTable readExport(store::Database& database, ExportList list)
{
    ExportTable table{listTitle(list), exportColumns(list), {}};
    const QString index = list == ExportList::Guests    ? QStringLiteral("LastName")
                          : list == ExportList::Vendors ? QStringLiteral("CompanyName")
                                                        : QString();
    std::unique_ptr<store::Recordset> set = database.openRecordset(
        listTitle(list), index.isEmpty() ? store::RecordsetType::Dynaset : store::RecordsetType::Table);
    if (!index.isEmpty())
        set->setIndex(index);
    std::vector<int> fields;
    for (const ExportColumn& c : table.columns)
        if (c.field != PlanColumn)  // those follow the table's own columns
            fields.push_back(set->fieldIndex(c.field));
    table.rows.reserve(size_t(set->recordCount()));
    const QHash<qint64, QVariantList> plans =
        list == ExportList::Expenses ? expensePlans(database) : QHash<qint64, QVariantList>();
    if (!set->eof())
        set->moveFirst();
    for (; !set->eof(); set->moveNext()) {
        QVariantList row;
        row.reserve(qsizetype(fields.size()));
        for (int f : fields)
            row << (f < 0 ? QVariant() : set->value(f));
        if (list == ExportList::Expenses)
            row += plans.value(set->bookmark(), QVariantList(4));
        table.rows.push_back(std::move(row));
    }
    return table;
}

QString csvText(const QVariant& value, ColumnType type)
{
    if (value.isNull())
        return type == ColumnType::YesNo ? QStringLiteral("No") : QString();
    switch (type) {
        case ColumnType::Money:
            return value.value<store::Currency>().toString(2);
        case ColumnType::Date: {
            const QDateTime dt = value.toDateTime();
            return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                            : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        case ColumnType::YesNo:
            return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
        case ColumnType::Number:
            break;
        case ColumnType::Text:
            return textCell(value.toString());
    }
    return value.toString();
}

namespace {

bool startsLikeFormula(const QString& text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && starts.contains(text.front());
}

}  // namespace

QString textCell(const QString& text)
{
    return startsLikeFormula(text) ? QLatin1Char('\'') + text : text;
}

QString unguardedText(const QString& cell)
{
    return cell.startsWith(QLatin1Char('\'')) && startsLikeFormula(cell.mid(1)) ? cell.mid(1) : cell;
}

void writeCsv(const ExportTable& table, const QString& path, const QString& weddingPath)
{
    QByteArray out("\xEF\xBB\xBF");
    QStringList headers;
    for (const ExportColumn& c : table.columns)
        headers << c.caption;
    out += csvLine(headers);
    QStringList cells;
    for (const QVariantList& row : table.rows) {
        cells.clear();
        for (size_t i = 0; i < table.columns.size(); ++i)
            cells << csvText(row.value(qsizetype(i)), table.columns[i].type);
        out += csvLine(cells);
    }
    sayingStoreFailures([&] { store::output::writeFile(path, out, weddingPath); });
}

namespace {

// The cell of a value as the store reads it, for a column of type.
xlsx::Cell sheetCell(const QVariant& value, ColumnType type)
{
    using Kind = xlsx::Cell::Kind;
    xlsx::Cell cell;
    if (value.isNull() && type != ColumnType::YesNo)
        return cell;
    switch (type) {
        case ColumnType::Money:
            cell.kind = Kind::Money;
            cell.number = value.value<store::Currency>().toDouble();
            break;
        case ColumnType::Date: {
            const QDateTime dt = value.toDateTime();
            cell.kind = dt.time() == QTime(0, 0) ? Kind::Date : Kind::DateTime;
            cell.year = dt.date().year();
            cell.month = dt.date().month();
            cell.day = dt.date().day();
            cell.hour = dt.time().hour();
            cell.minute = dt.time().minute();
            cell.second = dt.time().second();
            break;
        }
        case ColumnType::YesNo:
            cell.kind = Kind::Bool;
            cell.yes = value.toBool();
            break;
        case ColumnType::Number:
            cell.kind = Kind::Number;
            cell.number = value.toDouble();
            break;
        case ColumnType::Text:
            cell.kind = Kind::Text;
            cell.text = value.toString().toStdString();
            break;
    }
    return cell;
}

// Cuts a text to the characters a cell holds, never inside a character; returns how many
// characters it had, or 0 when it fitted.
qsizetype fitToCell(QString& text)
{
    const qsizetype characters = text.toUcs4().size();
    if (characters <= MaxCellCharacters)
        return 0;
    qsizetype end = 0;
    for (qsizetype n = 0; n < MaxCellCharacters; ++n)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    text.truncate(end);
    return characters;
}

xlsx::Sheet sheetOf(const ExportTable& table, QStringList* notes)
{
    xlsx::Sheet sheet;
    sheet.title = table.title.toStdString();
    for (const ExportColumn& col : table.columns)
        sheet.columns.push_back(
            {col.caption.toStdString(), std::min(std::max<int>(col.width, int(col.caption.size()) + 2), 40)});
    for (const QVariantList& row : table.rows) {
        std::vector<xlsx::Cell> cells;
        for (size_t c = 0; c < table.columns.size(); ++c) {
            QVariant value = row.value(qsizetype(c));
            if (table.columns[c].type == ColumnType::Text && !value.isNull()) {
                QString text = value.toString();
                if (const qsizetype had = fitToCell(text); had > 0) {
                    if (notes)
                        *notes << QStringLiteral(
                                      "Row %1, column \"%2\": the text of %3 characters was cut to "
                                      "%4, the most a workbook cell holds.")
                                      .arg(sheet.rows.size() + 1)
                                      .arg(table.columns[c].caption)
                                      .arg(had)
                                      .arg(MaxCellCharacters);
                    value = text;
                }
            }
            cells.push_back(sheetCell(value, table.columns[c].type));
        }
        sheet.rows.push_back(std::move(cells));
    }
    return sheet;
}

}  // namespace

void writeXlsx(const ExportTable& table, const QString& path, const QString& weddingPath, QStringList* notes)
{
    QString why;
    const auto write = shell::moduleFunction<xlsx::WriteFunction>(QString::fromLatin1(xlsx::ModuleName),
                                                                  xlsx::WriteFunctionName, &why);
    if (!write)
        throw ExchangeError(QStringLiteral("\"%1\" cannot be written: %2").arg(path, why));
    QStringList cut;
    const xlsx::Sheet sheet = sheetOf(table, &cut);
    sayingStoreFailures([&] {
        store::output::PendingFile pending(path, weddingPath);
        std::string error;
        write(&sheet, QFile::encodeName(pending.temporaryPath()).constData(), &error);
        if (!error.empty())
            throw ExchangeError(
                QStringLiteral("\"%1\" cannot be written: %2").arg(path, QString::fromStdString(error)));
        pending.commit();
    });
    if (notes)
        *notes << cut;
}

int exportList(store::Database& database, ExportList list, const QString& path, QStringList* notes)
{
    const std::optional<ExportFormat> format = formatOfPath(path);
    if (!format)
        throw ExchangeError(QStringLiteral("\"%1\": choose a file name ending in .csv or .xlsx.")
                                .arg(QFileInfo(path).fileName()));
    const ExportTable table = readExport(database, list);
    if (*format == ExportFormat::Csv)
        writeCsv(table, path, database.path());
    else
        writeXlsx(table, path, database.path(), notes);
    return int(table.rows.size());
}

}  // namespace exchange
