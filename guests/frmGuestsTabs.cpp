// The guest window's five tabs and the binding of their controls to the guest row.
#include "guests/frmGuests.h"

#include "controls/CellFormat.h"
#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/MaskedEdit.h"
#include "guests/GuestRules.h"
#include "guests/GuestWidgets.h"
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
#include <QTableWidget>
#include <QVBoxLayout>

using guests::frame;
using guests::keepPlaceWhenHidden;
using guests::named;
using guests::textBox;

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
    auto* people = frame(QStringLiteral("Frame9"), QStringLiteral("People of the parties with members"));
    sumPeople = named(new QLabel, QStringLiteral("sumPeople"));
    sumPeople->setWordWrap(true);
    (new QVBoxLayout(people))->addWidget(sumPeople);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label10);
    layout->addWidget(MSFlexGrid1);
    layout->addLayout(frames);
    layout->addWidget(people);
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
