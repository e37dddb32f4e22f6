// Reading a record set's rows: its columns, its keys, and the values of keyed sets read
// lazily in blocks (or one range scan in index or key order) into a small row cache.
#include "store/RecordsetImpl.h"

#include <algorithm>

namespace store {

using sql::raise;

// ---------------------------------------------------------------------------------------
// Columns and rows

void RecordsetImpl::describeColumns()
{
    if (source_.keyed()) {
        rowStatement_ = sql::Statement(dbi_->db, rowSql(source_.selectList));
        describeQueryColumns(rowStatement_.get(), QString());
        rowColumns_.clear();
        for (size_t i = 0; i < columns_.size(); ++i)
            rowColumns_.push_back(int(i));
        clearCache();
        layouts_.clear();
        newLayout();
        rowStatementVersion_ = NotWanted;
        columnSql_.clear();
        if (source_.selectList == QLatin1String("*")) {
            for (const Column& c : columns_)
                columnSql_ << source_.qualifier + '.' + dialect::quoteIdentifier(c.info.name);
        } else if (source_.selectItems.size() == int(columns_.size())) {
            columnSql_ = source_.selectItems;
        }
        updateRangeOrder();
    } else {
        sql::Statement st(dbi_->db, source_.sql);
        describeQueryColumns(st.get(), source_.view);
    }
}

void RecordsetImpl::describeQueryColumns(sqlite3_stmt* stmt, const QString& view)
{
    const int first = source_.keyed() ? 1 : 0;
    const int count = sqlite3_column_count(stmt);
    columns_.clear();
    columnByLower_.clear();
    columnByName_.clear();
    for (int i = first; i < count; ++i) {
        Column col;
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char* table = sqlite3_column_table_name(stmt, i);
        const char* origin = sqlite3_column_origin_name(stmt, i);
        const QString declaredForView = view.isEmpty() ? QString() : dbi_->viewColumnType(view, name);
        if (!declaredForView.isEmpty()) {
            col.info = sql::fieldInfoFromDeclared(name, declaredForView);
        } else if (table && origin) {
            const auto schema = dbi_->schema(QString::fromUtf8(table));
            const int f = schema->field(QString::fromUtf8(origin));
            if (f >= 0) {
                col.info = schema->fields[f];
                col.defaultExpr = schema->defaults[f];
                if (updatable_ && schema->name.compare(source_.table, Qt::CaseInsensitive) == 0) {
                    col.baseColumn = schema->fields[f].name;
                    col.writable = !schema->fields[f].autoNumber;
                }
            }
            col.info.name = name;
        } else {
            const char* declared = sqlite3_column_decltype(stmt, i);
            col.info = sql::fieldInfoFromDeclared(name, declared ? QString::fromUtf8(declared) : QString());
            const size_t item = size_t(i - first);
            if (col.info.type == FieldType::Unknown && item < source_.resultKinds.size() &&
                source_.resultKinds[item] == dialect::Kind::Currency)
                col.info.type = FieldType::Currency;
        }
        if (!columnByLower_.contains(name.toLower()))
            columnByLower_.insert(name.toLower(), int(columns_.size()));
        columns_.push_back(col);
    }
}

QString RecordsetImpl::keysOrder() const
{
    const QString order = type_ == RecordsetType::Table ? indexOrder_ : source_.orderBy;
    const QString tie = source_.qualifier + ".rowid";
    return order.isEmpty() ? tie : order + ", " + tie;
}

void RecordsetImpl::loadKeys()
{
    if (!keysStatement_) {
        const QString rest = " FROM " + source_.from +
                             (source_.where.isEmpty() ? QString() : " WHERE " + source_.where) +
                             " ORDER BY " + keysOrder();
        // The order may name columns of the select list by their alias; only then is the
        // whole list evaluated for the keys.
        sqlite3_stmt* probe = nullptr;
        const QByteArray lean = ("SELECT " + source_.qualifier + ".rowid" + rest).toUtf8();
        if (sqlite3_prepare_v2(dbi_->db, lean.constData(), int(lean.size()), &probe, nullptr) == SQLITE_OK) {
            sqlite3_finalize(probe);
            keysStatement_ = sql::Statement(dbi_->db, QString::fromUtf8(lean));
        } else {
            sqlite3_finalize(probe);
            keysStatement_ = sql::Statement(
                dbi_->db, "SELECT " + source_.qualifier + ".rowid, " + source_.selectList + rest);
        }
    }
    keys_.clear();
    while (keysStatement_.step())
        keys_.push_back(keysStatement_.columnInt(0));
    positions_.clear();
}

void RecordsetImpl::loadRows(const QString& sqlText, bool withKeys)
{
    sql::Statement st(dbi_->db, sqlText);
    auto rows = std::make_shared<Rows>();
    keys_.clear();
    const int first = withKeys ? 1 : 0;
    const int count = st.columnCount();
    while (st.step()) {
        keys_.push_back(withKeys ? st.columnInt(0) : qint64(keys_.size() + 1));
        Row row;
        row.reserve(size_t(count - first));
        for (int i = first; i < count; ++i)
            row.push_back(st.column(i));
        rows->push_back(std::move(row));
    }
    rows_ = rows;
    positions_.clear();
}

void RecordsetImpl::reload(bool keepPosition)
{
    std::optional<qint64> current;
    const bool wasEof = keepPosition && !keys_.empty() && pos_ >= int(keys_.size());
    if (keepPosition && hasCurrent())
        current = keys_[size_t(pos_)];
    clearCache();
    cacheGeneration_ = dbi_->generation;
    if (keyed_) {
        loadKeys();
    } else if (source_.keyed()) {
        loadRows("SELECT " + source_.qualifier + ".rowid, " + source_.selectList + " FROM " + source_.from +
                     (source_.where.isEmpty() ? QString() : " WHERE " + source_.where) + " ORDER BY " +
                     keysOrder(),
                 true);
    } else {
        loadRows(source_.sql, false);
    }
    pos_ = 0;
    onDeleted_ = false;
    if (current) {
        const int p = positionOf(*current);
        if (p >= 0)
            pos_ = p;
    } else if (wasEof) {
        pos_ = int(keys_.size());
    }
}

int RecordsetImpl::positionOf(qint64 key) const
{
    if (positions_.empty() && !keys_.empty()) {
        positions_.reserve(keys_.size());
        for (size_t i = 0; i < keys_.size(); ++i)
            positions_.emplace(keys_[i], int(i));
    }
    const auto it = positions_.find(key);
    return it == positions_.end() ? -1 : it->second;
}

QString RecordsetImpl::rowSql(const QString& columns) const
{
    QStringList params;
    for (int i = 1; i <= Block; ++i)
        params << QStringLiteral("?%1").arg(i);
    return "SELECT " + source_.qualifier + ".rowid" +
           (sortTerms_.isEmpty() ? QString() : ", " + sortTerms_.join(", ")) +
           (columns.isEmpty() ? QString() : ", " + columns) + " FROM " + source_.from + " WHERE " +
           source_.qualifier + ".rowid IN (" + params.join(", ") + ")";
}

// Reads only the columns asked for so far: SQLite decodes every column a statement
// selects, and a window reads a few fields of many.
void RecordsetImpl::prepareRowStatement() const
{
    if (columnSql_.isEmpty() || rowStatementVersion_ == wantedVersion_)
        return;
    QStringList sqlColumns;
    std::vector<int> columns;
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (wantedSince_[c] != NotWanted) {
            sqlColumns << columnSql_[int(c)];
            columns.push_back(int(c));
        }
    }
    rowStatement_ = sql::Statement(dbi_->db, rowSql(sqlColumns.join(", ")));
    rowColumns_ = std::move(columns);
    newLayout();
    rowStatementVersion_ = wantedVersion_;
    if (rangeReadable_) {
        QStringList after, marks;
        for (int i = 0; i <= sortTerms_.size(); ++i)
            marks << QStringLiteral("?%1").arg(i + 1);
        after = sortTerms_;
        after << source_.qualifier + ".rowid";
        QString where = '(' + after.join(", ") + ") > (" + marks.join(", ") + ')';
        if (!source_.where.isEmpty())
            where = '(' + source_.where + ") AND " + where;
        rangeStatement_ =
            sql::Statement(dbi_->db, "SELECT " + source_.qualifier + ".rowid" +
                                         (sortTerms_.isEmpty() ? QString() : ", " + sortTerms_.join(", ")) +
                                         (sqlColumns.isEmpty() ? QString() : ", " + sqlColumns.join(", ")) +
                                         " FROM " + source_.from + " WHERE " + where + " ORDER BY " +
                                         keysOrder() + " LIMIT " + QString::number(RangeBlock));
    }
}

// Evicted rows keep their storage for the next rows read: a walk over many rows then
// allocates nothing per row.
void RecordsetImpl::clearCache() const
{
    memoRow_ = nullptr;
    if (spare_.size() > size_t(4 * RangeBlock)) {
        cache_.clear();
        return;
    }
    while (!cache_.empty())
        spare_.push_back(cache_.extract(cache_.begin()));
}

RecordsetImpl::CachedRow& RecordsetImpl::cacheEntry(qint64 key) const
{
    auto it = cache_.find(key);
    if (it != cache_.end())
        return it->second;
    if (spare_.empty())
        return cache_[key];
    Cache::node_type node = std::move(spare_.back());
    spare_.pop_back();
    node.key() = key;
    node.mapped().gone = false;
    return cache_.insert(std::move(node)).position->second;
}

void RecordsetImpl::forget(qint64 key) const
{
    cache_.erase(key);
    memoRow_ = nullptr;
}

void RecordsetImpl::newLayout() const
{
    auto layout = std::make_unique<std::vector<int>>(columns_.size(), -1);
    for (size_t r = 0; r < rowColumns_.size(); ++r)
        (*layout)[size_t(rowColumns_[r])] = int(r);
    layouts_.push_back(std::move(layout));
}

// The order of a set ordered by its index or by its keys alone can be continued with a
// range scan; other orders are read by key.
void RecordsetImpl::updateRangeOrder()
{
    sortTerms_.clear();
    rangeReadable_ = false;
    rangeStatement_.finalize();
    rowStatementVersion_ = NotWanted;
    if (!keyed_ || columnSql_.isEmpty())
        return;
    if (type_ == RecordsetType::Table) {
        if (indexOrder_.contains(QLatin1String(" DESC")))
            return;
        // The column's own collation compares as the index orders; a row that is not the
        // next key of the set is never taken from the scan, whatever the order.
        for (const QString& term : indexOrder_.split(QStringLiteral(", "), Qt::SkipEmptyParts))
            sortTerms_ << source_.qualifier + '.' + term.section(QStringLiteral(" COLLATE "), 0, 0);
    } else if (!source_.orderBy.isEmpty()) {
        return;
    }
    rangeReadable_ = true;
}

void RecordsetImpl::storeRow(const sql::Statement& st, bool keepSortKey) const
{
    const qint64 key = st.columnInt(0);
    CachedRow& row = cacheEntry(key);
    row.gone = false;
    row.version = wantedVersion_;
    if (layouts_.empty())
        newLayout();
    row.layout = layouts_.back().get();
    row.values.resize(qsizetype(rowColumns_.size()));
    const int first = 1 + int(sortTerms_.size());
    for (size_t r = 0; r < rowColumns_.size(); ++r)
        row.values[qsizetype(r)] = st.column(first + int(r));
    if (keepSortKey) {
        sortKeyOf_ = key;
        sortKey_.resize(size_t(sortTerms_.size()));
        for (int k = 0; k < sortTerms_.size(); ++k)
            sortKey_[size_t(k)] = st.column(1 + k);
    }
}

// Reads the rows from `position` on with one scan that starts after the row before it.
// Stops at the first row that is not the next key of the set (changed meanwhile).
bool RecordsetImpl::readRange(int position) const
{
    if (!rangeReadable_ || position == 0 || lastMoveBackward_ || rowStatementVersion_ != wantedVersion_)
        return false;
    const qint64 previous = keys_[size_t(position - 1)];
    if (sortKeyOf_ != previous || sortKey_.size() != size_t(sortTerms_.size()))
        return false;
    for (const QVariant& v : sortKey_)
        if (v.isNull())
            return false;  // a Null key does not compare; such rows are read by key
    for (int k = 0; k < sortTerms_.size(); ++k)
        rangeStatement_.bind(k + 1, sortKey_[size_t(k)]);
    sqlite3_bind_int64(rangeStatement_.get(), int(sortTerms_.size()) + 1, previous);
    if (cache_.size() > size_t(2 * RangeBlock))
        clearCache();
    const size_t last = std::min(keys_.size(), size_t(position) + RangeBlock) - 1;
    size_t next = size_t(position);
    while (next < keys_.size() && rangeStatement_.step()) {
        if (rangeStatement_.columnInt(0) != keys_[next])
            break;
        storeRow(rangeStatement_, next == last);
        ++next;
    }
    rangeStatement_.reset();
    if (next <= last)
        sortKeyOf_ = 0;  // the scan stopped early: its last row is not the block's
    return next > size_t(position);
}

void RecordsetImpl::fetchBlock(int position) const
{
    prepareRowStatement();
    if (readRange(position))
        return;
    if (cache_.size() > size_t(2 * RangeBlock))
        clearCache();
    const int n = int(keys_.size());
    const int start = lastMoveBackward_ ? std::max(0, position - Block + 1) : position;
    const int end = std::min(n, start + Block);
    sqlite3_stmt* st = rowStatement_.get();
    for (int i = 0; i < Block; ++i) {
        if (start + i < end)
            sqlite3_bind_int64(st, i + 1, keys_[size_t(start + i)]);
        else
            sqlite3_bind_null(st, i + 1);
    }
    for (int i = start; i < end; ++i)
        cacheEntry(keys_[size_t(i)]).gone = true;  // until the statement returns it
    const qint64 lastKey = end > start ? keys_[size_t(end - 1)] : 0;
    while (rowStatement_.step())
        storeRow(rowStatement_,
                 !sortTerms_.isEmpty() || rangeReadable_ ? rowStatement_.columnInt(0) == lastKey : false);
}

const QVariant& RecordsetImpl::currentValue(int column) const
{
    static const QVariant none;
    requireCurrent();
    if (!keyed_)
        return column < 0 ? none : (*rows_)[size_t(pos_)][size_t(column)];
    if (cacheGeneration_ != dbi_->generation) {
        clearCache();
        cacheGeneration_ = dbi_->generation;
    }
    if (wantedSince_.size() != columns_.size())
        wantedSince_.assign(columns_.size(), NotWanted);
    if (column >= 0 && wantedSince_[size_t(column)] == NotWanted)
        wantedSince_[size_t(column)] = ++wantedVersion_;
    const qint64 key = keys_[size_t(pos_)];
    // Windows read several fields of one row in a row: remember where it is.
    const CachedRow* row = memoKey_ == key ? memoRow_ : nullptr;
    if (!row) {
        const auto it = cache_.find(key);
        row = it == cache_.end() ? nullptr : &it->second;
    }
    if (!row || (column >= 0 && row->version < wantedSince_[size_t(column)])) {
        fetchBlock(pos_);
        row = &cache_.find(key)->second;
    }
    memoKey_ = key;
    memoRow_ = row;
    if (row->gone)
        raise(err::RecordDeleted, QStringLiteral("The record has been deleted."));
    if (column < 0)
        return none;
    const int slot = (*row->layout)[size_t(column)];
    return slot < 0 ? none : row->values[size_t(slot)];
}

QVariant RecordsetImpl::defaultValue(int index) const
{
    if (!defaults_) {
        defaults_.emplace(columns_.size());
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i].defaultExpr.isEmpty())
                continue;
            sql::Statement st(dbi_->db, "SELECT " + columns_[i].defaultExpr);
            if (st.step())
                (*defaults_)[i] = st.column(0);
            st.reset();
        }
    }
    return (*defaults_)[size_t(index)];
}

}  // namespace store
