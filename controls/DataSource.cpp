#include "controls/DataSource.h"

#include "controls/DataNavigator.h"
#include "controls/DataSourceBinding.h"
#include "controls/Dialogs.h"
#include "controls/FailureReason.h"
#include "store/Log.h"

#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWidget>

namespace controls {

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
    return !ca.isEmpty() ? ca == cb : fa.absoluteFilePath() == fb.absoluteFilePath();
}

}  // namespace

DataSource::DataSource(QObject* parent) : QObject(parent)
{
    if (auto* widget = qobject_cast<QWidget*>(parent))
        watchWindow(widget->window());
}

DataSource::~DataSource() = default;

void DataSource::watchWindow(QWidget* window)
{
    window_ = window;
    window->installEventFilter(this);
    if (auto* dialog = qobject_cast<QDialog*>(window))
        connect(dialog, &QDialog::finished, this,
                [this] { leaveRow(ValidateEvent::Action::Unload, Leave::DiscardOnFailure); });
}

bool DataSource::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Close && !leaveRowForClose()) {
        event->ignore();  // the window stays open with what was typed
        return true;
    }
    // A dialog's Esc would hide it without a close event: with changes not yet written it
    // closes the window instead, so that the changes are written or knowingly given up.
    if (event->type() == QEvent::KeyPress && qobject_cast<QDialog*>(window_) && isDirty()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            window_->close();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool DataSource::leaveRowForClose()
{
    if (leaveRow(ValidateEvent::Action::Unload, Leave::KeepOnFailure))
        return true;
    // The reason has been shown. What was typed stays on screen unless the user gives it up.
    const int answer =
        MsgBox(QStringLiteral("Close without saving your changes?"),
               mb::YesNo | mb::Question | mb::DefaultButton2, window_->windowTitle(), window_,
               QStringLiteral(
                   "Your changes could not be saved. Choose No to keep the window open with your changes, "
                   "so that you can correct them or try Close again."));
    if (answer != mb::Yes)
        return false;
    clearBuffer();
    adding_ = false;
    return true;
}

// ---- the record set ---------------------------------------------------------------------

void DataSource::setDatabaseName(const QString& path)
{
    databaseName_ = path;
}
void DataSource::setRecordSource(const QString& source)
{
    recordSource_ = source;
}
void DataSource::setRecordsetType(store::RecordsetType type)
{
    type_ = type;
}

store::Database& DataSource::openDatabase()
{
    auto& workspace = store::Workspace::defaultWorkspace();
    store::Database* open = workspace.database();
    if (open && (databaseName_.isEmpty() || sameFile(open->path(), databaseName_)))
        return *open;
    return workspace.openDatabase(databaseName_);
}

void DataSource::refresh()
{
    leaveRow(ValidateEvent::Action::Refresh, Leave::DiscardOnFailure);
    if (!recordSource_.isEmpty())
        recordset_ = openDatabase().openRecordset(recordSource_, type_);
    else if (recordset_)
        recordset_->requery();
    resync(true);
}

void DataSource::setRecordset(std::unique_ptr<store::Recordset> recordset)
{
    leaveRow(ValidateEvent::Action::Refresh, Leave::DiscardOnFailure);
    recordset_ = std::move(recordset);
    resync(true);
}

void DataSource::setIndex(const QString& indexName)
{
    if (!recordset_)
        return;
    leaveRow(ValidateEvent::Action::Refresh, Leave::DiscardOnFailure);
    recordset_->setIndex(indexName);
    if (!recordset_->hasCurrent() && recordset_->recordCount() > 0)
        recordset_->moveFirst();
    resync(true);
}

void DataSource::close()
{
    leaveRow(ValidateEvent::Action::Close, Leave::DiscardOnFailure);
    recordset_.reset();
    resync(false);
}

bool DataSource::isOpen() const
{
    return recordset_ && recordset_->isOpen();
}

void DataSource::resync(bool raiseReposition)
{
    clearBuffer();
    adding_ = false;
    emit rowsReset();
    arrive(raiseReposition);
}

// ---- moving -------------------------------------------------------------------------------

bool DataSource::moveBy(ValidateEvent::Action action, const Move& move)
{
    if (!recordset_ || !leaveRow(action, Leave::KeepOnFailure))
        return false;
    adding_ = false;
    try {
        move(*recordset_);
    } catch (const store::StoreError&) {
        arrive(false);
        throw;
    }
    arrive(true);
    return true;
}

using Action = ValidateEvent::Action;

bool DataSource::moveFirst()
{
    return moveBy(Action::MoveFirst, [](store::Recordset& rs) { rs.moveFirst(); });
}
bool DataSource::moveLast()
{
    return moveBy(Action::MoveLast, [](store::Recordset& rs) { rs.moveLast(); });
}
bool DataSource::moveNext()
{
    return moveBy(Action::MoveNext, [](store::Recordset& rs) { rs.moveNext(); });
}
bool DataSource::movePrevious()
{
    return moveBy(Action::MovePrevious, [](store::Recordset& rs) { rs.movePrevious(); });
}

bool DataSource::setBookmark(store::Bookmark mark)
{
    return moveBy(Action::Bookmark, [mark](store::Recordset& rs) { rs.setBookmark(mark); });
}

bool DataSource::setAbsolutePosition(int position)
{
    return moveBy(Action::Bookmark, [position](store::Recordset& rs) { rs.setAbsolutePosition(position); });
}

bool DataSource::findFirst(const QString& condition, const QVariantList& params)
{
    return moveBy(Action::Find, [&](store::Recordset& rs) { rs.findFirst(condition, params); });
}

bool DataSource::findNext(const QString& condition, const QVariantList& params)
{
    return moveBy(Action::Find, [&](store::Recordset& rs) { rs.findNext(condition, params); });
}

bool DataSource::findPrevious(const QString& condition, const QVariantList& params)
{
    return moveBy(Action::Find, [&](store::Recordset& rs) { rs.findPrevious(condition, params); });
}

bool DataSource::findLast(const QString& condition, const QVariantList& params)
{
    return moveBy(Action::Find, [&](store::Recordset& rs) { rs.findLast(condition, params); });
}

bool DataSource::noMatch() const
{
    return recordset_ ? recordset_->noMatch() : true;
}

bool DataSource::navigatePrevious()
{
    return moveBy(Action::MovePrevious, [](store::Recordset& rs) {
        rs.movePrevious();
        if (rs.bof() && rs.recordCount() > 0)
            rs.moveFirst();
    });
}

bool DataSource::navigateNext()
{
    return moveBy(Action::MoveNext, [](store::Recordset& rs) {
        rs.moveNext();
        if (rs.eof() && rs.recordCount() > 0)
            rs.moveLast();
    });
}

bool DataSource::hasCurrent() const
{
    return adding_ || (recordset_ && recordset_->hasCurrent());
}
bool DataSource::bof() const
{
    return !recordset_ || recordset_->bof();
}
bool DataSource::eof() const
{
    return !recordset_ || recordset_->eof();
}
bool DataSource::isEmpty() const
{
    return !recordset_ || (recordset_->bof() && recordset_->eof());
}
int DataSource::recordCount() const
{
    return recordset_ ? recordset_->recordCount() : 0;
}

int DataSource::absolutePosition() const
{
    return recordset_ && !adding_ && recordset_->hasCurrent() ? recordset_->absolutePosition() : -1;
}

std::optional<store::Bookmark> DataSource::bookmark() const
{
    if (!recordset_ || adding_ || !recordset_->hasCurrent())
        return std::nullopt;
    return recordset_->bookmark();
}

// ---- leaving and writing the row -----------------------------------------------------------

bool DataSource::addNew()
{
    if (!recordset_ || !leaveRow(Action::AddNew, Leave::KeepOnFailure))
        return false;
    clearBuffer();
    adding_ = true;
    arrive(false);
    return true;
}

bool DataSource::updateRecord()
{
    const bool wasAdding = adding_;
    if (!leaveRow(Action::Update, Leave::KeepOnFailure))
        return false;
    arrive(wasAdding);
    return true;
}

void DataSource::cancelUpdate()
{
    clearBuffer();
    adding_ = false;
    arrive(false);
}

bool DataSource::isDirty() const
{
    if (!buffer_.isEmpty())
        return true;
    for (const auto& b : bindings_)
        if (isBindingDirty(*b))
            return true;
    return false;
}

QList<QPair<QString, QVariant>> DataSource::pendingChanges() const
{
    QList<QPair<QString, QVariant>> changes;
    QHash<QString, int> at;  // field key -> position in changes
    for (auto it = buffer_.cbegin(); it != buffer_.cend(); ++it) {
        at.insert(it.key(), int(changes.size()));
        changes.append({bufferNames_.value(it.key()), it.value()});
    }
    for (const auto& b : bindings_) {
        if (!isBindingDirty(*b))
            continue;
        const QVariant value = bindingValue(*b);
        const QString key = fieldKeyOf(b->field);
        if (at.contains(key))
            changes[at.value(key)].second = value;  // typed after it was set: the typed value wins
        else {
            at.insert(key, int(changes.size()));
            changes.append({b->field, value});
        }
    }
    return changes;
}

bool DataSource::leaveRow(ValidateEvent::Action action, Leave how)
{
    if (!recordset_ || !hasCurrent())
        return true;
    const auto changes = pendingChanges();
    ValidateEvent event{action, !changes.isEmpty(), false};
    emit validate(event);
    if (event.cancel) {
        if (how == Leave::KeepOnFailure)
            return false;
        clearBuffer();
        adding_ = false;
        return true;
    }
    if (changes.isEmpty() || writeRow(changes)) {
        adding_ = false;
        return true;
    }
    if (how == Leave::KeepOnFailure)
        return false;
    clearBuffer();
    adding_ = false;
    return true;
}

bool DataSource::writeRow(const QList<QPair<QString, QVariant>>& changes)
{
    store::Recordset& rs = *recordset_;
    QString field;  // the field being set when the store refuses
    try {
        if (adding_)
            rs.addNew();
        else
            rs.edit();
        for (const auto& change : changes) {
            field = change.first;
            rs.setValue(change.first, change.second);
        }
        field.clear();
        rs.update();
    } catch (const store::StoreError& e) {
        try {
            if (rs.editMode() != store::EditMode::None)
                rs.cancelUpdate();
        } catch (const store::StoreError& ignored) {
            store::logIgnored("cancelling a refused edit", ignored);
        }
        raiseError(e.number(), e.description(), field);
        return false;
    }
    clearBuffer();
    for (auto& b : bindings_) {
        b->loadedText = widgetText(*b);  // what is shown is now stored
        b->mustWrite = false;
    }
    if (adding_) {
        adding_ = false;
        const store::Bookmark added = rs.lastModified();
        rs.setBookmark(added);  // the new row becomes the current row
        emit rowsReset();
    } else {
        emit rowUpdated(rs.bookmark());
    }
    return true;
}

void DataSource::raiseError(int number, const QString& description, const QString& field)
{
    const QString caption = field.isEmpty() ? QString() : fieldCaption(field);
    DataErrorEvent event{number, description, DataErrorEvent::Response::ShowMessage, field,
                         failureReason(number, description, caption, fieldType(field))};
    emit error(event);
    if (event.response == DataErrorEvent::Response::ShowMessage)
        MsgBox(description, mb::OKOnly | mb::Exclamation, QString(), window_,
               event.reason == description ? QString() : event.reason);
}

void DataSource::reportError(const store::StoreError& failure, const QString& field)
{
    raiseError(failure.number(), failure.description(), field);
}

void DataSource::setFieldCaption(const QString& field, const QString& caption)
{
    fieldCaptions_.insert(fieldKeyOf(field), caption);
}

QString DataSource::fieldCaption(const QString& field) const
{
    if (const auto it = fieldCaptions_.constFind(fieldKeyOf(field)); it != fieldCaptions_.cend())
        return it.value();
    const QString bound = boundCaption(field);
    return bound.isEmpty() ? captionOfFieldName(field) : bound;
}

void DataSource::clearBuffer()
{
    buffer_.clear();
    bufferNames_.clear();
}

void DataSource::arrive(bool raiseReposition)
{
    loadBindings();
    emit currentChanged();
    if (raiseReposition)
        emit reposition();
}

// ---- the row buffer ---------------------------------------------------------------------------

QVariant DataSource::storedValue(const QString& field) const
{
    if (!recordset_ || adding_ || !recordset_->hasCurrent())
        return QVariant();
    return recordset_->value(field);
}

QVariant DataSource::fieldValue(const QString& field) const
{
    const auto it = buffer_.constFind(fieldKeyOf(field));
    return it != buffer_.cend() ? it.value() : storedValue(field);
}

void DataSource::setFieldValue(const QString& field, const QVariant& value)
{
    const QString key = fieldKeyOf(field);
    buffer_.insert(key, value);
    bufferNames_.insert(key, field);
    reloadField(key);
    emit fieldValueChanged(field);
}

bool DataSource::hasFieldValue(const QString& field) const
{
    return buffer_.contains(fieldKeyOf(field));
}

void DataSource::discardFieldValue(const QString& field)
{
    const QString key = fieldKeyOf(field);
    if (!buffer_.remove(key))
        return;
    bufferNames_.remove(key);
    reloadField(key);
    emit fieldValueChanged(field);
}

void DataSource::reloadField(const QString& key)
{
    for (auto& b : bindings_)
        if (fieldKeyOf(b->field) == key)
            loadBinding(*b);
}

store::FieldType DataSource::fieldType(const QString& field) const
{
    if (!recordset_)
        return store::FieldType::Unknown;
    for (const auto& info : recordset_->fields())
        if (info.name.compare(field, Qt::CaseInsensitive) == 0)
            return info.type;
    return store::FieldType::Unknown;
}

// ---- navigator ------------------------------------------------------------------------------------

void DataSource::setCaption(const QString& caption)
{
    caption_ = caption;
    emit captionChanged(caption);
}

DataNavigator* DataSource::createNavigator(QWidget* parent)
{
    return new DataNavigator(this, parent);
}

}  // namespace controls
