#include "guests/frmReplies.h"

#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "controls/Named.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/OpenWindow.h"
#include "shell/Program.h"
#include "shell/TextFold.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace guests;
using controls::named;

namespace {

enum Column { NameColumn, PartyColumn, ReplyColumn, MealColumn };

// Rows listed at most: typing narrows the list long before a person reads that far.
constexpr size_t MostRows = 500;

}  // namespace

void showRepliesWindow(QWidget* parent)
{
    frmReplies window(parent);
    shell::loadAndShowModal(window, parent);
}

frmReplies::frmReplies(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReplies"));
    setWindowTitle(QStringLiteral("Replies"));
    txtFind = named(new QLineEdit, QStringLiteral("txtFind"));
    txtFind->setPlaceholderText(QStringLiteral("Part of a name"));
    cboEvent = named(new QComboBox, QStringLiteral("cboEvent"));
    for (Event event : AllEvents)
        cboEvent->addItem(eventTitle(event), int(event));
    grdPeople = named(new QTableWidget(0, 4), QStringLiteral("grdPeople"));
    grdPeople->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Party"), QStringLiteral("Reply"), QStringLiteral("Meal")});
    grdPeople->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPeople->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPeople->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPeople->setTabKeyNavigation(false);
    grdPeople->verticalHeader()->hide();
    grdPeople->horizontalHeader()->setStretchLastSection(true);
    grdPeople->setColumnWidth(NameColumn, 200);
    grdPeople->setColumnWidth(PartyColumn, 200);
    grdPeople->setColumnWidth(ReplyColumn, 90);
    lblStatus = named(new QLabel, QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    cmdClose = named(new QPushButton(QStringLiteral("Close")), QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    auto* findLabel = new QLabel(QStringLiteral("&Find"));
    findLabel->setBuddy(txtFind);
    auto* eventLabel = new QLabel(QStringLiteral("&Event"));
    eventLabel->setBuddy(cboEvent);
    top->addWidget(findLabel);
    top->addWidget(txtFind, 1);
    top->addWidget(eventLabel);
    top->addWidget(cboEvent);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblStatus, 1);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grdPeople, 1);
    layout->addWidget(new QLabel(QStringLiteral(
        "In the list: A attending, D declined, N no reply (for the event above); 1 to 9 the meal, 0 none.")));
    layout->addLayout(bottom);
    resize(720, 460);

    controls::on(txtFind).change([this] { txtFind_Change(); }).keyDown([this](int& k, int s) {
        txtFind_KeyDown(k, s);
    });
    controls::on(grdPeople).keyDown([this](int& k, int s) { grdPeople_KeyDown(k, s); });
    connect(cboEvent, &QComboBox::currentIndexChanged, this, [this] { fillList(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    shell::setHelpContext(this, shell::HelpReplies);
}

void frmReplies::Form_Load()
{
    people_ = loadPeople(shell::database());
    keys_.clear();
    keys_.reserve(people_.members.size());
    for (const Member& m : people_.members)
        keys_.push_back(shell::searchKey(people_.nameOf(m)) + QLatin1Char('\n') +
                        shell::searchKey(people_.parties.value(m.party).name));
    fillList();
    if (people_.members.empty())
        lblStatus->setText(QStringLiteral(
            "No party has members yet: add them on the Members tab of the Guest List Manager."));
}

Event frmReplies::chosenEvent() const
{
    return Event(cboEvent->currentData().toInt());
}

void frmReplies::txtFind_Change()
{
    fillList();
}

void frmReplies::txtFind_KeyDown(int& keyCode, int shift)
{
    if ((keyCode == controls::key::Down || keyCode == controls::key::Return) && shift == 0 &&
        grdPeople->rowCount() > 0) {
        keyCode = 0;
        grdPeople->setFocus();
        if (grdPeople->currentRow() < 0)
            grdPeople->setCurrentCell(0, 0);
    }
}

void frmReplies::fillList()
{
    const QString key = shell::searchKey(txtFind->text());
    const std::optional<qint64> keep =
        grdPeople->currentRow() >= 0 && size_t(grdPeople->currentRow()) < shown_.size()
            ? std::optional<qint64>(people_.members[shown_[size_t(grdPeople->currentRow())]].id)
            : std::nullopt;
    shown_.clear();
    for (size_t i = 0; i < people_.members.size() && shown_.size() < MostRows; ++i)
        if (key.isEmpty() || keys_[i].contains(key))
            shown_.push_back(i);
    grdPeople->setRowCount(int(shown_.size()));
    int current = shown_.empty() ? -1 : 0;
    for (size_t row = 0; row < shown_.size(); ++row) {
        showRow(int(row));
        if (keep && people_.members[shown_[row]].id == *keep)
            current = int(row);
    }
    grdPeople->setCurrentCell(current, 0);
}

void frmReplies::showRow(int row)
{
    const Member& m = people_.members[shown_[size_t(row)]];
    const PartyInfo party = people_.parties.value(m.party);
    const Meal* meal = people_.mealOf(m);
    const Event event = chosenEvent();
    const QString reply = !party.invited.to(event)        ? QStringLiteral("(not invited)")
                          : m.reply(event) == Reply::None ? QStringLiteral("No reply")
                                                          : replyName(m.reply(event));
    const QStringList texts = {people_.nameOf(m), party.name, reply, meal ? meal->name : QString()};
    for (int c = 0; c < texts.size(); ++c)
        grdPeople->setItem(row, c, new QTableWidgetItem(texts[c]));
}

bool frmReplies::changeCurrent(const MemberChange& change)
{
    const int row = grdPeople->currentRow();
    if (row < 0 || size_t(row) >= shown_.size())
        return false;
    Member& m = people_.members[shown_[size_t(row)]];
    MemberChange c = change;
    c.memberId = m.id;
    try {
        applyChanges(shell::database(), {c});
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
        return false;
    }
    for (Event event : AllEvents)
        if (c.replies[size_t(event)])
            m.setReply(event, *c.replies[size_t(event)]);
    if (c.meal)
        m.meal = *c.meal;
    showRow(row);
    lblStatus->setText(QStringLiteral("%1: %2, %3.")
                           .arg(people_.nameOf(m), grdPeople->item(row, ReplyColumn)->text(),
                                grdPeople->item(row, MealColumn)->text().isEmpty()
                                    ? QStringLiteral("no meal chosen")
                                    : grdPeople->item(row, MealColumn)->text()));
    return true;
}

void frmReplies::grdPeople_KeyDown(int& keyCode, int shift)
{
    if (shift & (controls::shift::Ctrl | controls::shift::Alt))
        return;
    const int row = grdPeople->currentRow();
    if (row < 0 || size_t(row) >= shown_.size())
        return;
    const Member& m = people_.members[shown_[size_t(row)]];
    MemberChange change;
    if (keyCode == 'A' || keyCode == 'D' || keyCode == 'N') {
        const Event event = chosenEvent();
        if (!people_.parties.value(m.party).invited.to(event)) {
            controls::Beep();
            lblStatus->setText(QStringLiteral("%1's party is not invited to the %2.")
                                   .arg(people_.nameOf(m), eventTitle(event).toLower()));
            keyCode = 0;
            return;
        }
        change.replies[size_t(event)] = keyCode == 'A'   ? Reply::Attending
                                        : keyCode == 'D' ? Reply::Declined
                                                         : Reply::None;
    } else if (keyCode >= '0' && keyCode <= '9') {
        const int number = keyCode - '0';
        if (number > int(people_.meals.size())) {
            controls::Beep();
            lblStatus->setText(QStringLiteral("The menu has %1 meals.").arg(people_.meals.size()));
            keyCode = 0;
            return;
        }
        change.meal = number == 0 ? std::optional<qint64>()
                                  : std::optional<qint64>(people_.meals[size_t(number - 1)].id);
    } else {
        return;
    }
    keyCode = 0;
    changeCurrent(change);
}
