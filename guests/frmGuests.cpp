#include "guests/frmGuests.h"

#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "controls/CellFormat.h"
#include "controls/DataList.h"
#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/MaskedEdit.h"
#include "guests/GuestRules.h"
#include "guests/GuestStore.h"
#include "guests/GuestSummary.h"
#include "guests/frmNewGuest.h"
#include "store/Store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPointer<frmGuests>& openWindow()
{
    static QPointer<frmGuests> window;
    return window;
}

const QString Guests = QStringLiteral("Guests");
const QString LastNameIndex = QStringLiteral("LastName");

// The focus policy a control was built with, kept while the tab change takes its
// keyboard stop away.
const char* const DesignedFocusPolicy = "orvaneDesignedFocusPolicy";

template <typename W>
W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLineEdit* textBox(const QString& name, int maxLength = 0)
{
    auto* box = named(new QLineEdit, name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    controls::selectAllOnFocus(box);
    return box;
}

QGroupBox* frame(const QString& name, const QString& caption)
{
    auto* box = named(new QGroupBox(caption), name);
    return box;
}

// A frame that keeps its place in the layout while hidden, so the tab does not jump.
void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Runs one step of a handler whose steps stand alone: a store failure ends that step only.
template <typename Step>
void tryStep(Step step)
{
    try {
        step();
    } catch (const store::StoreError&) {
    }
}

}  // namespace

// ==== opening ================================================================================

void showGuestWindow()
{
    frmGuests window;
    try {
        window.Form_Load();
    } catch (const store::StoreError& e) {
        shell::showError(e);
        return;
    }
    controls::ShowModal(&window);
}

frmGuests* frmGuests::instance()
{
    return openWindow();
}

frmGuests::frmGuests(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmGuests"));
    setWindowTitle(QStringLiteral("Guest List Manager"));
    openWindow() = this;

    Data1 = named(new controls::DataSource(this), QStringLiteral("Data1"));
    Data2 = named(new controls::DataSource(this), QStringLiteral("Data2"));
    Data3 = named(new controls::DataSource(this), QStringLiteral("Data3"));

    SSTab1 = named(new QTabWidget, QStringLiteral("SSTab1"));
    SSTab1->addTab(buildAddressTab(), QStringLiteral("Address"));
    SSTab1->addTab(buildDetailsTab(), QStringLiteral("Details"));
    SSTab1->addTab(buildGiftsTab(), QStringLiteral("Gifts"));
    SSTab1->addTab(buildSummaryTab(), QStringLiteral("Summary"));
    SSTab1->addTab(buildMailLabelsTab(), QStringLiteral("Mail Labels"));

    navigator = Data1->createNavigator(this);
    navigator->setMinimumWidth(320);
    SSCommand1 = named(new QPushButton(QStringLiteral("Help")), QStringLiteral("SSCommand1"));
    SSCommand2 = named(new QPushButton(QStringLiteral("Add Guest")), QStringLiteral("SSCommand2"));
    SSCommand3 = named(new QPushButton(QStringLiteral("Remove Guest")), QStringLiteral("SSCommand3"));
    SSCommand4 = named(new QPushButton(QStringLiteral("Close")), QStringLiteral("SSCommand4"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(navigator, 1);
    buttons->addSpacing(12);
    for (QPushButton* b : {SSCommand1, SSCommand2, SSCommand3, SSCommand4})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);

    bindFields();
    connectEvents();
    setKeyboardOrder();
    resize(720, 520);
}

frmGuests::~frmGuests()
{
    if (openWindow() == this)
        openWindow() = nullptr;
}

QWidget* frmGuests::buildAddressTab()
{
    auto* page = named(new QWidget, QStringLiteral("pageAddress"));

    addDBList1 = named(new controls::DataList, QStringLiteral("addDBList1"));
    addDBList1->setMinimumWidth(180);
    lblguestcount = named(new QLabel, QStringLiteral("lblguestcount"));
    auto* search = new QVBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Quick Search")));
    search->addWidget(addDBList1, 1);
    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("List Count:")));
    count->addWidget(lblguestcount, 1);
    search->addLayout(count);

    addCombo1 = named(new QComboBox, QStringLiteral("addCombo1"));
    addCombo1->setEditable(true);
    addCombo1->setInsertPolicy(QComboBox::NoInsert);
    addCombo1->addItems({QStringLiteral("Mr."), QStringLiteral("Mrs."), QStringLiteral("Ms."),
                         QStringLiteral("Mr. and Mrs."), QStringLiteral("Dr.")});
    addCombo1->setCurrentIndex(-1);
    addtxtFields[2] = textBox(QStringLiteral("addtxtFields(2)"), 20);
    addtxtFields[0] = textBox(QStringLiteral("addtxtFields(0)"), 20);
    addtxtFields[4] = textBox(QStringLiteral("addtxtFields(4)"), 40);
    addDBCombo1 = named(new controls::DataCombo, QStringLiteral("addDBCombo1"));
    addDBCombo2 = named(new controls::DataCombo, QStringLiteral("addDBCombo2"));
    addtxtFields[7] = textBox(QStringLiteral("addtxtFields(7)"), 20);
    addtxtFields[8] = textBox(QStringLiteral("addtxtFields(8)"), 20);
    addtxtFields[10] = textBox(QStringLiteral("addtxtFields(10)"), 20);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Title"), addCombo1);
    fields->addRow(QStringLiteral("FirstName"), addtxtFields[2]);
    fields->addRow(QStringLiteral("LastName"), addtxtFields[0]);
    fields->addRow(QStringLiteral("Address"), addtxtFields[4]);
    fields->addRow(QStringLiteral("City"), addDBCombo1);
    fields->addRow(QStringLiteral("State"), addDBCombo2);
    fields->addRow(QStringLiteral("Zip/Postal Code"), addtxtFields[7]);
    fields->addRow(QStringLiteral("Country"), addtxtFields[8]);
    fields->addRow(QStringLiteral("Phone"), addtxtFields[10]);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(search);
    layout->addSpacing(12);
    layout->addLayout(fields, 1);
    return page;
}

QWidget* frmGuests::buildDetailsTab()
{
    auto* page = named(new QWidget, QStringLiteral("pageDetails"));

    auto* side = frame(QStringLiteral("Frame1"), QStringLiteral("Guest of"));
    auto* sideLayout = new QVBoxLayout(side);
    const QString designed[] = {QStringLiteral("Bride"), QStringLiteral("Groom"), QStringLiteral("Both")};
    for (int i = 0; i < 3; ++i) {
        detside[size_t(i)] = named(new QRadioButton(designed[i]), QStringLiteral("detside(%1)").arg(i));
        sideLayout->addWidget(detside[size_t(i)]);
    }
    sideLayout->addStretch();

    auto* events = frame(QStringLiteral("Frame2"), QStringLiteral("Invited to the following events "));
    auto* eventsLayout = new QVBoxLayout(events);
    detCheck2 = named(new QCheckBox(QStringLiteral("Ceremony")), QStringLiteral("detCheck2"));
    detCheck3 = named(new QCheckBox(QStringLiteral("Reception")), QStringLiteral("detCheck3"));
    detCheck4 = named(new QCheckBox(QStringLiteral("Shower")), QStringLiteral("detCheck4"));
    detCheck5 = named(new QCheckBox(QStringLiteral("Rehearsal")), QStringLiteral("detCheck5"));
    for (QCheckBox* c : {detCheck2, detCheck3, detCheck4, detCheck5})
        eventsLayout->addWidget(c);
    eventsLayout->addStretch();

    // The reception party and the shower: invited, replied, attending.
    auto partyFrame = [](QGroupBox* box, const QString& invitedLabel, QLineEdit* invited, QCheckBox* replied,
                         QLineEdit* attending) {
        for (QLineEdit* count : {invited, attending})
            count->setMaximumWidth(90);
        auto* form = new QFormLayout(box);
        form->addRow(invitedLabel, invited);
        form->addRow(QString(), replied);
        form->addRow(QStringLiteral("Confirmed number attending"), attending);
        keepPlaceWhenHidden(box);
        box->hide();
    };
    Frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Guest Party "));
    detText1 = textBox(QStringLiteral("detText1"));
    detCheck1 = named(new QCheckBox(QStringLiteral("Received Response")), QStringLiteral("detCheck1"));
    detText2 = textBox(QStringLiteral("detText2"));
    partyFrame(Frame3, QStringLiteral("Total people invited"), detText1, detCheck1, detText2);
    showerframe = frame(QStringLiteral("showerframe"), QStringLiteral("Shower Details"));
    detText3 = textBox(QStringLiteral("detText3"));
    detCheck6 = named(new QCheckBox(QStringLiteral("Received Response")), QStringLiteral("detCheck6"));
    detText4 = textBox(QStringLiteral("detText4"));
    partyFrame(showerframe, QStringLiteral("Total invited"), detText3, detCheck6, detText4);

    auto* layout = new QGridLayout(page);
    layout->addWidget(side, 0, 0);
    layout->addWidget(events, 0, 1);
    layout->addWidget(Frame3, 1, 0);
    layout->addWidget(showerframe, 1, 1);
    layout->setRowStretch(2, 1);
    return page;
}

QWidget* frmGuests::buildGiftsTab()
{
    auto* page = named(new QWidget, QStringLiteral("pageGifts"));
    auto* layout = new QVBoxLayout(page);

    auto occasion = [&](int n, const QString& caption, QLineEdit*& text, controls::MaskedEdit*& amount,
                        QCheckBox*& card) {
        auto* box = frame(QStringLiteral("Frame%1").arg(3 + n), caption);
        text = textBox(QStringLiteral("gifText%1").arg(n));
        amount = named(new controls::MaskedEdit, QStringLiteral("gifMaskEdBox%1").arg(n));
        amount->setToolTip(QStringLiteral("Enter dollar amount"));
        amount->setAlignment(Qt::AlignRight);
        card = named(new QCheckBox(QStringLiteral("Thank-you card sent")),
                     QStringLiteral("gifCheck%1").arg(6 + n));
        auto* grid = new QGridLayout(box);
        grid->addWidget(new QLabel(QStringLiteral("Gift Description")), 0, 0);
        grid->addWidget(new QLabel(QStringLiteral("Gift Amount")), 0, 2);
        grid->addWidget(text, 1, 0);
        grid->addWidget(new QLabel(QStringLiteral("or")), 1, 1);
        grid->addWidget(amount, 1, 2);
        grid->addWidget(card, 1, 3);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(2, 1);
        layout->addWidget(box);
    };
    occasion(1, QStringLiteral("Engagement "), gifText1, gifMaskEdBox1, gifCheck7);
    occasion(2, QStringLiteral("Shower"), gifText2, gifMaskEdBox2, gifCheck8);
    occasion(3, QStringLiteral("Reception"), gifText3, gifMaskEdBox3, gifCheck9);
    layout->addStretch();
    return page;
}

QWidget* frmGuests::buildSummaryTab()
{
    auto* page = named(new QWidget, QStringLiteral("pageSummary"));

    Label10 = named(new QLabel(QStringLiteral("Summary Information")), QStringLiteral("Label10"));
    QFont heading = Label10->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label10->setFont(heading);

    // Five rows by five columns; the first row and column hold the headings.
    MSFlexGrid1 = named(new QTableWidget(5, 5), QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->horizontalHeader()->hide();
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    const QString columns[] = {QString(), QStringLiteral("Invitations    "),
                               QStringLiteral("Total People    "), QStringLiteral("Replies Received"),
                               QStringLiteral("Persons Attending")};
    const QString rows[] = {QString(), QStringLiteral("Shower"), QStringLiteral("Reception"),
                            QStringLiteral("Ceremony"), QStringLiteral("Rehearsal")};
    auto fixedCell = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(palette().button());
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        MSFlexGrid1->setItem(row, column, item);
    };
    for (int c = 0; c < 5; ++c)
        fixedCell(0, c, columns[c]);
    for (int r = 1; r < 5; ++r)
        fixedCell(r, 0, rows[r]);
    MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    MSFlexGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    MSFlexGrid1->setFixedHeight(MSFlexGrid1->rowHeight(0) * 5 + 2 * MSFlexGrid1->frameWidth());

    auto figures = [](const QString& name, const QString& caption, const std::array<QString, 3>& captions,
                      const std::array<QString, 3>& names, std::array<QLabel*, 3>& labels) {
        auto* box = frame(name, caption);
        auto* form = new QFormLayout(box);
        for (size_t i = 0; i < 3; ++i) {
            labels[i] = named(new QLabel, names[i]);
            form->addRow(captions[i], labels[i]);
        }
        return box;
    };
    std::array<QLabel*, 3> sides{}, gifts{};
    auto* invitations =
        figures(QStringLiteral("Frame7"), QStringLiteral("Invitations by "),
                {QStringLiteral("Bride"), QStringLiteral("Groom"), QStringLiteral("Both")},
                {QStringLiteral("sumBride"), QStringLiteral("sumGroom"), QStringLiteral("sumBoth")}, sides);
    auto* giftSummary = figures(
        QStringLiteral("Frame8"), QStringLiteral("Gift Summary"),
        {QStringLiteral("Engagement"), QStringLiteral("Shower"), QStringLiteral("Reception")},
        {QStringLiteral("sumengage"), QStringLiteral("sumshower"), QStringLiteral("sumreception")}, gifts);
    sumBride = sides[0];
    sumGroom = sides[1];
    sumBoth = sides[2];
    sumengage = gifts[0];
    sumshower = gifts[1];
    sumreception = gifts[2];

    auto* frames = new QHBoxLayout;
    frames->addWidget(invitations);
    frames->addWidget(giftSummary);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label10);
    layout->addWidget(MSFlexGrid1);
    layout->addLayout(frames);
    layout->addStretch();
    return page;
}

QWidget* frmGuests::buildMailLabelsTab()
{
    auto* page = named(new QWidget, QStringLiteral("pageMailLabels"));

    auto* about = frame(QStringLiteral("Frame9"), QStringLiteral("Envelope Labels"));
    auto* aboutLayout = new QVBoxLayout(about);
    for (const QString& line :
         {QStringLiteral("This is how the first line of the address label will appear for each event."),
          QStringLiteral("You can change the default address line by typing it here.")}) {
        auto* label = new QLabel(line);
        label->setWordWrap(true);
        aboutLayout->addWidget(label);
    }

    auto lineFrame = [](QGroupBox* box, QLineEdit* text, QPushButton* fill) {
        auto* row = new QHBoxLayout(box);
        row->addWidget(text, 1);
        row->addWidget(fill);
    };
    auto* wedding = frame(QStringLiteral("Frame10"), QStringLiteral("Wedding Invitation"));
    maiText2 = textBox(QStringLiteral("maiText2"));
    maifillwed = named(new QPushButton(QStringLiteral("Auto-Fill")), QStringLiteral("maifillwed"));
    lineFrame(wedding, maiText2, maifillwed);
    Frame11 = frame(QStringLiteral("Frame11"), QStringLiteral("Shower Invitation"));
    maiText3 = textBox(QStringLiteral("maiText3"));
    maifillshow = named(new QPushButton(QStringLiteral("Auto-Fill")), QStringLiteral("maifillshow"));
    lineFrame(Frame11, maiText3, maifillshow);
    keepPlaceWhenHidden(Frame11);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(about);
    layout->addWidget(wedding);
    layout->addWidget(Frame11);
    layout->addStretch();
    return page;
}

// Every bound control of every tab shows a field of Data1's current row. The reply boxes
// are bound before the attending boxes they reset, so that loading a row shows the stored
// attending figure rather than the reset.
void frmGuests::bindFields()
{
    Data1->bind(addCombo1, QStringLiteral("Prefix"));
    Data1->bind(addtxtFields[2], QStringLiteral("FirstName"));
    Data1->bind(addtxtFields[0], QStringLiteral("LastName"));
    Data1->bind(addtxtFields[4], QStringLiteral("Address"));
    Data1->bind(addDBCombo1, QStringLiteral("City"));
    Data1->bind(addDBCombo2, QStringLiteral("State"));
    Data1->bind(addtxtFields[7], QStringLiteral("PostalCode"));
    Data1->bind(addtxtFields[8], QStringLiteral("Country"));
    Data1->bind(addtxtFields[10], QStringLiteral("HomePhone"));

    Data1->bind(detCheck2, QStringLiteral("InvCeremony"));
    Data1->bind(detCheck3, QStringLiteral("InvReception"));
    Data1->bind(detCheck4, QStringLiteral("ShowerGuest"));
    Data1->bind(detCheck5, QStringLiteral("InvRehearsal"));
    Data1->bind(detText1, QStringLiteral("Invited"));
    Data1->bind(detCheck1, QStringLiteral("Confirmed"));
    Data1->bind(detText2, QStringLiteral("NumberAttending"));
    Data1->bind(detText3, QStringLiteral("ShowerInvited"));
    Data1->bind(detCheck6, QStringLiteral("ShowerReplied"));
    Data1->bind(detText4, QStringLiteral("ShowerComing"));

    // The amount boxes show "$#,##0.00;($#,##0.00)" and, while they have the focus, the
    // plain amount; a text that is no amount goes to the store as it is, which refuses it.
    auto amountFormat = [](controls::MaskedEdit* box) {
        controls::FieldFormat format;
        QPointer<controls::MaskedEdit> guard(box);
        format.format = [guard](const QVariant& value) {
            const store::Currency amount = controls::moneyOf(value);
            return guard && guard->hasFocus() ? guests::amountEditText(amount)
                                              : guests::amountDisplayText(amount);
        };
        format.parse = [](const QString& text) -> QVariant {
            if (guests::isAmountText(text))
                return QVariant::fromValue(guests::amountOf(text));
            return text;
        };
        return format;
    };
    const std::array<std::pair<QLineEdit*, QString>, 3> descriptions = {
        std::pair{gifText1, QStringLiteral("EngageGift")},
        {gifText2, QStringLiteral("ShowerGift")},
        {gifText3, QStringLiteral("WeddingGift")}};
    const std::array<std::pair<controls::MaskedEdit*, QString>, 3> amounts = {
        std::pair{gifMaskEdBox1, QStringLiteral("engamt")},
        {gifMaskEdBox2, QStringLiteral("showamt")},
        {gifMaskEdBox3, QStringLiteral("wedamt")}};
    const std::array<std::pair<QCheckBox*, QString>, 3> cards = {
        std::pair{gifCheck7, QStringLiteral("EngageNoteSent")},
        {gifCheck8, QStringLiteral("ShowerNoteSent")},
        {gifCheck9, QStringLiteral("WeddingNoteSent")}};
    for (size_t i = 0; i < 3; ++i) {
        Data1->bind(descriptions[i].first, descriptions[i].second);
        Data1->bind(amounts[i].first, amounts[i].second, amountFormat(amounts[i].first));
        Data1->bind(cards[i].first, cards[i].second);
    }

    Data1->bind(maiText2, QStringLiteral("wedlbl"));
    Data1->bind(maiText3, QStringLiteral("showlbl"));
}

void frmGuests::connectEvents()
{
    connect(Data1, &controls::DataSource::reposition, this, &frmGuests::Data1_Reposition);
    connect(Data1, &controls::DataSource::error, this, &frmGuests::Data1_Error);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int) { SSTab1_Click(currentTab_); });

    controls::on(addDBList1).click([this] { addDBList1_Click(); });
    controls::on(addDBCombo1).change([this] { addDBCombo1_Change(); }).lostFocus([this] {
        addDBCombo1_LostFocus();
    });
    controls::on(addDBCombo2).change([this] { addDBCombo2_Change(); }).lostFocus([this] {
        addDBCombo2_LostFocus();
    });
    controls::selectAllOnFocus(addCombo1);

    connect(SSCommand1, &QPushButton::clicked, this, &frmGuests::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &frmGuests::SSCommand2_Click);
    connect(SSCommand3, &QPushButton::clicked, this, &frmGuests::SSCommand3_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmGuests::SSCommand4_Click);
    // The window's help topic: F1 anywhere in it.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &frmGuests::SSCommand1_Click);

    for (int i = 0; i < 3; ++i)
        controls::on(detside[size_t(i)]).click([this, i] { detside_Click(i); }).gotFocus([this, i] {
            detside_GotFocus(i);
        });
    controls::on(detCheck1).click([this] { detCheck1_Click(); });
    controls::on(detCheck3).click([this] { detCheck3_Click(); });
    controls::on(detCheck4).click([this] { detCheck4_Click(); });
    controls::on(detCheck6).click([this] { detCheck6_Click(); });
    for (int box = 1; box <= 4; ++box)
        controls::on(countBox(box))
            .keyPress([this, box](int& keyAscii) { detText_KeyPress(box, keyAscii); })
            .lostFocus([this, box] { detText_LostFocus(box); });

    for (int box = 1; box <= 3; ++box)
        controls::on(amountBox(box))
            .gotFocus([this, box] { gifMaskEdBox_GotFocus(box); })
            .keyPress([this, box](int& keyAscii) { gifMaskEdBox_KeyPress(box, keyAscii); })
            .lostFocus([this, box] { gifMaskEdBox_LostFocus(box); });

    connect(maifillwed, &QPushButton::clicked, this, &frmGuests::maifillwed_Click);
    connect(maifillshow, &QPushButton::clicked, this, &frmGuests::maifillshow_Click);
}

// The keyboard order of each tab, then the buttons.
void frmGuests::setKeyboardOrder()
{
    const std::vector<QWidget*> order = {
        addDBList1,    addCombo1,       addtxtFields[2], addtxtFields[0],  addtxtFields[4], addDBCombo1,
        addDBCombo2,   addtxtFields[7], addtxtFields[8], addtxtFields[10], detside[0],      detside[1],
        detside[2],    detCheck2,       detCheck3,       detCheck4,        detCheck5,       detText1,
        detCheck1,     detText2,        detText3,        detCheck6,        detText4,        gifText1,
        gifMaskEdBox1, gifCheck7,       gifText2,        gifMaskEdBox2,    gifCheck8,       gifText3,
        gifMaskEdBox3, gifCheck9,       MSFlexGrid1,     maiText2,         maifillwed,      maiText3,
        maifillshow,   SSCommand1,      SSCommand2,      SSCommand3,       SSCommand4};
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QLineEdit* frmGuests::countBox(int box) const
{
    const std::array<QLineEdit*, 4> boxes = {detText1, detText2, detText3, detText4};
    return boxes.at(size_t(box - 1));
}

// The "Received Response" box that an attending box ticks (none for the invited boxes).
QCheckBox* frmGuests::replyBox(int box) const
{
    return box == 2 ? detCheck1 : box == 4 ? detCheck6 : nullptr;
}

controls::MaskedEdit* frmGuests::amountBox(int box) const
{
    const std::array<controls::MaskedEdit*, 3> boxes = {gifMaskEdBox1, gifMaskEdBox2, gifMaskEdBox3};
    return boxes.at(size_t(box - 1));
}

void frmGuests::Form_Load()
{
    const QString path = shell::program().DatabasePath;
    Data1->setDatabaseName(path);
    Data1->setRecordSource(Guests);
    Data1->setRecordsetType(store::RecordsetType::Table);
    Data1->refresh();
    Data1->setIndex(LastNameIndex);
    addDBList1->setRowSource(Data1, QStringLiteral("LastName"));

    Data2->setDatabaseName(path);
    Data2->setRecordSource(QStringLiteral("CityList"));
    Data2->setRecordsetType(store::RecordsetType::Dynaset);
    Data2->refresh();
    addDBCombo1->setRowSource(Data2, QStringLiteral("City"));

    Data3->setDatabaseName(path);
    Data3->setRecordSource(QStringLiteral("StateList"));
    Data3->setRecordsetType(store::RecordsetType::Dynaset);
    Data3->refresh();
    addDBCombo2->setRowSource(Data3, QStringLiteral("State"));

    detside[0]->setText(shell::program().BrideName);
    detside[1]->setText(shell::program().GroomName);

    SSTab1_Click(AddressTab);
    if (GuestListEmpty)
        shell::showTip(shell::TipEmptyGuestList);
}

// ==== record change ===========================================================================

void frmGuests::Data1_Reposition()
{
    if (Data1->isEmpty()) {
        SSTab1->setEnabled(false);
        SSCommand3->setEnabled(false);
        GuestListEmpty = true;
        // Once the last guest is removed, neither the navigator nor the counter may go on
        // showing that guest.
        Data1->setCaption(QString());
        tryStep([this] { showGuestCount(); });
        return;
    }
    SSTab1->setEnabled(true);
    SSCommand3->setEnabled(true);
    GuestListEmpty = false;

    // Each step stands alone: one that cannot be done (no current row past the end, the
    // counter's snapshot closed) leaves the others to run.
    const bool onRow = Data1->hasCurrent();
    auto field = [this](const char* name) { return Data1->fieldValue(QString::fromLatin1(name)); };
    if (onRow) {
        tryStep([&] {
            Data1->setCaption(guests::partyName(field("Prefix"), field("FirstName"), field("LastName")));
        });
        tryStep([&] { Frame11->setVisible(field("ShowerGuest").toBool()); });
    }
    tryStep([this] { showGuestCount(); });
    if (onRow) {
        tryStep([&] { selectSide(); });
        if (maiText2->text().isEmpty())
            maiText2->setText(Data1->caption());
        if (maiText3->text().isEmpty())
            maifillshow_Click();
    }
    // The combos' texts were just loaded, which is no edit of the user's.
    CityChanged = false;
    StateChanged = false;
    addDBCombo1->lineEdit()->deselect();
    addDBCombo2->lineEdit()->deselect();
}

void frmGuests::showGuestCount()
{
    if (store::Recordset* invited = shell::program().InvitedSnapshot)
        lblguestcount->setText(invited->value(QStringLiteral("count of guests")).toString());
}

void frmGuests::Data1_Error(controls::DataErrorEvent& event)
{
    event.response = controls::DataErrorEvent::Response::Handled;
    controls::MsgBox(QStringLiteral("You have entered invalid data"),
                     controls::mb::OKOnly | controls::mb::Exclamation, QStringLiteral("Invalid Data"), this);
}

void frmGuests::addDBList1_Click()
{
    addDBList1->moveRowSourceToSelection();
}

// ==== tab change ==============================================================================

void frmGuests::SSTab1_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    currentTab_ = SSTab1->currentIndex();

    for (QLineEdit* box : {detText1, detText2, detText3, detText4})
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    for (controls::MaskedEdit* box : {gifMaskEdBox1, gifMaskEdBox2, gifMaskEdBox3})
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    addDBCombo1->lineEdit()->deselect();
    addDBCombo2->lineEdit()->deselect();
    applyKeyboardStops();

    // Moving the focus fails quietly while the window is not shown yet.
    switch (currentTab_) {
        case AddressTab:
            addCombo1->setFocus();
            break;
        case DetailsTab:
            showerframe->setVisible(detCheck4->isChecked());
            break;
        case GiftsTab:
            gifText1->setFocus();
            break;
        case SummaryTab:
            GuestSummary();
            break;
        case MailLabelsTab:
            maiText2->setFocus();
            Frame11->setVisible(detCheck4->isChecked());
            break;
        default:
            break;
    }
}

// Tab moves only among the controls of the visible tab: a control on the tab control
// keeps its keyboard stop when its name starts like the current tab's caption. Parts
// of composite widgets (unnamed or named by Qt) and controls without a stop are left.
void frmGuests::applyKeyboardStops()
{
    const QString caption = SSTab1->tabText(SSTab1->currentIndex());
    for (int page = 0; page < SSTab1->count(); ++page) {
        for (QWidget* control : SSTab1->widget(page)->findChildren<QWidget*>()) {
            const QString name = control->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            QVariant designed = control->property(DesignedFocusPolicy);
            if (!designed.isValid()) {
                designed = int(control->focusPolicy());
                control->setProperty(DesignedFocusPolicy, designed);
            }
            const auto policy = Qt::FocusPolicy(designed.toInt());
            if (!(policy & Qt::TabFocus))
                continue;
            control->setFocusPolicy(
                guests::keepsTabStop(name, caption) ? policy : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        }
    }
}

// ==== city and state lists =====================================================================

void frmGuests::addDBCombo1_Change()
{
    CityChanged = true;
}
void frmGuests::addDBCombo2_Change()
{
    StateChanged = true;
}

void frmGuests::addDBCombo1_LostFocus()
{
    if (CityChanged && Data2->recordset()) {
        guests::appendListValue(*Data2->recordset(), QStringLiteral("City"), addDBCombo1->currentText());
        Data2->resync();
    }
    CityChanged = false;
}

void frmGuests::addDBCombo2_LostFocus()
{
    if (StateChanged && Data3->recordset()) {
        guests::appendListValue(*Data3->recordset(), QStringLiteral("State"), addDBCombo2->currentText());
        Data3->resync();
    }
    StateChanged = false;
}

// ==== buttons =================================================================================

void frmGuests::SSCommand1_Click()
{
    shell::showHelp(this, shell::HelpGuests);
}

void frmGuests::SSCommand2_Click()
{
    try {
        frmNewGuest dialog(this);
        controls::ShowModal(&dialog);
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
}

void frmGuests::SSCommand3_Click()
{
    try {
        removeCurrentGuest();
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), controls::mb::OKOnly, QStringLiteral("Delete Error"), this);
    }
}

void frmGuests::removeCurrentGuest()
{
    store::Recordset* guests = Data1->recordset();
    if (!guests || !guests->hasCurrent())
        throw store::StoreError(store::err::NoCurrentRecord, QStringLiteral("No current record."));
    const QString name =
        guests::partyName(guests->value(QStringLiteral("Prefix")), guests->value(QStringLiteral("FirstName")),
                          guests->value(QStringLiteral("LastName")));
    const int answer =
        controls::MsgBox(QStringLiteral("Do you want to delete ") + name,
                         controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2,
                         QStringLiteral("Confirm Delete"), this);
    if (answer != controls::mb::Yes)
        return;
    guests::removeGuest(*guests);
    if (store::Recordset* invited = shell::program().InvitedSnapshot)
        invited->requery();
    Data1->refresh();
    Data1->setIndex(LastNameIndex);
}

void frmGuests::SSCommand4_Click()
{
    close();
}

// ==== Details tab ==============================================================================

// The side is written at once, not when the row is left; choosing the side the party
// already has writes nothing (the record change selects it that way on every arrival).
void frmGuests::detside_Click(int index)
{
    store::Recordset* guests = Data1->recordset();
    if (!guests || !guests->hasCurrent())
        return;
    try {
        const QVariant stored = guests->value(QStringLiteral("guestof"));
        if (!stored.isNull() && stored.toString() == guests::Sides[index])
            return;
        guests->edit();
        guests->setValue(QStringLiteral("guestof"), guests::Sides[index]);
        guests->update();
    } catch (const store::StoreError& e) {
        try {
            if (guests->editMode() != store::EditMode::None)
                guests->cancelUpdate();
        } catch (const store::StoreError&) {
        }
        Data1->reportError(e);
    }
}

void frmGuests::detside_GotFocus(int)
{
    tryStep([this] { selectSide(); });
}

// Selects the side option of the current party's guestof; another value, or none,
// leaves the options as they are.
void frmGuests::selectSide()
{
    const QVariant side = Data1->fieldValue(QStringLiteral("guestof"));
    for (int i = 0; i < 3; ++i)
        if (!side.isNull() && side.toString() == guests::Sides[i])
            detside[size_t(i)]->setChecked(true);
}

void frmGuests::detCheck1_Click()
{
    if (!detCheck1->isChecked())
        detText2->setText(QStringLiteral("0"));
}

void frmGuests::detCheck3_Click()
{
    Frame3->setVisible(detCheck3->isChecked());
}
void frmGuests::detCheck4_Click()
{
    showerframe->setVisible(detCheck4->isChecked());
}

void frmGuests::detCheck6_Click()
{
    if (!detCheck6->isChecked())
        detText4->setText(QStringLiteral("0"));
}

void frmGuests::detText_KeyPress(int box, int& keyAscii)
{
    switch (guests::countKeyAction(keyAscii, replyBox(box) != nullptr)) {
        case guests::CountKey::Accept:
            break;
        case guests::CountKey::AcceptAndReply:
            replyBox(box)->setChecked(true);
            break;
        case guests::CountKey::Discard:
            keyAscii = 0;
            break;
        case guests::CountKey::RemoveGuest:
            keyAscii = 0;
            SSCommand3_Click();
            break;
    }
}

void frmGuests::detText_LostFocus(int box)
{
    QLineEdit* text = countBox(box);
    const QString count = guests::countText(text->text());
    QCheckBox* reply = replyBox(box);
    if (reply && count != QLatin1String("0"))
        reply->setChecked(true);
    text->setText(count);
}

// ==== Gifts tab =================================================================================

void frmGuests::gifMaskEdBox_GotFocus(int box)
{
    controls::MaskedEdit* amount = amountBox(box);
    if (shell::program().GiftTipPending) {
        shell::program().GiftTipPending = false;
        if (box != 3)
            controls::Beep();
        shell::showTip(shell::TipGiftAmount);
    }
    // While it has the focus the box shows the plain amount.
    if (guests::isAmountText(amount->text()))
        amount->setText(guests::amountEditText(guests::amountOf(amount->text())));
    controls::selectAll(amount);
}

void frmGuests::gifMaskEdBox_KeyPress(int box, int& keyAscii)
{
    switch (guests::amountKeyAction(keyAscii)) {
        case guests::AmountKey::Accept:
            break;
        case guests::AmountKey::Discard:
            keyAscii = 0;
            break;
        case guests::AmountKey::Clear:
            amountBox(box)->setText(QString());
            keyAscii = 0;
            break;
    }
}

void frmGuests::gifMaskEdBox_LostFocus(int box)
{
    controls::MaskedEdit* amount = amountBox(box);
    const QString text = amount->text();
    if (text.isEmpty()) {
        amount->setText(QStringLiteral("0"));
        return;
    }
    if (guests::isAmountText(text)) {
        amount->setText(guests::amountDisplayText(guests::amountOf(text)));
        return;
    }
    // Not an amount: the user stays in the box until it holds one (or nothing).
    controls::Beep();
    if (box != 1)
        shell::showTip(shell::TipGiftAmount);
    QTimer::singleShot(0, amount, [amount] { amount->setFocus(Qt::OtherFocusReason); });
}

// ==== Mail Labels tab ===========================================================================

// The name as the guest had it when it became current (the navigator's caption).
void frmGuests::maifillwed_Click()
{
    maiText2->setText(Data1->caption());
}

void frmGuests::maifillshow_Click()
{
    store::Recordset* guests = Data1->recordset();
    if (!guests || !guests->hasCurrent())
        return;
    try {
        maiText3->setText(guests::showerLine(guests->value(QStringLiteral("Prefix")),
                                             guests->value(QStringLiteral("LastName"))));
    } catch (const store::StoreError&) {
    }
}
