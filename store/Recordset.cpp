// The record set: opening and closing, checks, position and bookmarks, field lookup.
// Reading rows is in RecordsetRows.cpp, finding and derived sets in RecordsetFind.cpp,
// changes in RecordsetEdit.cpp.
#include "store/RecordsetImpl.h"

#include <algorithm>

namespace store {

using sql::raise;

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

namespace {

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
    seekStatement_.reset();
    sortKeyStatement_.reset();
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
    seekStatement_.finalize();
    sortKeyStatement_.finalize();
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

void RecordsetImpl::notOpen()
{
    raise(err::ObjectNotSet, QStringLiteral("The record set is not open."));
}

void RecordsetImpl::noCurrent()
{
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
    // Names are usually read in the same order row after row: look after the last one found
    // first.
    for (size_t i = 0; i < recentNames_.size(); ++i) {
        const size_t slot = (recentHit_ + 1 + i) % recentNames_.size();
        const auto& [recent, index] = recentNames_[slot];
        if (recent.constData() == name.constData() && recent.size() == name.size() && !recent.isNull()) {
            recentHit_ = slot;
            return index;
        }
    }
    // Windows read the same few names row after row: remember each spelling once found.
    if (const auto known = columnByName_.constFind(name); known != columnByName_.cend()) {
        recentHit_ = recentNext_++ % recentNames_.size();
        recentNames_[recentHit_] = {name, *known};
        return *known;
    }
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
    return readValue(columnOrThrow(name));
}

QVariant RecordsetImpl::value(int index) const
{
    checkOpen();
    checkColumn(index);
    return readValue(index);
}

QVariant RecordsetImpl::readValue(int index) const
{
    const FieldType type = columns_[size_t(index)].info.type;
    if (editMode_ == EditMode::None && keyed_) {
        if (const QVariant* v = valueAtHand(index))
            return sql::toRead(*v, type);
    }
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

}  // namespace store
