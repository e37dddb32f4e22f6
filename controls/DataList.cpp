#include "controls/DataList.h"

#include "controls/CellFormat.h"
#include "controls/DataSource.h"
#include "store/Log.h"

namespace controls {

namespace {

constexpr int BookmarkRole = Qt::UserRole;
constexpr int BoundRole = Qt::UserRole + 1;

QString joinNonEmpty(const QVariantList& values)
{
    QStringList parts;
    for (const QVariant& v : values) {
        const QString text = formatCell(v, CellFormat::AsEntered);
        if (!text.isEmpty())
            parts << text;
    }
    return parts.join(' ');
}

// Moves a source to a bookmark; false when it could not (a failure is not an error here:
// a pick of a row that is gone simply does nothing).
bool moveSource(DataSource* source, std::optional<store::Bookmark> mark)
{
    if (!source || !mark)
        return false;
    try {
        return source->setBookmark(*mark);
    } catch (const store::StoreError&) {
        return false;
    }
}

}  // namespace

// ==== BookmarkListModel ========================================================================

BookmarkListModel::BookmarkListModel(QObject* parent) : QAbstractListModel(parent) {}

void BookmarkListModel::setRowSource(DataSource* source, const QStringList& listFields, ListText compose,
                                     const QString& boundColumn)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    listFields_ = listFields;
    compose_ = std::move(compose);
    boundColumn_ = boundColumn.isEmpty() && !listFields.isEmpty() ? listFields.first() : boundColumn;
    if (source) {
        connect(source, &DataSource::rowsReset, this, &BookmarkListModel::refill);
        connect(source, &DataSource::rowUpdated, this, &BookmarkListModel::onRowUpdated);
    }
    refill();
}

BookmarkListModel::Entry BookmarkListModel::readEntry(const store::Recordset& rs,
                                                      const std::vector<int>& listIndexes,
                                                      int boundIndex) const
{
    QVariantList values;
    values.reserve(qsizetype(listIndexes.size()));
    for (int i : listIndexes)
        values.push_back(i >= 0 ? rs.value(i) : QVariant());
    Entry entry;
    entry.text = compose_ ? compose_(values) : joinNonEmpty(values);
    entry.bookmark = rs.bookmark();
    entry.bound = boundIndex >= 0 ? rs.value(boundIndex) : QVariant();
    return entry;
}

// Reads every row once through a clone of the source's record set (the source's own
// current row does not move).
void BookmarkListModel::refill()
{
    beginResetModel();
    entries_.clear();
    store::Recordset* rs = source_ ? source_->recordset() : nullptr;
    if (rs) {
        try {
            auto reader = rs->clone();
            std::vector<int> listIndexes;
            for (const QString& f : listFields_)
                listIndexes.push_back(reader->fieldIndex(f));
            const int boundIndex = reader->fieldIndex(boundColumn_);
            entries_.reserve(size_t(std::max(0, reader->recordCount())));
            if (reader->recordCount() > 0)
                reader->moveFirst();
            while (!reader->eof()) {
                entries_.push_back(readEntry(*reader, listIndexes, boundIndex));
                reader->moveNext();
            }
        } catch (const store::StoreError& ignored) {
            store::logIgnored("reading the list's rows", ignored);
            // The rows read so far are listed.
        }
    }
    endResetModel();
}

void BookmarkListModel::onRowUpdated(store::Bookmark mark)
{
    const int row = rowOfBookmark(mark);
    store::Recordset* rs = source_ ? source_->recordset() : nullptr;
    if (row < 0 || !rs)
        return;
    try {
        // The source is normally still on the row it wrote: read it there, since a clone
        // of a large set costs far more than the one entry.
        std::unique_ptr<store::Recordset> clone;
        const store::Recordset* reader = rs;
        if (!rs->hasCurrent() || rs->bookmark() != mark) {
            clone = rs->clone();
            clone->setBookmark(mark);
            reader = clone.get();
        }
        std::vector<int> listIndexes;
        for (const QString& f : listFields_)
            listIndexes.push_back(reader->fieldIndex(f));
        entries_[size_t(row)] = readEntry(*reader, listIndexes, reader->fieldIndex(boundColumn_));
        emit dataChanged(index(row), index(row));
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reading a row of the list again", ignored);
    }
}

int BookmarkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant BookmarkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(entries_.size()))
        return QVariant();
    const Entry& e = entries_[size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return e.text;
        case BookmarkRole:
            return e.bookmark;
        case BoundRole:
            return e.bound;
        default:
            return QVariant();
    }
}

QString BookmarkListModel::textAt(int row) const
{
    return row >= 0 && row < int(entries_.size()) ? entries_[size_t(row)].text : QString();
}

store::Bookmark BookmarkListModel::bookmarkAt(int row) const
{
    return row >= 0 && row < int(entries_.size()) ? entries_[size_t(row)].bookmark : 0;
}

QVariant BookmarkListModel::boundValueAt(int row) const
{
    return row >= 0 && row < int(entries_.size()) ? entries_[size_t(row)].bound : QVariant();
}

int BookmarkListModel::rowOfBookmark(store::Bookmark mark) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].bookmark == mark)
            return int(i);
    return -1;
}

int BookmarkListModel::rowOfBoundValue(const QVariant& value) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].bound == value)
            return int(i);
    return -1;
}

int BookmarkListModel::rowOfText(const QString& text) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].text == text)
            return int(i);
    return -1;
}

// ==== DataList ======================================================================================

DataList::DataList(QWidget* parent) : QListView(parent), model_(new BookmarkListModel(this))
{
    setModel(model_);
    setUniformItemSizes(true);  // no per-row size queries over thousands of entries
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void DataList::setRowSource(DataSource* source, const QString& listField, const QString& boundColumn)
{
    model_->setRowSource(source, {listField}, {}, boundColumn);
}

void DataList::setRowSource(DataSource* source, const QStringList& listFields, ListText compose,
                            const QString& boundColumn)
{
    model_->setRowSource(source, listFields, std::move(compose), boundColumn);
}

DataSource* DataList::rowSource() const
{
    return model_->rowSource();
}
void DataList::refill()
{
    model_->refill();
}
int DataList::count() const
{
    return model_->rowCount();
}

int DataList::listIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void DataList::setListIndex(int index)
{
    if (index < 0 || index >= count()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex at = model_->index(index);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    scrollTo(at);
}

QString DataList::text() const
{
    return model_->textAt(listIndex());
}
QString DataList::itemText(int index) const
{
    return model_->textAt(index);
}

std::optional<store::Bookmark> DataList::selectedBookmark() const
{
    return bookmarkAt(listIndex());
}

std::optional<store::Bookmark> DataList::bookmarkAt(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    return model_->bookmarkAt(index);
}

QVariant DataList::boundText() const
{
    return model_->boundValueAt(listIndex());
}

bool DataList::selectBookmark(store::Bookmark mark)
{
    const int row = model_->rowOfBookmark(mark);
    if (row >= 0)
        setListIndex(row);
    return row >= 0;
}

bool DataList::selectBoundValue(const QVariant& value)
{
    const int row = model_->rowOfBoundValue(value);
    if (row >= 0)
        setListIndex(row);
    return row >= 0;
}

bool DataList::moveRowSourceToSelection()
{
    return moveSource(rowSource(), selectedBookmark());
}

// ==== DataCombo =====================================================================================

DataCombo::DataCombo(QWidget* parent) : QComboBox(parent), model_(new BookmarkListModel(this))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Sizing to the contents would measure every entry.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    setModel(model_);
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    // A refill resets the list; the text (bound to a field elsewhere) must not change,
    // and its Change event must not fire for it.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        keptText_ = currentText();
        blockSignals(true);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        setCurrentIndex(-1);
        setEditText(keptText_);
        blockSignals(false);
    });
}

void DataCombo::setRowSource(DataSource* source, const QString& listField, const QString& boundColumn)
{
    model_->setRowSource(source, {listField}, {}, boundColumn);
}

DataSource* DataCombo::rowSource() const
{
    return model_->rowSource();
}
void DataCombo::refill()
{
    model_->refill();
}

std::optional<store::Bookmark> DataCombo::selectedBookmark() const
{
    const int row = model_->rowOfText(currentText());
    if (row < 0)
        return std::nullopt;
    return model_->bookmarkAt(row);
}

QVariant DataCombo::boundText() const
{
    return model_->boundValueAt(model_->rowOfText(currentText()));
}

bool DataCombo::moveRowSourceToSelection()
{
    return moveSource(rowSource(), selectedBookmark());
}

}  // namespace controls
