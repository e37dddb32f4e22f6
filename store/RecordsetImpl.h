// The record set of every kind.
//
// Keyed sets (table-type and dynasets over a table or a single-table SELECT) hold the
// ordered list of row keys (rowids) and read row values lazily, a block of rows at a time,
// through cached prepared statements. Snapshots and sets over saved queries or other SQL
// hold a copy of their rows.
#pragma once

#include "store/Engine.h"

#include <QVarLengthArray>

#include <array>
#include <map>

namespace store {

// A field or index name without its table qualifier and brackets ("[Guests].[City]" -> "City").
QString plainName(const QString& name);

class RecordsetImpl final : public Recordset {
public:
    RecordsetImpl(Database& db, RecordSource source, RecordsetType type);
    ~RecordsetImpl() override;
    RecordsetImpl(const RecordsetImpl&) = delete;
    RecordsetImpl& operator=(const RecordsetImpl&) = delete;

    // Called by the database: reset statements / forget the closed connection.
    void finishStatements();
    void detach();

    RecordsetType type() const override { return type_; }
    QString source() const override { return source_.text; }
    QString tableName() const override { return source_.table; }
    bool isOpen() const override { return dbi_ != nullptr; }
    void close() override;

    bool bof() const override;
    bool eof() const override;
    bool hasCurrent() const override { return dbi_ && !onDeleted_ && pos_ >= 0 && pos_ < int(keys_.size()); }
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    void movePrevious() override;
    int recordCount() const override;
    int absolutePosition() const override;
    void setAbsolutePosition(int position) override;

    Bookmark bookmark() const override;
    void setBookmark(Bookmark mark) override;
    bool hasBookmark(Bookmark mark) const override;
    Bookmark lastModified() const override;

    void findFirst(const QString& condition, const QVariantList& params = {}) override;
    void findNext(const QString& condition, const QVariantList& params = {}) override;
    void findPrevious(const QString& condition, const QVariantList& params = {}) override;
    void findLast(const QString& condition, const QVariantList& params = {}) override;
    bool noMatch() const override { return noMatch_; }

    QList<FieldInfo> fields() const override;
    int fieldIndex(const QString& name) const override;
    QVariant value(const QString& name) const override;
    QVariant value(int index) const override;
    using Recordset::setValue;
    void setValue(const QString& name, const QVariant& value) override;

    EditMode editMode() const override { return editMode_; }
    void addNew() override;
    void edit() override;
    void update() override;
    void cancelUpdate() override;
    void deleteRecord() override;
    bool updatable() const override { return updatable_; }

    void requery() override;
    void refreshCurrent() override;

    QString index() const override { return index_; }
    void setIndex(const QString& indexName) override;

    QString sort() const override { return sort_; }
    void setSort(const QString& sortText) override;
    QString filter() const override { return filter_; }
    void setFilter(const QString& condition) override;
    std::unique_ptr<Recordset> openRecordset(RecordsetType type = RecordsetType::Dynaset) override;

    std::unique_ptr<Recordset> clone() override;
    Database& database() const override;

private:
    struct Column {
        FieldInfo info;
        QString baseColumn;  // the base table's column it shows; "" for a computed column
        QString defaultExpr;
        bool writable = false;
    };
    using Row = std::vector<QVariant>;  // stored values
    using Rows = std::vector<Row>;
    // A row of a keyed set as read lately: only the columns asked for so far are read.
    struct CachedRow {
        QVarLengthArray<QVariant, 8> values;       // the columns read, in the order of layout
        const std::vector<int>* layout = nullptr;  // column -> index in values, -1 when not read
        quint32 version = 0;                       // the columns wanted at this version were read
        bool gone = false;                         // the row no longer exists
        bool stale = false;                        // a window entry that must be read again
        qint64 key = 0;                            // the row's key (window entries)
    };
    static constexpr quint32 NotWanted = 0xffffffffu;

    struct CloneTag {};
    RecordsetImpl(Database& db, RecordSource source, RecordsetType type, CloneTag);

    Database* db_ = nullptr;
    Database::Impl* dbi_ = nullptr;
    RecordSource source_;
    RecordsetType type_;
    bool keyed_ = false;
    bool updatable_ = false;

    std::vector<Column> columns_;
    QHash<QString, int> columnByLower_;
    mutable QHash<QString, int> columnByName_;  // names as callers spell them, found before
    // The names asked for last, held so that their text cannot change: a caller reading the
    // same literal names row after row finds each by its address, without hashing.
    mutable std::array<std::pair<QString, int>, 8> recentNames_;
    mutable size_t recentNext_ = 0;
    mutable size_t recentHit_ = 0;  // the slot found last

    std::vector<qint64> keys_;  // row keys in the set's order (ordinals for query sets)
    mutable std::unordered_map<qint64, int> positions_;  // key -> position, built when needed
    std::shared_ptr<const Rows> rows_;  // copied rows of a snapshot or query set, parallel to keys_
    using Cache = std::unordered_map<qint64, CachedRow>;
    mutable Cache cache_;                          // keyed sets: rows read lately
    mutable std::vector<Cache::node_type> spare_;  // evicted entries, reused for new rows
    CachedRow& cacheEntry(qint64 key) const;
    // Rows read on in the set's order by a range scan, by position: window_[i] is the row at
    // position windowStart_ + i while its key is still that position's key. A walk through
    // the set then finds each row without hashing.
    mutable std::vector<CachedRow> window_;
    mutable int windowStart_ = 0;
    mutable int windowSize_ = 0;  // entries of window_ in use
    const CachedRow* cachedRow(int position) const;
    mutable std::vector<quint32> wantedSince_;  // per column: the version it was first asked for
    mutable quint32 wantedVersion_ = 0;
    mutable quint64 cacheGeneration_ = 0;
    mutable bool lastMoveBackward_ = false;

    int pos_ = 0;             // -1 before the first row, keys_.size() after the last
    bool onDeleted_ = false;  // the current row was deleted through this set
    bool noMatch_ = false;
    std::optional<qint64> lastModified_;

    EditMode editMode_ = EditMode::None;
    qint64 editKey_ = 0;
    std::map<int, QVariant> buffer_;  // column -> stored value

    QString index_;
    QString indexOrder_;        // ORDER BY text of the index
    QStringList indexColumns_;  // lower-case columns of the index
    QString sort_, filter_;

    mutable sql::Statement rowStatement_;  // reads a block of rows by key
    mutable std::vector<int> rowColumns_;  // the columns rowStatement_ reads, in its order
    mutable std::vector<std::unique_ptr<std::vector<int>>> layouts_;  // one per rowColumns_ made
    mutable quint32 rowStatementVersion_ = NotWanted;                 // the wanted columns it was made for
    mutable int rowKeys_ = 0;                                         // the keys it reads at most
    QStringList columnSql_;  // each column's expression, when the columns can be read one by one
    // Reading on in the set's order: a set ordered by plain ascending terms reads the rows
    // after a known row with one range scan instead of a lookup per key.
    mutable sql::Statement rangeStatement_;
    mutable sql::Statement seekStatement_;  // one order column: seeks to its value
    static constexpr int MaxSkipped = 64;   // rows of that value stepped over at most
    // The statement to step on for the rows after `previous` (its order values in sortKey_),
    // positioned so that its next row is the one after it; `rows` of them at most.
    sql::Statement& scanAfter(qint64 previous, int rows) const;
    mutable sql::Statement sortKeyStatement_;  // the order values of one row, by key
    QStringList sortTerms_;                    // the order's terms before the row key
    mutable std::vector<int> sortSlots_;       // where each term is in a row read, when it is
    mutable qint64 sortKeyOf_ = 0;             // the row whose order values sortKey_ holds
    mutable Row sortKey_;                      // kept for the last row of the latest block
    bool rangeReadable_ = false;
    sql::Statement keysStatement_;
    std::vector<std::pair<QString, std::shared_ptr<sql::Statement>>> findStatements_;   // by condition
    std::vector<std::pair<QString, std::shared_ptr<sql::Statement>>> writeStatements_;  // by columns written
    mutable std::optional<std::vector<QVariant>> defaults_;

    static constexpr int Block = 64;              // rows read by key at once
    static constexpr int RangeBlock = 1024;       // rows kept read by key before the cache is emptied
    static constexpr int FirstRangeBlock = 1024;  // rows read on in order by a first scan
    static constexpr int MaxRangeBlock = 4096;    // ... and by the scans of a long walk
    mutable int rangeBlock_ = FirstRangeBlock;
    mutable qint64 memoKey_ = 0;
    mutable const CachedRow* memoRow_ = nullptr;  // the cached row of memoKey_
    void clearCache() const;
    void forget(qint64 key) const;

    // Called for every value read: inline, with the throwing paths out of line.
    void checkOpen() const
    {
        if (!dbi_ || !dbi_->db)
            notOpen();
    }
    void requireCurrent() const
    {
        checkOpen();
        if (!hasCurrent())
            noCurrent();
    }
    [[noreturn]] static void notOpen();
    [[noreturn]] static void noCurrent();
    void requireUpdatable() const;
    void checkColumn(int index) const;
    int columnOrThrow(const QString& name) const;
    QVariant readValue(int index) const;  // an open set, a valid column
    void discardEdit();

    void describeColumns();
    void describeKeyedColumns();
    void describeQueryColumns(sqlite3_stmt* stmt, const QString& view);
    QString keysOrder() const;
    void loadKeys();
    void loadRows(const QString& sqlText, bool withKeys);
    void reload(bool keepPosition);

    // The current row's stored value of a column (-1: only make sure the row exists).
    const QVariant& currentValue(int column) const;
    // The same when it is at hand without a look-up: the row read last, with the column
    // read in it (a caller reading several fields of a row). nullptr otherwise.
    const QVariant* valueAtHand(int column) const
    {
        if (!memoRow_ || !hasCurrent() || memoKey_ != keys_[size_t(pos_)] ||
            cacheGeneration_ != dbi_->generation || size_t(column) >= wantedSince_.size())
            return nullptr;
        const quint32 since = wantedSince_[size_t(column)];
        if (since == NotWanted || memoRow_->version < since || memoRow_->gone)
            return nullptr;
        const int slot = (*memoRow_->layout)[size_t(column)];
        return slot < 0 ? nullptr : &memoRow_->values[slot];
    }
    void fetchBlock(int position) const;
    // The statement reading up to `keys` rows by key (none: the columns only, to describe them).
    QString rowSql(const QString& columns, int keys) const;
    int rowKeysWanted() const;
    void prepareRowStatement() const;
    void newLayout() const;
    void updateRangeOrder();
    bool readRange(int position) const;
    // Stores a row read by st (its key in column 0, its values from column `first`).
    void storeRow(const sql::Statement& st, CachedRow& row, int first) const;
    void keepSortKey(qint64 key, const sql::Statement& st, int first) const;
    bool readSortKey(qint64 key) const;  // the order values of a row, to scan on after it
    QVariant defaultValue(int index) const;

    dialect::Resolver columnResolver() const;
    QString translatedCondition(const QString& condition) const;
    std::vector<int> matchingPositions(const QString& condition, const QVariantList& params);
    std::shared_ptr<sql::Statement> writeStatement(const QString& signature, const QString& sqlText);
    std::shared_ptr<sql::Statement> cachedWriteStatement(QStringView signature) const;
    void afterWrite(qint64 key);
    bool touchesIndex() const;
    enum class FindFrom { First, Next, Previous, Last };
    void find(FindFrom from, const QString& condition, const QVariantList& params);
    int positionOf(qint64 key) const;
    std::shared_ptr<sql::Statement> findStatement(const QString& condition);

    RecordSource derivedSource() const;
};

}  // namespace store
