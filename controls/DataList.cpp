#include "controls/DataList.h"

#include "controls/DataSource.h"

namespace controls {

BookmarkListModel::BookmarkListModel(QObject* parent) : QAbstractListModel(parent) {}
void BookmarkListModel::setRowSource(DataSource* source, const QStringList& listFields, ListText compose,
                                     const QString& boundColumn)
{
    source_ = source;
    listFields_ = listFields;
    compose_ = std::move(compose);
    boundColumn_ = boundColumn;
}
void BookmarkListModel::refill() {}
int BookmarkListModel::rowCount(const QModelIndex&) const { return int(entries_.size()); }
QVariant BookmarkListModel::data(const QModelIndex&, int) const { return {}; }
QString BookmarkListModel::textAt(int) const { return {}; }
store::Bookmark BookmarkListModel::bookmarkAt(int) const { return 0; }
QVariant BookmarkListModel::boundValueAt(int) const { return {}; }
int BookmarkListModel::rowOfBookmark(store::Bookmark) const { return -1; }
int BookmarkListModel::rowOfBoundValue(const QVariant&) const { return -1; }
int BookmarkListModel::rowOfText(const QString&) const { return -1; }

DataList::DataList(QWidget* parent) : QListView(parent), model_(new BookmarkListModel(this)) { setModel(model_); }
void DataList::setRowSource(DataSource* source, const QString& listField, const QString& boundColumn)
{
    model_->setRowSource(source, {listField}, {}, boundColumn);
}
void DataList::setRowSource(DataSource* source, const QStringList& listFields, ListText compose,
                            const QString& boundColumn)
{
    model_->setRowSource(source, listFields, std::move(compose), boundColumn);
}
DataSource* DataList::rowSource() const { return model_->rowSource(); }
void DataList::refill() { model_->refill(); }
int DataList::count() const { return model_->rowCount(); }
int DataList::listIndex() const { return -1; }
void DataList::setListIndex(int) {}
QString DataList::text() const { return {}; }
QString DataList::itemText(int) const { return {}; }
std::optional<store::Bookmark> DataList::selectedBookmark() const { return std::nullopt; }
std::optional<store::Bookmark> DataList::bookmarkAt(int) const { return std::nullopt; }
QVariant DataList::boundText() const { return {}; }
bool DataList::selectBookmark(store::Bookmark) { return false; }
bool DataList::selectBoundValue(const QVariant&) { return false; }
bool DataList::moveRowSourceToSelection() { return false; }

DataCombo::DataCombo(QWidget* parent) : QComboBox(parent), model_(new BookmarkListModel(this))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setModel(model_);
}
void DataCombo::setRowSource(DataSource* source, const QString& listField, const QString& boundColumn)
{
    model_->setRowSource(source, {listField}, {}, boundColumn);
}
DataSource* DataCombo::rowSource() const { return model_->rowSource(); }
void DataCombo::refill() { model_->refill(); }
std::optional<store::Bookmark> DataCombo::selectedBookmark() const { return std::nullopt; }
QVariant DataCombo::boundText() const { return {}; }
bool DataCombo::moveRowSourceToSelection() { return false; }

}  // namespace controls
