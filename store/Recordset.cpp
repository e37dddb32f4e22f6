#include "store/RecordsetImpl.h"

#include <algorithm>
#include <unordered_set>

namespace store {

using sql::raise;

namespace {

QString plainName(const QString& name)
{
    QString n = name.trimmed();
    const int dot = std::max(n.lastIndexOf('.'), n.lastIndexOf('!'));
    if (dot >= 0 && !(n.startsWith('[') && n.endsWith(']') && n.indexOf(']') == n.size() - 1))
        n = n.mid(dot + 1);
    if (n.startsWith('[') && n.endsWith(']'))
        n = n.mid(1, n.size() - 2);
    return n;
}

[[noreturn]] void noCurrentRecord()
{
    raise(err::NoCurrentRecord, QStringLiteral("No current record."));
}

}  // namespace

std::unique_ptr<Recordset> makeRecordset(Database& db, RecordSource source, RecordsetType type)
{
    return std::make_unique<RecordsetImpl>(db, std::move(source), type);
}

RecordsetImpl::RecordsetImpl(Database& db, RecordSource source, RecordsetType type)
    : db_(&db), dbi_(&db.impl()), source_(std::move(source)), type_(type)
{
    keyed_ = source_.keyed() && type != RecordsetType::Snapshot;
    updatable_ = keyed_;
    dbi_->sets.insert(this);
    try {
        describeColumns();
        reload(false);
    } catch (...) {
        dbi_->sets.erase(this);
        throw;
    }
}

RecordsetImpl::~RecordsetImpl()
{
    if (dbi_)
        dbi_->sets.erase(this);
}

void RecordsetImpl::finishStatements()
{
    rowStatement_.reset();
    rangeStatement_.reset();
    keysStatement_.reset();
    for (auto& [text, st] : findStatements_)
        st->reset();
    for (auto& [text, st] : writeStatements_)
        st->reset();
}

void RecordsetImpl::detach()
{
    rowStatement_.finalize();
    rangeStatement_.finalize();
    keysStatement_.finalize();
    findStatements_.clear();
    writeStatements_.clear();
    dbi_ = nullptr;
    keys_.clear();
    rows_.reset();
    clearCache();
    positions_.clear();
    editMode_ = EditMode::None;
    buffer_.clear();
}

void RecordsetImpl::close()
{
    if (!dbi_)
        return;
    dbi_->sets.erase(this);
    detach();
}

Database& RecordsetImpl::database() const
{
    checkOpen();
    return *db_;
}

// ---------------------------------------------------------------------------------------
// Checks

void RecordsetImpl::checkOpen() const
{
    if (!dbi_ || !dbi_->db)
        raise(err::ObjectNotSet, QStringLiteral("The record set is not open."));
}

void RecordsetImpl::requireCurrent() const
{
    checkOpen();
    if (!hasCurrent())
        noCurrentRecord();
}

void RecordsetImpl::requireUpdatable() const
{
    checkOpen();
    if (!updatable_)
        raise(err::NotInEditMode,
              QStringLiteral("The record set is read-only: its rows cannot be added, changed or deleted."));
}

void RecordsetImpl::checkColumn(int index) const
{
    if (index < 0 || index >= int(columns_.size()))
        raise(err::UnknownField,
              QStringLiteral("There is no field number %1 in this record set.").arg(index));
}

int RecordsetImpl::columnOrThrow(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        raise(err::UnknownField,
              QStringLiteral("There is no field named '%1' in this record set.").arg(name));
    return i;
}

void RecordsetImpl::discardEdit()
{
    editMode_ = EditMode::None;
    buffer_.clear();
}

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

// ---------------------------------------------------------------------------------------
// Position

bool RecordsetImpl::bof() const
{
    checkOpen();
    return keys_.empty() || pos_ < 0;
}

bool RecordsetImpl::eof() const
{
    checkOpen();
    return keys_.empty() || pos_ >= int(keys_.size());
}

bool RecordsetImpl::hasCurrent() const
{
    return dbi_ && !onDeleted_ && pos_ >= 0 && pos_ < int(keys_.size());
}

void RecordsetImpl::moveFirst()
{
    checkOpen();
    discardEdit();
    if (keys_.empty())
        noCurrentRecord();
    pos_ = 0;
    onDeleted_ = false;
    lastMoveBackward_ = false;
}

void RecordsetImpl::moveLast()
{
    checkOpen();
    discardEdit();
    if (keys_.empty())
        noCurrentRecord();
    pos_ = int(keys_.size()) - 1;
    onDeleted_ = false;
    lastMoveBackward_ = true;
}

void RecordsetImpl::moveNext()
{
    checkOpen();
    discardEdit();
    if (eof())
        noCurrentRecord();
    if (onDeleted_)
        onDeleted_ = false;  // the row after the deleted one took its place
    else
        ++pos_;
    pos_ = std::min(pos_, int(keys_.size()));
    lastMoveBackward_ = false;
}

void RecordsetImpl::movePrevious()
{
    checkOpen();
    discardEdit();
    if (bof())
        noCurrentRecord();
    onDeleted_ = false;
    pos_ = std::max(pos_ - 1, -1);
    lastMoveBackward_ = true;
}

int RecordsetImpl::recordCount() const
{
    checkOpen();
    return int(keys_.size());
}

int RecordsetImpl::absolutePosition() const
{
    checkOpen();
    return hasCurrent() ? pos_ : -1;
}

void RecordsetImpl::setAbsolutePosition(int position)
{
    checkOpen();
    if (position < 0 || position >= int(keys_.size()))
        raise(err::InvalidArgument, QStringLiteral("Invalid argument: position %1 is outside the record set "
                                                   "(%2 rows).")
                                        .arg(position)
                                        .arg(keys_.size()));
    discardEdit();
    pos_ = position;
    onDeleted_ = false;
}

Bookmark RecordsetImpl::bookmark() const
{
    requireCurrent();
    return keys_[size_t(pos_)];
}

void RecordsetImpl::setBookmark(Bookmark mark)
{
    checkOpen();
    const int p = positionOf(mark);
    if (p < 0)
        raise(err::InvalidBookmark,
              QStringLiteral("Not a valid bookmark: the row is not in this record set."));
    discardEdit();
    pos_ = p;
    onDeleted_ = false;
}

bool RecordsetImpl::hasBookmark(Bookmark mark) const
{
    checkOpen();
    return positionOf(mark) >= 0;
}

Bookmark RecordsetImpl::lastModified() const
{
    checkOpen();
    if (!lastModified_)
        raise(err::NoCurrentRecord,
              QStringLiteral("No record has been added or changed through this record set."));
    return *lastModified_;
}

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
// Fields

QList<FieldInfo> RecordsetImpl::fields() const
{
    checkOpen();
    QList<FieldInfo> list;
    for (const Column& c : columns_)
        list << c.info;
    return list;
}

int RecordsetImpl::fieldIndex(const QString& name) const
{
    // Windows read the same few names row after row: remember each spelling once found.
    if (const auto known = columnByName_.constFind(name); known != columnByName_.cend())
        return *known;
    auto it = columnByLower_.constFind(name.toLower());
    if (it == columnByLower_.cend())
        it = columnByLower_.constFind(plainName(name).toLower());
    if (it == columnByLower_.cend())
        return -1;
    if (columnByName_.size() < 256)
        columnByName_.insert(name, *it);
    return *it;
}

QVariant RecordsetImpl::value(const QString& name) const
{
    checkOpen();
    return value(columnOrThrow(name));
}

QVariant RecordsetImpl::value(int index) const
{
    checkOpen();
    checkColumn(index);
    const FieldType type = columns_[size_t(index)].info.type;
    if (editMode_ != EditMode::None) {
        const auto it = buffer_.find(index);
        if (it != buffer_.end())
            return sql::toRead(it->second, type);
        if (editMode_ == EditMode::Add)
            return sql::toRead(defaultValue(index), type);
    }
    return sql::toRead(currentValue(index), type);
}

void RecordsetImpl::setValue(const QString& name, const QVariant& value)
{
    checkOpen();
    const int i = columnOrThrow(name);
    if (!updatable_)
        raise(err::NotInEditMode,
              QStringLiteral("The record set is read-only: the field '%1' cannot be changed.")
                  .arg(columns_[size_t(i)].info.name));
    if (editMode_ == EditMode::None)
        raise(err::NotInEditMode, QStringLiteral("The field '%1' cannot be changed before Edit or AddNew.")
                                      .arg(columns_[size_t(i)].info.name));
    const Column& col = columns_[size_t(i)];
    if (!col.writable)
        raise(err::FieldNotUpdatable,
              QStringLiteral("The field '%1' cannot be changed: it is computed or assigned by the database.")
                  .arg(col.info.name));
    buffer_[i] = sql::toStored(value, col.info);
}

// ---------------------------------------------------------------------------------------
// Changes

std::shared_ptr<sql::Statement> RecordsetImpl::cachedWriteStatement(const QString& signature) const
{
    for (const auto& [name, st] : writeStatements_)
        if (name == signature)
            return st;
    return nullptr;
}

std::shared_ptr<sql::Statement> RecordsetImpl::writeStatement(const QString& signature,
                                                              const QString& sqlText)
{
    if (auto st = cachedWriteStatement(signature))
        return st;
    auto st = std::make_shared<sql::Statement>(dbi_->db, sqlText);
    if (writeStatements_.size() >= 8)
        writeStatements_.erase(writeStatements_.begin());
    writeStatements_.emplace_back(signature, st);
    return st;
}

void RecordsetImpl::addNew()
{
    requireUpdatable();
    buffer_.clear();
    editMode_ = EditMode::Add;
}

void RecordsetImpl::edit()
{
    requireUpdatable();
    requireCurrent();
    buffer_.clear();
    editKey_ = keys_[size_t(pos_)];
    currentValue(-1);  // a row deleted meanwhile cannot be edited
    editMode_ = EditMode::Edit;
}

void RecordsetImpl::cancelUpdate()
{
    checkOpen();
    if (editMode_ == EditMode::None)
        raise(err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    discardEdit();
}

void RecordsetImpl::afterWrite(qint64 key)
{
    // The set's own cache stays valid but for the written row; every other set re-reads.
    const bool fresh = cacheGeneration_ == dbi_->generation;
    dbi_->changed();
    if (fresh) {
        forget(key);
        cacheGeneration_ = dbi_->generation;
    } else {
        clearCache();
    }
}

bool RecordsetImpl::touchesIndex() const
{
    for (const auto& [column, value] : buffer_)
        if (indexColumns_.contains(columns_[size_t(column)].baseColumn.toLower()))
            return true;
    return false;
}

void RecordsetImpl::update()
{
    checkOpen();
    if (editMode_ == EditMode::None)
        raise(err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const QString table = dialect::quoteIdentifier(source_.table);
    // Statements are kept by the columns they write, so a run of edits prepares once.
    QString signature = editMode_ == EditMode::Edit ? QStringLiteral("U") : QStringLiteral("I");
    for (const auto& [column, value] : buffer_)
        signature += ':' + QString::number(column);
    auto st = cachedWriteStatement(signature);
    if (!st) {
        const QString table = dialect::quoteIdentifier(source_.table);
        QStringList names, marks;
        for (const auto& [column, value] : buffer_) {
            names << dialect::quoteIdentifier(columns_[size_t(column)].baseColumn);
            marks << "?" + QString::number(marks.size() + 1);
        }
        QString text;
        if (editMode_ == EditMode::Edit) {
            QStringList sets;
            for (int i = 0; i < names.size(); ++i)
                sets << names[i] + " = " + marks[i];
            text = names.isEmpty() ? QString()
                                   : "UPDATE " + table + " SET " + sets.join(", ") + " WHERE rowid = ?" +
                                         QString::number(names.size() + 1);
        } else {
            text = names.isEmpty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                   : "INSERT INTO " + table + " (" + names.join(", ") + ") VALUES (" +
                                         marks.join(", ") + ")";
        }
        if (!text.isEmpty())
            st = writeStatement(signature, text);
    }
    int parameter = 1;
    for (const auto& [column, value] : buffer_)
        st->bind(parameter++, value);
    qint64 key = 0;
    if (editMode_ == EditMode::Edit) {
        key = editKey_;
        if (st) {
            st->bind(parameter, key);
            st->step();
            if (sqlite3_changes(dbi_->db) == 0)
                raise(err::RecordDeleted, QStringLiteral("The record has been deleted."));
        }
    } else {
        st->step();
        key = sqlite3_last_insert_rowid(dbi_->db);
    }
    const bool added = editMode_ == EditMode::Add;
    const bool reorder = type_ == RecordsetType::Table && (added || touchesIndex());
    afterWrite(key);
    lastModified_ = key;
    discardEdit();
    if (reorder) {
        // A table-type set shows every row at its index position.
        reload(true);
    } else if (added) {
        const bool atEnd = pos_ >= int(keys_.size());
        keys_.push_back(key);
        if (!positions_.empty())
            positions_.emplace(key, int(keys_.size()) - 1);
        if (atEnd)
            pos_ = int(keys_.size());
    }
}

void RecordsetImpl::deleteRecord()
{
    requireUpdatable();
    requireCurrent();
    discardEdit();
    const qint64 key = keys_[size_t(pos_)];
    const auto st = writeStatement(
        QStringLiteral("D"), "DELETE FROM " + dialect::quoteIdentifier(source_.table) + " WHERE rowid = ?1");
    st->bind(1, key);
    st->step();
    afterWrite(key);
    keys_.erase(keys_.begin() + pos_);
    positions_.clear();
    onDeleted_ = true;
}

void RecordsetImpl::requery()
{
    checkOpen();
    discardEdit();
    noMatch_ = false;
    reload(false);
}

void RecordsetImpl::refreshCurrent()
{
    checkOpen();
    if (keyed_ && hasCurrent())
        forget(keys_[size_t(pos_)]);
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
