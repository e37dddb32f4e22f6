#include "controls/DataGrid.h"

#include "controls/DataSource.h"

#include <QMenu>

namespace controls {

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}
DataGridModel::~DataGridModel() = default;
void DataGridModel::setDataSource(DataSource* source) { source_ = source; }
void DataGridModel::setColumns(std::vector<GridColumn> columns) { columns_ = std::move(columns); }
int DataGridModel::rowCount(const QModelIndex&) const { return 0; }
int DataGridModel::columnCount(const QModelIndex&) const { return int(columns_.size()); }
QVariant DataGridModel::data(const QModelIndex&, int) const { return {}; }
QVariant DataGridModel::headerData(int, Qt::Orientation, int) const { return {}; }
Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const { return QAbstractTableModel::flags(index); }
bool DataGridModel::setData(const QModelIndex&, const QVariant&, int) { return false; }
int DataGridModel::recordCount() const { return 0; }
std::optional<store::Bookmark> DataGridModel::bookmarkAt(int) const { return std::nullopt; }
int DataGridModel::rowOfBookmark(store::Bookmark) const { return -1; }
QVariant DataGridModel::valueAt(int, int) const { return {}; }
QString DataGridModel::textAt(int, int) const { return {}; }
void DataGridModel::setAllowAddNew(bool allow) { allowAddNew_ = allow; }
int DataGridModel::fetchedRowCount() const { return 0; }
void DataGridModel::reload() {}

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DataGridModel(this)) { setModel(model_); }
int DataGrid::addColumn(const GridColumn& column)
{
    auto columns = model_->columns();
    columns.push_back(column);
    model_->setColumns(columns);
    return int(columns.size()) - 1;
}
void DataGrid::setColumns(std::vector<GridColumn> columns) { model_->setColumns(std::move(columns)); }
GridColumn& DataGrid::column(int index) { return model_->column(index); }
int DataGrid::columnCount() const { return int(model_->columns().size()); }
void DataGrid::setDataSource(DataSource* source) { model_->setDataSource(source); }
DataSource* DataGrid::dataSource() const { return model_->dataSource(); }
void DataGrid::setAllowAddNew(bool allow) { model_->setAllowAddNew(allow); }
void DataGrid::setAllowUpdate(bool allow) { allowUpdate_ = allow; }
void DataGrid::setPopupMenu(QMenu* menu) { popup_ = menu; }
int DataGrid::row() const { return currentIndex().row(); }
void DataGrid::setRow(int) {}
int DataGrid::col() const { return currentIndex().column(); }
void DataGrid::setCol(int) {}
int DataGrid::rowCount() const { return model_->rowCount(); }
bool DataGrid::isOnNewRow() const { return false; }
QString DataGrid::columnText(int) const { return {}; }
QVariant DataGrid::columnValue(int) const { return {}; }
void DataGrid::setColumnText(int, const QString&) {}
void DataGrid::setColumnValue(int, const QVariant&) {}
QString DataGrid::cellText(int, int) const { return {}; }
QVariant DataGrid::cellValue(int, int) const { return {}; }
std::optional<store::Bookmark> DataGrid::rowBookmark(int) const { return std::nullopt; }
std::vector<store::Bookmark> DataGrid::selectedBookmarks() const { return {}; }
void DataGrid::refresh() {}
bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    return QTableView::edit(index, trigger, event);
}
void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
}
void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
}
void DataGrid::mousePressEvent(QMouseEvent* event) { QTableView::mousePressEvent(event); }
void DataGrid::mouseReleaseEvent(QMouseEvent* event) { QTableView::mouseReleaseEvent(event); }
void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) { QTableView::mouseDoubleClickEvent(event); }
void DataGrid::keyPressEvent(QKeyEvent* event) { QTableView::keyPressEvent(event); }

}  // namespace controls
