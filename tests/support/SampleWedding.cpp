#include "tests/support/SampleWedding.h"

#include "store/Store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace testsupport {

QList<QStringList> readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    const QString text = QString::fromUtf8(file.readAll());
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row << cell;
            cell.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row << cell;
            cell.clear();
            rows << row;
            row.clear();
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty())
        rows << (row << cell);
    return rows;
}

namespace {

// A cell as the store keeps it: Yes/No as 0/1, amounts in ten-thousandths, dates as ISO text.
QVariant storedValue(const QString& cell, store::FieldType type)
{
    if (cell.isEmpty())
        return {};
    switch (type) {
        case store::FieldType::YesNo:
            return qint64(cell.compare("Yes", Qt::CaseInsensitive) == 0 || cell == "1" ||
                          cell.compare("True", Qt::CaseInsensitive) == 0);
        case store::FieldType::Currency: {
            const auto amount = store::Currency::parse(cell);
            if (!amount)
                throw std::runtime_error(("not an amount: " + cell).toStdString());
            return qint64(amount->raw());
        }
        case store::FieldType::Number:
            return cell.toLongLong();
        case store::FieldType::DateTime: {
            QDateTime when = QDateTime::fromString(cell, Qt::ISODate);
            if (!when.isValid())
                when = QDateTime::fromString(cell, "yyyy-MM-dd HH:mm:ss");
            return when.toString("yyyy-MM-dd HH:mm:ss");
        }
        default:
            return cell;
    }
}

int loadTable(store::Database& db, const QString& table, const QList<QStringList>& rows)
{
    if (rows.size() < 2)
        return 0;
    const QStringList header = rows.first();
    QList<store::FieldType> types;
    const QList<store::FieldInfo> fields = db.tableFields(table);
    for (const QString& name : header) {
        auto found = std::find_if(fields.begin(), fields.end(), [&](const store::FieldInfo& f) {
            return f.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == fields.end())
            throw std::runtime_error(("no field " + table + "." + name).toStdString());
        types << found->type;
    }
    QStringList names, marks;
    for (const QString& name : header) {
        names << '[' + name + ']';
        marks << "?";
    }
    const QString sql =
        "INSERT INTO [" + table + "] (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")";
    int added = 0;
    for (int r = 1; r < rows.size(); ++r) {
        if (rows[r].size() == 1 && rows[r][0].isEmpty())
            continue;
        QVariantList params;
        for (int c = 0; c < header.size(); ++c)
            params << storedValue(rows[r].value(c), types[c]);
        added += db.execute(sql, params);
    }
    return added;
}

}  // namespace

int loadSampleWedding(store::Database& db, const QString& dir)
{
    if (dir.isEmpty())
        throw std::runtime_error("the sample wedding is not there");
    int added = 0;
    for (const QFileInfo& file : QDir(dir).entryInfoList({"*.csv"}, QDir::Files, QDir::Name))
        added += loadTable(db, file.completeBaseName(), readCsv(file.filePath()));
    return added;
}

}  // namespace testsupport
