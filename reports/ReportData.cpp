#include "reports/ReportData.h"

#include "reports/ReportError.h"
#include "store/ReadQuery.h"

namespace reports {

namespace {

// The columns of the query, each field once.
class ColumnList {
public:
    int indexOf(const FieldRef& field)
    {
        for (size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i] == field)
                return int(i);
        columns_.push_back(field);
        return int(columns_.size() - 1);
    }
    const std::vector<FieldRef>& columns() const { return columns_; }

private:
    std::vector<FieldRef> columns_;
};

class QueryBuilder {
public:
    QueryBuilder(const store::Database& db, ReportTemplate& report) : db_(db), report_(report), tables_(report.tables()) {}

    ReportQuery build(const Formula& selection)
    {
        loadTables();
        ReportQuery query;
        const QString from = fromClause();
        bindPatterns();
        if (report_.group)
            query.groupColumn = columnOf(report_.group->key, report_.group->line);
        const SqlCondition where = conditions(selection);
        QStringList selected;
        for (const FieldRef& f : columns_.columns())
            selected << qualifiedColumn(f);
        if (selected.isEmpty())
            selected << QStringLiteral("1");
        query.sql = "SELECT " + selected.join(", ") + " FROM " + from;
        if (!where.sql.isEmpty())
            query.sql += " WHERE " + where.sql;
        query.sql += orderClause();
        query.params = where.params;
        query.columns = columns_.columns();
        return query;
    }

private:
    [[noreturn]] void fail(int line, const QString& what) const
    {
        throw ReportError(templateError(report_.path, line, what));
    }

    void loadTables()
    {
        if (!catalog_.load(db_, report_.source))
            fail(report_.sourceLine,
                 QStringLiteral("the table or query %1 does not exist").arg(report_.source));
        for (const TemplateJoin& join : report_.joins)
            if (!catalog_.load(db_, join.table))
                fail(join.line, QStringLiteral("the table or query %1 does not exist").arg(join.table));
        // Spell every table as the database declares it.
        report_.source = catalog_.table(report_.source)->name;
        for (TemplateJoin& join : report_.joins)
            join.table = catalog_.table(join.table)->name;
        tables_ = report_.tables();
    }

    FieldRef resolve(const FieldName& name, int line, const QStringList& tables) const
    {
        FieldRef ref;
        const QString problem = resolveField(catalog_, tables, name, &ref);
        if (!problem.isEmpty())
            fail(line, problem);
        return ref;
    }

    int columnOf(const FieldName& name, int line) { return columns_.indexOf(resolve(name, line, tables_)); }

    QString fromClause() const
    {
        QString from = quoteIdentifier(report_.source);
        QStringList before{report_.source};
        for (const TemplateJoin& join : report_.joins) {
            const FieldRef left = resolve(join.from, join.line, before);
            const FieldRef right = resolve(join.to, join.line, {join.table});
            from += " LEFT JOIN " + quoteIdentifier(join.table) + " ON " + qualifiedColumn(left) + " = " +
                    qualifiedColumn(right);
            before << join.table;
        }
        return from;
    }

    void bindPattern(TextPattern& pattern, int line)
    {
        pattern.bind([&](const FieldName& name) { return columnOf(name, line); });
    }

    void bindPatterns()
    {
        for (TemplateColumn& column : report_.columns) {
            bindPattern(column.text, column.line);
            checkTotal(column);
        }
        if (report_.group) {
            bindPattern(report_.group->header, report_.group->line);
            bindPattern(report_.group->emptyHeader, report_.group->line);
        }
        if (report_.labels)
            for (TextPattern& line : report_.labels->lines)
                bindPattern(line, report_.labels->line);
    }

    void checkTotal(const TemplateColumn& column) const
    {
        if (column.total != TemplateColumn::Total::Sum)
            return;
        const store::FieldType type = resolve(column.text.singleField()->name, column.line, tables_).type;
        if (type != store::FieldType::Number && type != store::FieldType::Currency &&
            type != store::FieldType::Unknown)
            fail(column.line, QStringLiteral("only numbers and amounts can be summed"));
    }

    SqlCondition conditions(const Formula& selection) const
    {
        SqlCondition own;
        try {
            own = Formula::parse(report_.select).toSql(catalog_, tables_);
        } catch (const ReportError& e) {
            fail(report_.selectLine, e.description());
        }
        const SqlCondition caller = selection.toSql(catalog_, tables_);
        if (own.sql.isEmpty())
            return caller;
        if (caller.sql.isEmpty())
            return own;
        return SqlCondition{'(' + own.sql + ") AND (" + caller.sql + ')', own.params + caller.params};
    }

    // Empty values sort after the others, so undated tasks come last.
    QString orderClause() const
    {
        QStringList keys;
        for (const TemplateSortKey& key : report_.sort) {
            const QString column = qualifiedColumn(resolve(key.field, report_.sortLine, tables_));
            keys << "(" + column + " IS NULL)" << column + (key.descending ? " DESC" : "");
        }
        return keys.isEmpty() ? QString() : " ORDER BY " + keys.join(", ");
    }

    const store::Database& db_;
    ReportTemplate& report_;
    QStringList tables_;
    Catalog catalog_;
    ColumnList columns_;
};

// The store's description ends with a full stop; the report's message adds its own.
QString withoutFullStop(QString text)
{
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

std::vector<Row> runStatement(const store::Database& db, const QString& sql, const QVariantList& params,
                              const std::vector<FieldRef>& columns, int limit = -1)
{
    std::vector<Row> rows;
    try {
        store::ReadQuery query(db, sql, params);
        while ((limit < 0 || int(rows.size()) < limit) && query.next()) {
            Row row;
            row.reserve(columns.size());
            for (size_t i = 0; i < columns.size(); ++i)
                row.push_back(query.value(int(i), columns[i].type));
            rows.push_back(std::move(row));
        }
    } catch (const store::StoreError& e) {
        // A report only ever reads: the store refuses a statement that would write.
        if (e.number() == store::err::InvalidOperation)
            throw ReportError(QStringLiteral("The report tried to change the database and was stopped."));
        throw ReportError(
            QStringLiteral("The report cannot read the database: %1.").arg(withoutFullStop(e.description())));
    }
    return rows;
}

}  // namespace

ReportQuery buildQuery(const store::Database& db, ReportTemplate& report, const Formula& selection)
{
    return QueryBuilder(db, report).build(selection);
}

std::vector<Row> readRows(const store::Database& db, const ReportQuery& query)
{
    return runStatement(db, query.sql, query.params, query.columns);
}

QString readHeading(const store::Database& db, ReportTemplate& report)
{
    // Each table of the heading gives its first row; columns are numbered across tables.
    Catalog catalog;
    std::vector<FieldRef> fields;
    const auto columnOf = [&](const FieldName& name) {
        if (!catalog.load(db, name.table))
            throw ReportError(templateError(report.path, report.headingLine,
                                            QStringLiteral("the table %1 does not exist").arg(name.table)));
        FieldRef ref;
        const QString problem = resolveField(catalog, {catalog.table(name.table)->name}, name, &ref);
        if (!problem.isEmpty())
            throw ReportError(templateError(report.path, report.headingLine, problem));
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i] == ref)
                return int(i);
        fields.push_back(ref);
        return int(fields.size() - 1);
    };
    report.heading.bind(columnOf);
    Row values(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString sql =
            "SELECT " + qualifiedColumn(fields[i]) + " FROM " + quoteIdentifier(fields[i].table);
        const std::vector<Row> first = runStatement(db, sql, {}, {fields[i]}, 1);
        if (!first.empty())
            values[i] = first[0][0];
    }
    return report.heading.evaluate(values).trimmed();
}

}  // namespace reports
