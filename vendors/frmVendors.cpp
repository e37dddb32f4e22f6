#include "vendors/frmVendors.h"
#include "controls/Named.h"

#include "controls/ConfirmDelete.h"
#include "controls/DataList.h"
#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/ListValues.h"
#include "shell/Help.h"
#include "shell/OpenWindow.h"
#include "shell/Program.h"
#include "store/Store.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString VendorTable = QStringLiteral("Vendors");
const QString VendorOrder = QStringLiteral("CompanyName");
const QString NameField = QStringLiteral("VendorName");
// Characters of a vendor name the quick-search list shows without cutting it short.
constexpr int QuickSearchNameChars = 24;

using controls::named;

controls::DataSource* dataSource(QObject* parent, const QString& name)
{
    auto* source = new controls::DataSource(parent);
    source->setObjectName(name);
    return source;
}

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = named(new QPushButton(caption, parent), name);
    // Enter in a field must not press a button.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

void showVendorWindow(QWidget* parent)
{
    frmVendors window(parent);
    shell::loadAndShowModal(window, parent, [] {},
                            {QStringLiteral("Can't open the vendor list."), controls::mb::Exclamation});
}

const QStringList& frmVendors::serviceTypes()
{
    static const QStringList Types = {
        QStringLiteral("Banquet & Catering Facilities"),
        QStringLiteral("Bridal Salons / Men's Formal Wear"),
        QStringLiteral("Clergy / Chapel Services"),
        QStringLiteral("Florists"),
        QStringLiteral("Invitations & Announcements"),
        QStringLiteral("Jewlers"),
        QStringLiteral("Lingerie, & Specialty Clothing"),
        QStringLiteral("Musicians & DJ's"),
        QStringLiteral("Photography & Video"),
        QStringLiteral("Planning A Wedding"),
        QStringLiteral("Registry Stores & Gift Ideas"),
        QStringLiteral("Travel"),
        QStringLiteral("Wedding Album Sources"),
    };
    return Types;
}

frmVendors::frmVendors(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVendors"));
    setWindowTitle(QStringLiteral("Wedding Vendor List"));

    shell::setHelpContext(this, shell::HelpVendors);
    createControls();
    layOutControls();
    connectEvents();
}

// ---- building the window ----------------------------------------------------------------

void frmVendors::createControls()
{
    Text1 = named(new QLineEdit(this), QStringLiteral("Text1"));
    Text2 = named(new QLineEdit(this), QStringLiteral("Text2"));
    Text3 = named(new QLineEdit(this), QStringLiteral("Text3"));
    addDBCombo1 = named(new controls::DataCombo(this), QStringLiteral("addDBCombo1"));
    addDBCombo2 = named(new controls::DataCombo(this), QStringLiteral("addDBCombo2"));
    Text6 = named(new QLineEdit(this), QStringLiteral("Text6"));
    Text5 = named(new QLineEdit(this), QStringLiteral("Text5"));
    Text7 = named(new QLineEdit(this), QStringLiteral("Text7"));
    Text8 = named(new QLineEdit(this), QStringLiteral("Text8"));

    Combo1 = named(new QComboBox(this), QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);  // a typed service is stored as typed, never completed
    Combo1->addItems(serviceTypes());
    Combo1->setEditText(QStringLiteral("Select Service Type"));

    Text10 = named(new QPlainTextEdit(this), QStringLiteral("Text10"));
    Text10->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text10->setTabChangesFocus(true);

    Data1 = dataSource(this, QStringLiteral("Data1"));
    Data2 = dataSource(this, QStringLiteral("Data2"));
    Data3 = dataSource(this, QStringLiteral("Data3"));

    addDBList1 = named(new controls::DataList(this), QStringLiteral("addDBList1"));
    Label1 = named(new QLabel(QStringLiteral("0"), this), QStringLiteral("Label1"));
    SSCommand2 = commandButton(this, QStringLiteral("SSCommand2"), QStringLiteral("Add Vendor"));
    SSCommand3 = commandButton(this, QStringLiteral("SSCommand3"), QStringLiteral("Remove Vendor"));
    SSCommand4 = commandButton(this, QStringLiteral("SSCommand4"), QStringLiteral("Close"));

    Data1->bind(Text1, NameField);
    Data1->bind(Text2, QStringLiteral("Address1"));
    Data1->bind(Text3, QStringLiteral("Address2"));
    Data1->bind(addDBCombo1, QStringLiteral("City"));
    Data1->bind(addDBCombo2, QStringLiteral("State"));
    Data1->bind(Text6, QStringLiteral("Zip"));
    Data1->bind(Text5, QStringLiteral("Contact"));
    Data1->bind(Text7, QStringLiteral("Phone"));
    Data1->bind(Text8, QStringLiteral("Fax"));
    Data1->bind(Combo1, QStringLiteral("Service"));
    Data1->bind(Text10, QStringLiteral("Notes"));
    addDBCombo1->setRowSource(Data3, QStringLiteral("City"));
    addDBCombo2->setRowSource(Data2, QStringLiteral("State"));
    addDBList1->setRowSource(Data1, NameField, NameField);
    // Shown when a vendor has no service type yet.
    Combo1->lineEdit()->setPlaceholderText(QStringLiteral("Select Service Type"));
}

void frmVendors::layOutControls()
{
    auto* fields = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field, int span = 5) {
        fields->addWidget(new QLabel(caption, this), row, 0);
        fields->addWidget(field, row, 1, 1, span);
        ++row;
    };
    addRow(QStringLiteral("Vendor Name"), Text1);
    addRow(QStringLiteral("Address"), Text2);
    addRow(QStringLiteral("Address"), Text3);
    fields->addWidget(new QLabel(QStringLiteral("City"), this), row, 0);
    fields->addWidget(addDBCombo1, row, 1);
    fields->addWidget(new QLabel(QStringLiteral("State"), this), row, 2, Qt::AlignRight);
    fields->addWidget(addDBCombo2, row, 3);
    fields->addWidget(new QLabel(QStringLiteral("Zip/Postal"), this), row, 4, Qt::AlignRight);
    fields->addWidget(Text6, row, 5);
    ++row;
    addRow(QStringLiteral("Contact Name"), Text5);
    fields->addWidget(new QLabel(QStringLiteral("Telephone"), this), row, 0);
    fields->addWidget(Text7, row, 1);
    fields->addWidget(new QLabel(QStringLiteral("Fax"), this), row, 2, Qt::AlignRight);
    fields->addWidget(Text8, row, 3, 1, 3);
    ++row;
    addRow(QStringLiteral("Service Type"), Combo1);
    fields->addWidget(new QLabel(QStringLiteral("Additional Notes"), this), row, 0, Qt::AlignTop);
    fields->addWidget(Text10, row, 1, 1, 5);
    fields->setRowStretch(row, 1);
    fields->setColumnStretch(1, 3);
    fields->setColumnStretch(3, 2);
    fields->setColumnStretch(5, 2);
    Text6->setMinimumWidth(Text6->fontMetrics().horizontalAdvance(QStringLiteral("00000-0000")) + 12);
    // Wide enough that an ordinary vendor name shows whole in the quick-search list.
    addDBList1->setMinimumWidth(
        addDBList1->fontMetrics().horizontalAdvance(QString(QuickSearchNameChars, QLatin1Char('n'))) +
        addDBList1->verticalScrollBar()->sizeHint().width() + 8);

    auto* search =
        named(new QGroupBox(QStringLiteral("Quick Search"), this), QStringLiteral("fraQuickSearch"));
    auto* searchLayout = new QVBoxLayout(search);
    searchLayout->addWidget(addDBList1);
    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("Number of Vendors:"), this));
    count->addWidget(Label1, 1);
    searchLayout->addLayout(count);

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 3);
    top->addWidget(search, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Data1->createNavigator(this), 1);
    buttons->addSpacing(16);
    buttons->addWidget(SSCommand2);
    buttons->addWidget(SSCommand3);
    buttons->addWidget(SSCommand4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(780, 440);

    const QList<QWidget*> order = {Text1,  Text2,      Text3,      addDBCombo1, addDBCombo2,
                                   Text6,  Text5,      Text7,      Text8,       Combo1,
                                   Text10, addDBList1, SSCommand2, SSCommand3,  SSCommand4};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmVendors::connectEvents()
{
    connect(Data1, &controls::DataSource::reposition, this, &frmVendors::Data1_Reposition);
    controls::on(addDBCombo1).click([this] { addDBCombo1_Click(); }).lostFocus([this] {
        addDBCombo1_LostFocus();
    });
    controls::on(addDBCombo2).change([this] { addDBCombo2_Change(); }).lostFocus([this] {
        addDBCombo2_LostFocus();
    });
    controls::on(addDBList1).click([this] { addDBList1_Click(); });
    controls::on(SSCommand2).click([this] { SSCommand2_Click(); });
    controls::on(SSCommand3).click([this] { SSCommand3_Click(); });
    controls::on(SSCommand4).click([this] { SSCommand4_Click(); });
}

QList<QWidget*> frmVendors::fieldControls() const
{
    return {Text1, Text2, Text3, Text5, Text6, Text7, Text8, Combo1, Text10, addDBCombo1, addDBCombo2};
}

// Esc has no meaning in this window (a dialog would close on it).
void frmVendors::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- loading --------------------------------------------------------------------------------

void frmVendors::Form_Load()
{
    loadDataSources();
    limitToFieldSizes();
}

void frmVendors::loadDataSources()
{
    const QString path = shell::program().DatabasePath;
    Data1->setDatabaseName(path);
    Data1->setRecordSource(VendorTable);
    Data1->setRecordsetType(store::RecordsetType::Table);
    Data1->refresh();
    Data1->setIndex(VendorOrder);

    Data2->setDatabaseName(path);
    Data2->setRecordSource(QStringLiteral("StateList"));
    Data2->setRecordsetType(store::RecordsetType::Dynaset);
    Data2->refresh();

    Data3->setDatabaseName(path);
    Data3->setRecordSource(QStringLiteral("CityList"));
    Data3->setRecordsetType(store::RecordsetType::Dynaset);
    Data3->refresh();
}

// The boxes take no more characters than their fields hold, so that nothing typed is
// refused when the vendor is saved.
void frmVendors::limitToFieldSizes()
{
    const QList<store::FieldInfo> fields = Data1->recordset()->fields();
    for (QWidget* widget : fieldControls()) {
        const QString field = Data1->boundField(widget);
        for (const store::FieldInfo& info : fields) {
            if (info.size <= 0 || info.name.compare(field, Qt::CaseInsensitive) != 0)
                continue;
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                line->setMaxLength(info.size);
            else if (auto* combo = qobject_cast<QComboBox*>(widget))
                combo->lineEdit()->setMaxLength(info.size);
        }
    }
}

// ---- the current vendor -----------------------------------------------------------------------

void frmVendors::Data1_Reposition()
{
    emptyList_ = Data1->isEmpty();
    for (QWidget* widget : fieldControls())
        widget->setEnabled(!emptyList_);
    if (emptyList_) {
        Data1->setCaption(QStringLiteral("Vendor List (empty)"));
        Label1->setText(QStringLiteral("0"));
    } else {
        Data1->setCaption(Data1->fieldValue(NameField).toString());
        Label1->setText(QString::number(Data1->recordCount()));
    }
    showCurrentInQuickSearch();
}

// The quick-search list marks the current vendor.
void frmVendors::showCurrentInQuickSearch()
{
    showingCurrent_ = true;
    const auto mark = Data1->bookmark();
    if (!mark || !addDBList1->selectBookmark(*mark))
        addDBList1->setListIndex(-1);
    showingCurrent_ = false;
}

void frmVendors::addDBList1_Click()
{
    if (showingCurrent_)
        return;
    // A pick that cannot be reached (no entry, a row gone) leaves the current vendor.
    if (!addDBList1->moveRowSourceToSelection())
        showCurrentInQuickSearch();
}

// ---- city and state boxes -------------------------------------------------------------------------

void frmVendors::addDBCombo1_Click()
{
    cityTouched_ = true;
}
void frmVendors::addDBCombo1_LostFocus()
{
    addToList(cityTouched_, *Data3, QStringLiteral("City"), *addDBCombo1);
}
void frmVendors::addDBCombo2_Change()
{
    stateChanged_ = true;
}
void frmVendors::addDBCombo2_LostFocus()
{
    addToList(stateChanged_, *Data2, QStringLiteral("State"), *addDBCombo2);
}

// When the box's flag is set, adds its text to the list behind it (a name the list refuses,
// such as a duplicate or an empty one, is skipped) and clears the flag.
void frmVendors::addToList(bool& flag, controls::DataSource& list, const QString& field, const QComboBox& box)
{
    if (!flag)
        return;
    controls::appendListValue(list, field, box.currentText());
    flag = false;
}

// ---- buttons ----------------------------------------------------------------------------------------

void frmVendors::SSCommand2_Click()
{
    const QString name = controls::InputBox(QStringLiteral("Enter Vendor name:"),
                                            QStringLiteral("Add New Vendor"), QString(), nullptr, this);
    if (name.isEmpty()) {
        controls::Beep();
        controls::MsgBox(QStringLiteral("You must enter a Vendor name"), controls::mb::OKOnly,
                         QStringLiteral("New Vendor"), this);
        return;
    }
    try {
        addVendor(name);
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, QStringLiteral("Add Vendor Error"), this);
    }
}

// Adds the vendor through a table of its own, then shows it, with empty fields, at its
// place in the vendor order. The name is stored as typed.
void frmVendors::addVendor(const QString& name)
{
    auto table = shell::database().openRecordset(VendorTable, store::RecordsetType::Table);
    table->addNew();
    table->setValue(NameField, name);
    table->update();
    const store::Bookmark added = table->lastModified();
    table.reset();
    reloadVendors();
    Data1->setBookmark(added);
}

void frmVendors::SSCommand3_Click()
{
    controls::deleteShowingErrors([this] { removeCurrentVendor(); }, this);
}

// On an empty list, reading the name fails with the store's "no current record".
void frmVendors::removeCurrentVendor()
{
    store::Recordset* vendors = Data1->recordset();
    if (!vendors)
        return;
    const QString name = vendors->value(NameField).toString();
    if (!controls::confirmDelete(name, this))
        return;
    // The row is gone before the list is re-read, so edits typed into it are not written.
    vendors->deleteRecord();
    reloadVendors();
}

void frmVendors::reloadVendors()
{
    Data1->refresh();
    Data1->setIndex(VendorOrder);
}

void frmVendors::SSCommand4_Click()
{
    close();
}
