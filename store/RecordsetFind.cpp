// Finding rows by a condition, the index of a table-type set, and sets derived from a set
// (sorted or filtered sets, clones).
#include "store/RecordsetImpl.h"

namespace store {

using sql::raise;

// ---------------------------------------------------------------------------------------
// Finding

dialect::Resolver RecordsetImpl::columnResolver() const
{
    return [this](const QStringList&, const QString&, const QString& name) {
        const int i = fieldIndex(name);
        return i < 0 ? dialect::Kind::Unknown : kindOf(columns_[size_t(i)].info.type);
    };
}

std::shared_ptr<sql::Statement> RecordsetImpl::findStatement(const QString& key)
{
    for (auto& [text, st] : findStatements_)
        if (text == key)
            return st;
    QString sqlText;
    const QString condition = dialect::translateCondition(key, columnResolver());
    const QString alias = dialect::quoteIdentifier(source_.keyed() ? source_.table : QStringLiteral("q"));
    if (keyed_) {
        sqlText = "SELECT __k FROM (SELECT " + source_.qualifier + ".rowid AS __k, " + source_.selectList +
                  " FROM " + source_.from + ") AS " + alias + " WHERE " + condition;
    } else {
        // Copied rows are handed to SQLite one at a time as parameters.
        QStringList values;
        for (size_t i = 0; i < columns_.size(); ++i)
            values << QStringLiteral("?%1 AS %2")
                          .arg(i + 1)
                          .arg(dialect::quoteIdentifier(columns_[i].info.name));
        sqlText = "SELECT 1 FROM (SELECT " + values.join(", ") + ") AS " + alias + " WHERE " + condition;
    }
    auto st = std::make_shared<sql::Statement>(dbi_->db, sqlText);
    if (findStatements_.size() >= 8)
        findStatements_.erase(findStatements_.begin());
    findStatements_.emplace_back(key, st);
    return st;
}

std::vector<int> RecordsetImpl::matchingPositions(const QString& condition, const QVariantList& params)
{
    const auto st = findStatement(condition);
    std::vector<int> found;
    QVariantList values;
    for (const QVariant& v : params)
        values << sql::parameterValue(v);
    if (keyed_) {
        st->bindAll(values);
        while (st->step()) {
            const int p = positionOf(st->columnInt(0));
            if (p >= 0)
                found.push_back(p);
        }
        return found;
    }
    const int first = int(columns_.size()) + 1;
    for (size_t r = 0; r < rows_->size(); ++r) {
        const Row& row = (*rows_)[r];
        for (size_t c = 0; c < row.size(); ++c)
            st->bind(int(c + 1), row[c]);
        for (int i = 0; i < values.size(); ++i)
            st->bind(first + i, values[i]);
        if (st->step()) {
            found.push_back(int(r));
            st->reset();
        }
    }
    return found;
}

void RecordsetImpl::find(FindFrom from, const QString& condition, const QVariantList& params)
{
    checkOpen();
    discardEdit();
    const std::vector<int> found = matchingPositions(condition, params);
    int best = -1;
    const int current = onDeleted_ ? pos_ - 1 : pos_;  // a deleted row counts as just before pos_
    for (int p : found) {
        switch (from) {
            case FindFrom::First:
                if (best < 0 || p < best)
                    best = p;
                break;
            case FindFrom::Last:
                if (p > best)
                    best = p;
                break;
            case FindFrom::Next:
                if (p > current && (best < 0 || p < best))
                    best = p;
                break;
            case FindFrom::Previous:
                if (p < pos_ && p > best)
                    best = p;
                break;
        }
    }
    noMatch_ = best < 0;
    if (!noMatch_) {
        pos_ = best;
        onDeleted_ = false;
    }
}

void RecordsetImpl::findFirst(const QString& c, const QVariantList& p)
{
    find(FindFrom::First, c, p);
}
void RecordsetImpl::findNext(const QString& c, const QVariantList& p)
{
    find(FindFrom::Next, c, p);
}
void RecordsetImpl::findPrevious(const QString& c, const QVariantList& p)
{
    find(FindFrom::Previous, c, p);
}
void RecordsetImpl::findLast(const QString& c, const QVariantList& p)
{
    find(FindFrom::Last, c, p);
}

// ---------------------------------------------------------------------------------------
// Index, sort, filter, derived sets

void RecordsetImpl::setIndex(const QString& indexName)
{
    checkOpen();
    if (type_ != RecordsetType::Table)
        raise(err::NotSupported, QStringLiteral("Only a table-type record set has an index."));
    const QString wanted = plainName(indexName);
    QString order;
    QStringList columns;
    QString found;
    if (wanted.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) != 0) {
        sql::Statement st(
            dbi_->db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 "
                                     "AND name IN (?2 COLLATE NOCASE, ?3 COLLATE NOCASE)"));
        st.bind(1, source_.table);
        st.bind(2, wanted);
        st.bind(3, source_.table + "_" + wanted);
        if (st.step()) {
            found = st.column(0).toString();
            st.reset();
        }
        if (!found.isEmpty()) {
            sql::Statement info(dbi_->db,
                                QStringLiteral("SELECT name, desc, coll FROM pragma_index_xinfo(?1) "
                                               "WHERE key = 1 ORDER BY seqno"));
            info.bind(1, found);
            QStringList parts;
            while (info.step()) {
                if (info.isNull(0))
                    raise(err::UnknownIndex, QStringLiteral("The index '%1' orders by an expression, which a "
                                                            "table-type record set cannot follow.")
                                                 .arg(found));
                const QString column = info.column(0).toString();
                columns << column.toLower();
                parts << dialect::quoteIdentifier(column) + " COLLATE " +
                             dialect::quoteIdentifier(info.column(2).toString()) +
                             (info.columnInt(1) ? " DESC" : "");
            }
            order = parts.join(", ");
        } else {
            // An index named after a column of the table orders by that column.
            const auto schema = dbi_->schema(source_.table);
            const int f = schema->field(wanted);
            if (f < 0)
                raise(
                    err::UnknownIndex,
                    QStringLiteral("'%1' is not an index of the table '%2'.").arg(indexName, source_.table));
            columns << schema->fields[f].name.toLower();
            order = dialect::quoteIdentifier(schema->fields[f].name);
            found = wanted;
        }
    } else {
        found = QStringLiteral("PrimaryKey");
    }
    discardEdit();
    index_ = found;
    indexOrder_ = order;
    indexColumns_ = columns;
    keysStatement_.finalize();
    clearCache();
    updateRangeOrder();
    reload(false);
}

void RecordsetImpl::setSort(const QString& sortText)
{
    checkOpen();
    if (type_ == RecordsetType::Table)
        raise(err::NotSupported,
              QStringLiteral("A table-type record set cannot be sorted; it follows its index."));
    dialect::translateSort(sortText, columnResolver());
    sort_ = sortText;
}

void RecordsetImpl::setFilter(const QString& condition)
{
    checkOpen();
    if (type_ == RecordsetType::Table)
        raise(err::NotSupported, QStringLiteral("A table-type record set cannot be filtered."));
    if (!condition.trimmed().isEmpty())
        dialect::translateCondition(condition, columnResolver());
    filter_ = condition;
}

RecordSource RecordsetImpl::derivedSource() const
{
    RecordSource s = source_;
    const QString f =
        filter_.trimmed().isEmpty() ? QString() : dialect::translateCondition(filter_, columnResolver());
    const QString o = dialect::translateSort(sort_, columnResolver());
    if (s.keyed()) {
        if (!f.isEmpty())
            s.where = s.where.isEmpty() ? f : "(" + s.where + ") AND (" + f + ")";
        if (!o.isEmpty())
            s.orderBy = o;
        else if (type_ == RecordsetType::Table)
            s.orderBy = indexOrder_;
    } else {
        s.sql = "SELECT * FROM (" + s.sql + ") AS \"q\"" + (f.isEmpty() ? QString() : " WHERE " + f) +
                (o.isEmpty() ? QString() : " ORDER BY " + o);
    }
    return s;
}

std::unique_ptr<Recordset> RecordsetImpl::openRecordset(RecordsetType type)
{
    checkOpen();
    if (type == RecordsetType::Table)
        raise(err::InvalidOperation, QStringLiteral("A table-type record set opens a table by name."));
    return std::make_unique<RecordsetImpl>(*db_, derivedSource(), type);
}

std::unique_ptr<Recordset> RecordsetImpl::clone()
{
    checkOpen();
    RecordSource s = source_;
    if (type_ == RecordsetType::Table)
        s.orderBy = indexOrder_;
    auto copy = std::unique_ptr<RecordsetImpl>(new RecordsetImpl(*db_, std::move(s), type_, CloneTag{}));
    copy->index_ = index_;
    copy->indexOrder_ = indexOrder_;
    copy->indexColumns_ = indexColumns_;
    copy->columns_ = columns_;
    copy->columnByLower_ = columnByLower_;
    copy->keys_ = keys_;
    copy->rows_ = rows_;
    copy->pos_ = 0;
    if (source_.keyed())
        copy->describeColumns();
    return copy;
}

RecordsetImpl::RecordsetImpl(Database& db, RecordSource source, RecordsetType type, CloneTag)
    : db_(&db), dbi_(&db.impl()), source_(std::move(source)), type_(type)
{
    keyed_ = source_.keyed() && type != RecordsetType::Snapshot;
    updatable_ = keyed_;
    cacheGeneration_ = dbi_->generation;
    dbi_->sets.insert(this);
}

}  // namespace store
