// The grid's table model: rows read lazily in blocks through a clone of the record set,
// the current row shown from the DataSource's row buffer.
#include "controls/DataGrid.h"

#include "controls/DataSource.h"
#include "store/Log.h"

namespace controls {

// ==== DataGridModel ========================================================================

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}
DataGridModel::~DataGridModel() = default;

void DataGridModel::setDataSource(DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::rowsReset, this, &DataGridModel::reload);
        connect(source, &DataSource::rowUpdated, this, &DataGridModel::onRowUpdated);
        connect(source, &DataSource::fieldValueChanged, this, &DataGridModel::onFieldValueChanged);
        connect(source, &DataSource::currentChanged, this, &DataGridModel::onCurrentChanged);
    }
    reload();
}

void DataGridModel::setColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    columns_ = std::move(columns);
    readerColumns_.clear();
    types_.clear();
    endResetModel();
}

void DataGridModel::reload()
{
    beginResetModel();
    reader_.reset();
    blocks_.clear();
    recordCount_ = -1;
    readerColumns_.clear();
    types_.clear();
    shownCurrentRow_ = -1;
    endResetModel();
}

int DataGridModel::recordCount() const
{
    if (recordCount_ < 0)
        recordCount_ = source_ && source_->recordset() ? source_->recordset()->recordCount() : 0;
    return recordCount_;
}

int DataGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !source_ || !source_->recordset())
        return 0;
    return recordCount() + (allowAddNew_ ? 1 : 0);
}

int DataGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

void DataGridModel::learnFields() const
{
    if (!types_.empty() || !source_ || !source_->recordset())
        return;
    for (const auto& c : columns_)
        types_.push_back(c.dataField.isEmpty() ? store::FieldType::Unknown : source_->fieldType(c.dataField));
}

store::FieldType DataGridModel::fieldTypeOf(int column) const
{
    learnFields();
    return column >= 0 && size_t(column) < types_.size() ? types_[size_t(column)] : store::FieldType::Unknown;
}

// Reads one block of rows through the grid's own cursor (a clone), so that the
// DataSource's current row does not move.
void DataGridModel::readBlock(int block) const
{
    std::vector<Row>& rows = blocks_[block];
    store::Recordset* rs = source_ ? source_->recordset() : nullptr;
    const int first = block * BlockSize;
    if (!rs || first >= recordCount())
        return;
    try {
        if (!reader_)
            reader_ = rs->clone();
        if (readerColumns_.empty())
            for (const auto& c : columns_)
                readerColumns_.push_back(c.dataField.isEmpty() ? -1 : reader_->fieldIndex(c.dataField));
        reader_->setAbsolutePosition(first);
        for (int i = 0; i < BlockSize && first + i < recordCount() && !reader_->eof(); ++i) {
            Row row;
            row.bookmark = reader_->bookmark();
            row.values.reserve(columns_.size());
            for (int field : readerColumns_)
                row.values.push_back(field >= 0 ? reader_->value(field) : QVariant());
            rows.push_back(std::move(row));
            reader_->moveNext();
        }
    } catch (const store::StoreError& ignored) {
        store::logIgnored("reading the grid's rows", ignored);
        // Rows that cannot be read show empty; the rows read so far stay.
    }
}

const DataGridModel::Row* DataGridModel::fetch(int row) const
{
    if (row < 0 || row >= recordCount())
        return nullptr;
    const int block = row / BlockSize;
    if (!blocks_.count(block))
        readBlock(block);
    const auto& rows = blocks_[block];
    const size_t at = size_t(row % BlockSize);
    return at < rows.size() ? &rows[at] : nullptr;
}

int DataGridModel::fetchedRowCount() const
{
    int n = 0;
    for (const auto& [block, rows] : blocks_)
        n += int(rows.size());
    return n;
}

int DataGridModel::currentRow() const
{
    if (!source_ || !source_->recordset())
        return -1;
    return source_->isAdding() ? recordCount() : source_->absolutePosition();
}

std::optional<store::Bookmark> DataGridModel::bookmarkAt(int row) const
{
    if (const Row* r = fetch(row))
        return r->bookmark;
    return std::nullopt;
}

QVariant DataGridModel::valueAt(int row, int column) const
{
    if (column < 0 || size_t(column) >= columns_.size() || columns_[size_t(column)].dataField.isEmpty())
        return QVariant();
    if (row == currentRow()) {
        try {
            return source_->fieldValue(columns_[size_t(column)].dataField);
        } catch (const store::StoreError&) {
            return QVariant();
        }
    }
    const Row* r = fetch(row);
    return r ? r->values[size_t(column)] : QVariant();
}

QString DataGridModel::textAt(int row, int column) const
{
    if (column < 0 || size_t(column) >= columns_.size())
        return QString();
    return formatCell(valueAt(row, column), columns_[size_t(column)].format);
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return textAt(index.row(), index.column());
        case Qt::TextAlignmentRole: {
            const CellFormat f = columns_[size_t(index.column())].format;
            const bool number = f == CellFormat::Currency || f == CellFormat::GeneralNumber;
            return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        default:
            return QVariant();
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && size_t(section) < columns_.size() ? columns_[size_t(section)].caption
                                                                 : QString();
    // Row selectors: the current row is marked, the row being edited and the new row too.
    if (section == currentRow())
        return source_ && source_->isDirty() ? QStringLiteral("\u270E") : QStringLiteral("\u25B6");
    if (isNewRow(section))
        return QStringLiteral("*");
    return QString();
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid()) {
        const GridColumn& c = columns_[size_t(index.column())];
        if (!c.locked && !c.dataField.isEmpty())
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool DataGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    if (editHandler_)
        return editHandler_(index, value);
    return setCell(index.row(), index.column(), parseCell(value.toString(), fieldTypeOf(index.column())));
}

bool DataGridModel::setCell(int row, int column, const QVariant& value)
{
    if (!source_ || column < 0 || size_t(column) >= columns_.size())
        return false;
    const QString& field = columns_[size_t(column)].dataField;
    if (field.isEmpty())
        return false;
    if (isNewRow(row) && !source_->isAdding() && !source_->addNew())
        return false;
    if (row != currentRow())
        return false;
    source_->setFieldValue(field, value);
    return true;
}

void DataGridModel::setAllowAddNew(bool allow)
{
    if (allow == allowAddNew_)
        return;
    beginResetModel();
    allowAddNew_ = allow;
    endResetModel();
}

void DataGridModel::rowChanged(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void DataGridModel::onRowUpdated(store::Bookmark mark)
{
    for (auto& [block, rows] : blocks_) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].bookmark != mark)
                continue;
            const int row = block * BlockSize + int(i);
            blocks_.erase(block);  // read again on demand
            rowChanged(row);
            return;
        }
    }
}

void DataGridModel::onFieldValueChanged(const QString&)
{
    rowChanged(currentRow());
}

void DataGridModel::onCurrentChanged()
{
    const int previous = shownCurrentRow_;
    shownCurrentRow_ = currentRow();
    rowChanged(previous);
    rowChanged(shownCurrentRow_);
}

}  // namespace controls
