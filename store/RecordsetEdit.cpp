// Changing rows through a record set: the edit buffer, AddNew/Edit/Update, Delete.
#include "store/RecordsetImpl.h"

#include <cstdio>

namespace store {

using sql::raise;

// ---------------------------------------------------------------------------------------
// Changes

std::shared_ptr<sql::Statement> RecordsetImpl::cachedWriteStatement(QStringView signature) const
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
    // Statements are kept by the columns they write, so a run of edits prepares once.
    QVarLengthArray<QChar, 64> mark;
    mark.append(QChar(editMode_ == EditMode::Edit ? u'U' : u'I'));
    for (const auto& [column, value] : buffer_) {
        mark.append(QChar(u':'));
        char digits[12];
        const int n = std::snprintf(digits, sizeof digits, "%d", column);
        for (int i = 0; i < n; ++i)
            mark.append(QLatin1Char(digits[i]));
    }
    const QStringView signature(mark.constData(), mark.size());
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
            st = writeStatement(signature.toString(), text);
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

}  // namespace store
