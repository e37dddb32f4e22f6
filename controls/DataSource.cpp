#include "controls/DataSource.h"

#include "controls/DataNavigator.h"

namespace controls {

struct DataSource::Binding {
    QPointer<QWidget> widget;
    QString field;
    FieldFormat format;
    QString loadedText;
};

DataSource::DataSource(QObject* parent) : QObject(parent) {}
DataSource::~DataSource() = default;

void DataSource::setDatabaseName(const QString& path) { databaseName_ = path; }
void DataSource::setRecordSource(const QString& source) { recordSource_ = source; }
void DataSource::setRecordsetType(store::RecordsetType type) { type_ = type; }
void DataSource::refresh() {}
void DataSource::setRecordset(std::unique_ptr<store::Recordset> recordset) { recordset_ = std::move(recordset); }
void DataSource::setIndex(const QString&) {}
void DataSource::close() {}
bool DataSource::isOpen() const { return recordset_ != nullptr; }
void DataSource::resync(bool) {}
bool DataSource::moveFirst() { return false; }
bool DataSource::moveLast() { return false; }
bool DataSource::moveNext() { return false; }
bool DataSource::movePrevious() { return false; }
bool DataSource::setBookmark(store::Bookmark) { return false; }
bool DataSource::setAbsolutePosition(int) { return false; }
bool DataSource::findFirst(const QString&, const QVariantList&) { return false; }
bool DataSource::findNext(const QString&, const QVariantList&) { return false; }
bool DataSource::findPrevious(const QString&, const QVariantList&) { return false; }
bool DataSource::findLast(const QString&, const QVariantList&) { return false; }
bool DataSource::noMatch() const { return true; }
bool DataSource::hasCurrent() const { return false; }
bool DataSource::bof() const { return true; }
bool DataSource::eof() const { return true; }
bool DataSource::isEmpty() const { return true; }
int DataSource::recordCount() const { return 0; }
int DataSource::absolutePosition() const { return -1; }
std::optional<store::Bookmark> DataSource::bookmark() const { return std::nullopt; }
bool DataSource::addNew() { return false; }
bool DataSource::updateRecord() { return true; }
void DataSource::cancelUpdate() {}
bool DataSource::isDirty() const { return false; }
QVariant DataSource::fieldValue(const QString&) const { return {}; }
void DataSource::setFieldValue(const QString&, const QVariant&) {}
store::FieldType DataSource::fieldType(const QString&) const { return store::FieldType::Unknown; }
void DataSource::bind(QWidget*, const QString&, FieldFormat) {}
void DataSource::unbind(QWidget*) {}
QString DataSource::boundField(QWidget*) const { return {}; }
void DataSource::setCaption(const QString& caption) { caption_ = caption; emit captionChanged(caption); }
DataNavigator* DataSource::createNavigator(QWidget* parent) { return new DataNavigator(this, parent); }
QString DataSource::textOf(const QVariant& value, store::FieldType) { return value.toString(); }
QVariant DataSource::valueOf(const QString& text, store::FieldType) { return text; }
bool DataSource::eventFilter(QObject* watched, QEvent* event) { return QObject::eventFilter(watched, event); }

}  // namespace controls
