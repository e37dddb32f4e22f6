// Reading a record set's rows: its columns, its keys, and the values of keyed sets read
// lazily in blocks (or one range scan in index or key order) into a small row cache.
#include "store/RecordsetImpl.h"

#include <algorithm>
#include <bit>

namespace store {

using sql::raise;

// ---------------------------------------------------------------------------------------
// Columns and rows

void RecordsetImpl::describeColumns()
{
    if (source_.keyed()) {
        // Described without the key list: the columns are the same, and a statement with a
        // list of keys costs several times as much to make. The statement that reads the
        // rows is made when the first row is read, for as many keys as the set has.
        rowStatement_.finalize();
        rowKeys_ = 0;
        describeQueryColumns(sql::Statement(dbi_->db, rowSql(source_.selectList, 0)).get(), QString());
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
    recentNames_ = {};
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

QString RecordsetImpl::rowSql(const QString& columns, int keys) const
{
    QString sql = "SELECT " + source_.qualifier + ".rowid" +
                  (sortTerms_.isEmpty() ? QString() : ", " + sortTerms_.join(", ")) +
                  (columns.isEmpty() ? QString() : ", " + columns) + " FROM " + source_.from;
    if (keys == 0)
        return sql;
    QStringList params;
    for (int i = 1; i <= keys; ++i)
        params << QStringLiteral("?%1").arg(i);
    return sql + " WHERE " + source_.qualifier + ".rowid IN (" + params.join(", ") + ")";
}

// A block of keys at most, and for a small set the power of two at or above its size: the
// statement is made once for a set of a few rows, and again only as the set grows.
int RecordsetImpl::rowKeysWanted() const
{
    return int(std::min<size_t>(Block, std::bit_ceil(std::max<size_t>(1, keys_.size()))));
}

// Reads only the columns asked for so far: SQLite decodes every column a statement
// selects, and a window reads a few fields of many.
void RecordsetImpl::prepareRowStatement() const
{
    const int keys = rowKeysWanted();
    if (columnSql_.isEmpty()) {  // the columns cannot be read one by one: read them all
        if (!rowStatement_ || rowKeys_ < keys) {
            rowStatement_ = sql::Statement(dbi_->db, rowSql(source_.selectList, keys));
            rowKeys_ = keys;
        }
        return;
    }
    // Made again for new columns asked for, and for the keys of a set that has grown.
    if (rowStatementVersion_ == wantedVersion_ && rowKeys_ >= keys)
        return;
    QStringList sqlColumns;
    std::vector<int> columns;
    for (size_t c = 0; c < columns_.size(); ++c) {
        if (wantedSince_[c] != NotWanted) {
            sqlColumns << columnSql_[int(c)];
            columns.push_back(int(c));
        }
    }
    rowStatement_ = sql::Statement(dbi_->db, rowSql(sqlColumns.join(", "), keys));
    rowKeys_ = keys;
    // Where the order's columns are among those read, a scan's last row gives the values
    // the next scan starts after, without a look-up.
    sortSlots_.clear();
    for (const QString& term : sortTerms_) {
        const auto read = std::find_if(columns.begin(), columns.end(), [&](int c) {
            return columnSql_[c].compare(term, Qt::CaseInsensitive) == 0;
        });
        if (read == columns.end())
            break;
        sortSlots_.push_back(int(read - columns.begin()));
    }
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
                                         (sqlColumns.isEmpty() ? QString() : ", " + sqlColumns.join(", ")) +
                                         " FROM " + source_.from + " WHERE " + where + " ORDER BY " +
                                         keysOrder() + " LIMIT ?" + QString::number(sortTerms_.size() + 2));
        // Ordered by one column: a scan that seeks to the previous row's value and steps
        // over the rows before it costs the engine no comparison per row.
        seekStatement_.finalize();
        if (sortTerms_.size() == 1) {
            QString seekWhere = sortTerms_.first() + " >= ?1";
            if (!source_.where.isEmpty())
                seekWhere = '(' + source_.where + ") AND " + seekWhere;
            seekStatement_ = sql::Statement(
                dbi_->db, "SELECT " + source_.qualifier + ".rowid" +
                              (sqlColumns.isEmpty() ? QString() : ", " + sqlColumns.join(", ")) + " FROM " +
                              source_.from + " WHERE " + seekWhere + " ORDER BY " + keysOrder() +
                              " LIMIT ?2");
        }
        if (!sortTerms_.isEmpty() && !sortKeyStatement_)
            sortKeyStatement_ =
                sql::Statement(dbi_->db, "SELECT " + sortTerms_.join(", ") + " FROM " + source_.from +
                                             " WHERE " + source_.qualifier + ".rowid = ?1");
    }
}

// Evicted rows keep their storage for the next rows read: a walk over many rows then
// allocates nothing per row.
void RecordsetImpl::clearCache() const
{
    memoRow_ = nullptr;
    windowSize_ = 0;
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
    // Usually the current row; else look through the window.
    const int current = pos_ - windowStart_;
    if (current >= 0 && current < windowSize_ && window_[size_t(current)].key == key) {
        window_[size_t(current)].stale = true;
        return;
    }
    for (int i = 0; i < windowSize_; ++i)
        if (window_[size_t(i)].key == key)
            window_[size_t(i)].stale = true;
}

const RecordsetImpl::CachedRow* RecordsetImpl::cachedRow(int position) const
{
    const qint64 key = keys_[size_t(position)];
    const int w = position - windowStart_;
    if (w >= 0 && w < windowSize_) {
        const CachedRow& row = window_[size_t(w)];
        if (row.key == key && !row.stale)
            return &row;
    }
    const auto it = cache_.find(key);
    return it == cache_.end() ? nullptr : &it->second;
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
    seekStatement_.finalize();
    sortKeyStatement_.finalize();
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

void RecordsetImpl::storeRow(const sql::Statement& st, CachedRow& row, int first) const
{
    row.key = st.columnInt(0);
    row.gone = false;
    row.stale = false;
    row.version = wantedVersion_;
    if (layouts_.empty())
        newLayout();
    row.layout = layouts_.back().get();
    row.values.resize(qsizetype(rowColumns_.size()));
    for (size_t r = 0; r < rowColumns_.size(); ++r)
        row.values[qsizetype(r)] = st.column(first + int(r));
}

void RecordsetImpl::keepSortKey(qint64 key, const sql::Statement& st, int first) const
{
    sortKeyOf_ = key;
    sortKey_.resize(size_t(sortTerms_.size()));
    for (int k = 0; k < sortTerms_.size(); ++k)
        sortKey_[size_t(k)] = st.column(first + k);
}

// Reads the rows from `position` on with one scan that starts after the row before it.
// Stops at the first row that is not the next key of the set (changed meanwhile).
bool RecordsetImpl::readRange(int position) const
{
    if (!rangeReadable_ || position == 0 || lastMoveBackward_ || rowStatementVersion_ != wantedVersion_)
        return false;
    const qint64 previous = keys_[size_t(position - 1)];
    // A walk that went on from rows read earlier by key has not kept their order values:
    // read the previous row's, so that the walk goes on with a scan and not row by row.
    const bool known = sortKeyOf_ == previous && sortKey_.size() == size_t(sortTerms_.size());
    if (!known && !(cachedRow(position - 1) && readSortKey(previous)))
        return false;
    for (const QVariant& v : sortKey_)
        if (v.isNull())
            return false;  // a Null key does not compare; such rows are read by key
    // A walk that goes on scan after scan reads ever larger blocks (fewer statements for a
    // long walk); a scan elsewhere starts small again (less read for a window of rows).
    const bool goesOn = windowSize_ > 0 && position == windowStart_ + windowSize_;
    rangeBlock_ = goesOn ? std::min(2 * rangeBlock_, MaxRangeBlock) : FirstRangeBlock;
    sql::Statement& scan = scanAfter(previous, rangeBlock_);
    memoRow_ = nullptr;
    if (window_.size() < size_t(rangeBlock_))
        window_.resize(size_t(rangeBlock_));
    windowStart_ = position;
    windowSize_ = 0;
    const size_t last = std::min(keys_.size(), size_t(position) + size_t(rangeBlock_)) - 1;
    size_t next = size_t(position);
    while (next <= last && scan.step()) {
        if (scan.columnInt(0) != keys_[next])
            break;
        storeRow(scan, window_[size_t(windowSize_)], 1);
        ++windowSize_;
        ++next;
    }
    scan.reset();
    sortKeyOf_ = 0;
    if (next > last) {
        // The scan reached the block's last row: its order values start the next scan. They
        // are the row's own values when the order's columns were read with it; otherwise
        // only this row's are looked up, so the scan itself reads no column twice.
        const CachedRow& lastRow = window_[size_t(windowSize_ - 1)];
        if (!sortTerms_.isEmpty() && sortSlots_.size() == size_t(sortTerms_.size())) {
            sortKeyOf_ = lastRow.key;
            sortKey_.resize(sortSlots_.size());
            for (size_t k = 0; k < sortSlots_.size(); ++k)
                sortKey_[k] = lastRow.values[sortSlots_[k]];
        } else {
            readSortKey(keys_[last]);
        }
    }
    return next > size_t(position);
}

sql::Statement& RecordsetImpl::scanAfter(qint64 previous, int rows) const
{
    if (seekStatement_) {
        // The seek starts at the first row with the previous row's order value; the rows
        // before the previous one share that value and are stepped over. Many of them (or
        // the previous row gone or changed): the exact scan.
        seekStatement_.bind(1, sortKey_[0]);
        sqlite3_bind_int(seekStatement_.get(), 2, rows + MaxSkipped);
        for (int skipped = 0; skipped <= MaxSkipped && seekStatement_.step(); ++skipped)
            if (seekStatement_.columnInt(0) == previous)
                return seekStatement_;
        seekStatement_.reset();
    }
    for (int k = 0; k < sortTerms_.size(); ++k)
        rangeStatement_.bind(k + 1, sortKey_[size_t(k)]);
    sqlite3_bind_int64(rangeStatement_.get(), int(sortTerms_.size()) + 1, previous);
    sqlite3_bind_int(rangeStatement_.get(), int(sortTerms_.size()) + 2, rows);
    return rangeStatement_;
}

bool RecordsetImpl::readSortKey(qint64 key) const
{
    if (sortTerms_.isEmpty()) {
        sortKey_.clear();
        sortKeyOf_ = key;
        return true;
    }
    sortKeyStatement_.bind(1, key);
    const bool found = sortKeyStatement_.step();
    if (found)
        keepSortKey(key, sortKeyStatement_, 0);
    sortKeyStatement_.reset();
    return found;
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
    for (int i = 0; i < rowKeys_; ++i) {
        if (start + i < end)
            sqlite3_bind_int64(st, i + 1, keys_[size_t(start + i)]);
        else
            sqlite3_bind_null(st, i + 1);
    }
    memoRow_ = nullptr;
    for (int i = start; i < end; ++i) {
        cacheEntry(keys_[size_t(i)]).gone = true;  // until the statement returns it
        // The rows read now are newer than what the window holds of them.
        const int w = i - windowStart_;
        if (w >= 0 && w < windowSize_)
            window_[size_t(w)].stale = true;
    }
    const qint64 lastKey = end > start ? keys_[size_t(end - 1)] : 0;
    while (rowStatement_.step()) {
        const qint64 key = rowStatement_.columnInt(0);
        storeRow(rowStatement_, cacheEntry(key), 1 + int(sortTerms_.size()));
        if ((!sortTerms_.isEmpty() || rangeReadable_) && key == lastKey)
            keepSortKey(key, rowStatement_, 1);
    }
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
    if (!row)
        row = cachedRow(pos_);
    if (!row || (column >= 0 && row->version < wantedSince_[size_t(column)])) {
        fetchBlock(pos_);
        row = cachedRow(pos_);
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
