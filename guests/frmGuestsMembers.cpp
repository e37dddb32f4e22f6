#include "guests/frmGuestsMembers.h"

#include "controls/ConfirmDelete.h"
#include "controls/Dialogs.h"
#include "controls/Events.h"
#include "guests/GuestWidgets.h"
#include "guests/MemberStore.h"
#include "guests/frmMeals.h"
#include "shell/ErrorMessage.h"
#include "shell/Program.h"
#include "store/Log.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace guests {

namespace {

enum Column { NameColumn, AgeColumn, MealColumn, NeedsColumn, ReplyColumn };

QString replyText(Reply reply)
{
    return reply == Reply::None ? QStringLiteral("No reply") : replyName(reply);
}

}  // namespace

MembersTab::MembersTab(std::function<bool()> beforeChange, std::function<void()> afterChange, QWidget* parent)
    : QWidget(parent), beforeChange_(std::move(beforeChange)), afterChange_(std::move(afterChange))
{
    setObjectName(QStringLiteral("memTab"));
    memList = named(new QTableWidget(0, 5), QStringLiteral("memList"));
    memList->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Age"), QStringLiteral("Meal"),
                                        QStringLiteral("Needs"), QStringLiteral("Reception")});
    memList->setSelectionBehavior(QAbstractItemView::SelectRows);
    memList->setSelectionMode(QAbstractItemView::SingleSelection);
    memList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    memList->setTabKeyNavigation(false);  // Tab goes on to the member's fields
    memList->verticalHeader()->hide();
    memList->horizontalHeader()->setStretchLastSection(true);
    memList->setColumnWidth(NameColumn, 170);
    memList->setColumnWidth(AgeColumn, 60);
    memList->setColumnWidth(MealColumn, 90);
    memList->setColumnWidth(NeedsColumn, 130);
    // The list gives up height before the member's fields do, so the window fits small screens.
    memList->setMinimumHeight(64);

    memAdd = named(new QPushButton(QStringLiteral("&New Member")), QStringLiteral("memAdd"));
    memRemove = named(new QPushButton(QStringLiteral("Remo&ve")), QStringLiteral("memRemove"));
    memUp = named(new QPushButton(QStringLiteral("Move &Up")), QStringLiteral("memUp"));
    memDown = named(new QPushButton(QStringLiteral("Move Do&wn")), QStringLiteral("memDown"));
    memMenu = named(new QPushButton(QStringLiteral("Men&u...")), QStringLiteral("memMenu"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {memAdd, memRemove, memUp, memDown})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(memMenu);

    memCounts = named(new QLabel, QStringLiteral("memCounts"));
    memCounts->setWordWrap(true);
    memAddPlaces =
        named(new QPushButton(QStringLiteral("Add Unnamed &Places")), QStringLiteral("memAddPlaces"));
    memCorrect = named(new QPushButton(QStringLiteral("Correct the &Count")), QStringLiteral("memCorrect"));
    auto* counts = new QHBoxLayout;
    counts->addWidget(memCounts, 1);
    counts->addWidget(memAddPlaces);
    counts->addWidget(memCorrect);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memList, 1);
    layout->addLayout(buttons);
    layout->addLayout(counts);
    layout->addWidget(buildEditor());

    connect(memAdd, &QPushButton::clicked, this, &MembersTab::memAdd_Click);
    connect(memRemove, &QPushButton::clicked, this, &MembersTab::memRemove_Click);
    connect(memUp, &QPushButton::clicked, this, [this] { memMove_Click(-1); });
    connect(memDown, &QPushButton::clicked, this, [this] { memMove_Click(1); });
    connect(memMenu, &QPushButton::clicked, this, &MembersTab::memMenu_Click);
    connect(memAddPlaces, &QPushButton::clicked, this, &MembersTab::memAddPlaces_Click);
    connect(memCorrect, &QPushButton::clicked, this, &MembersTab::memCorrect_Click);
    connect(memList, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!loading_)
            showCurrent();
    });
    controls::on(memList).keyDown([this](int& keyCode, int shift) { memList_KeyDown(keyCode, shift); });
    connectEditor();

    QWidget::setTabOrder(memList, memFirst);
}

QWidget* MembersTab::buildEditor()
{
    memFrame = frame(QStringLiteral("memFrame"), QStringLiteral("Member"));
    memFirst = textBox(QStringLiteral("memFirst"), 30);
    memLast = textBox(QStringLiteral("memLast"), 30);
    memAge = named(new QComboBox, QStringLiteral("memAge"));
    for (AgeGroup group : AllAgeGroups)
        memAge->addItem(ageGroupName(group));
    memPlusOne =
        named(new QCheckBox(QStringLiteral("Brings a &guest (plus-one)")), QStringLiteral("memPlusOne"));
    memGuestOf = named(new QLabel, QStringLiteral("memGuestOf"));
    memMeal = named(new QComboBox, QStringLiteral("memMeal"));
    for (size_t i = 0; i < memNeed.size(); ++i)
        memNeed[i] = named(new QCheckBox(commonNeeds()[qsizetype(i)]), QStringLiteral("memNeed(%1)").arg(i));
    memNeedsNote = textBox(QStringLiteral("memNeedsNote"), 255);
    memNeedsNote->setPlaceholderText(QStringLiteral("Other needs or allergies"));
    memEmail = textBox(QStringLiteral("memEmail"), 100);
    memMobile = textBox(QStringLiteral("memMobile"), 30);
    memNote = textBox(QStringLiteral("memNote"));

    auto* grid = new QGridLayout(memFrame);
    auto label = [](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&First"), memFirst), 0, 0);
    grid->addWidget(memFirst, 0, 1);
    grid->addWidget(label(QStringLiteral("&Last"), memLast), 0, 2);
    grid->addWidget(memLast, 0, 3);
    grid->addWidget(label(QStringLiteral("&Age group"), memAge), 0, 4);
    grid->addWidget(memAge, 0, 5);
    grid->addWidget(memPlusOne, 1, 0, 1, 2);
    grid->addWidget(memGuestOf, 1, 2, 1, 2);
    grid->addWidget(label(QStringLiteral("&Meal"), memMeal), 1, 4);
    grid->addWidget(memMeal, 1, 5);
    auto* needs = new QHBoxLayout;
    for (QCheckBox* box : memNeed)
        needs->addWidget(box);
    needs->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("Needs")), 2, 0);
    grid->addLayout(needs, 2, 1, 1, 5);
    grid->addWidget(label(QStringLiteral("O&ther needs"), memNeedsNote), 3, 0);
    grid->addWidget(memNeedsNote, 3, 1, 1, 5);
    grid->addWidget(label(QStringLiteral("E-ma&il"), memEmail), 4, 0);
    grid->addWidget(memEmail, 4, 1);
    grid->addWidget(label(QStringLiteral("Mo&bile"), memMobile), 4, 2);
    grid->addWidget(memMobile, 4, 3);
    grid->addWidget(label(QStringLiteral("N&ote"), memNote), 4, 4);
    grid->addWidget(memNote, 4, 5);
    auto* replies = new QHBoxLayout;
    for (Event event : AllEvents) {
        const size_t i = size_t(event);
        memReply[i] = named(new QComboBox, QStringLiteral("memReply(%1)").arg(i));
        for (Reply reply : {Reply::None, Reply::Attending, Reply::Declined})
            memReply[i]->addItem(replyText(reply));
        memReplyLabel[i] = label(eventTitle(event), memReply[i]);
        replies->addWidget(memReplyLabel[i]);
        replies->addWidget(memReply[i]);
    }
    memReplyLabel[size_t(Event::Reception)]->setText(QStringLiteral("&Reception"));
    replies->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("Replies")), 5, 0);
    grid->addLayout(replies, 5, 1, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    return memFrame;
}

void MembersTab::connectEditor()
{
    for (QLineEdit* box : {memFirst, memLast, memNeedsNote, memEmail, memMobile, memNote})
        connect(box, &QLineEdit::editingFinished, this, [this, box] {
            if (!loading_ && box->isModified())
                saveCurrent();
        });
    for (QComboBox* combo : {memAge, memMeal})
        connect(combo, &QComboBox::activated, this, [this] { saveCurrent(); });
    for (QComboBox* combo : memReply)
        connect(combo, &QComboBox::activated, this, [this] { saveCurrent(); });
    for (QCheckBox* box : memNeed)
        connect(box, &QCheckBox::clicked, this, [this] { saveCurrent(); });
    connect(memPlusOne, &QCheckBox::clicked, this, &MembersTab::memPlusOne_Click);
}

// ==== showing ================================================================================

void MembersTab::showParty(std::optional<qint64> party, const QString& partyName, const QString& lastName)
{
    party_ = party;
    partyName_ = partyName;
    lastName_ = lastName;
    reload(std::nullopt);
}

const Member* MembersTab::current() const
{
    const int row = memList->currentRow();
    return row >= 0 && size_t(row) < members_.size() ? &members_[size_t(row)] : nullptr;
}

void MembersTab::reload(std::optional<qint64> select)
{
    std::optional<qint64> keep = select;
    if (!keep && current())
        keep = current()->id;
    members_.clear();
    meals_.clear();
    invited_ = {};
    try {
        store::Database& db = shell::database();
        if (party_ && hasMemberTables(db)) {
            members_ = loadMembers(db, *party_);
            meals_ = loadMeals(db);
            invited_ = invitationsOf(db, *party_);
        }
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    fillList();
    int row = members_.empty() ? -1 : 0;
    for (size_t i = 0; i < members_.size(); ++i)
        if (keep && members_[i].id == *keep)
            row = int(i);
    loading_ = true;
    memList->setCurrentCell(row, 0);
    loading_ = false;
    showCurrent();
    showCountDifferences();
}

void MembersTab::fillList()
{
    loading_ = true;
    memList->setRowCount(int(members_.size()));
    for (size_t i = 0; i < members_.size(); ++i) {
        const Member& m = members_[i];
        const auto meal =
            std::find_if(meals_.begin(), meals_.end(), [&](const Meal& x) { return m.meal == x.id; });
        const QStringList texts = {memberName(m, members_, partyName_), ageGroupName(m.ageGroup),
                                   meal == meals_.end() ? QString() : meal->name, m.allNeeds(),
                                   invited_.reception ? replyText(m.reply(Event::Reception)) : QString()};
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c == NameColumn && !m.hasName())
                item->setForeground(palette().color(QPalette::PlaceholderText));
            memList->setItem(int(i), c, item);
        }
    }
    loading_ = false;
}

void MembersTab::showCurrent()
{
    const Member* m = current();
    loading_ = true;
    memFrame->setEnabled(m != nullptr);
    memRemove->setEnabled(m != nullptr);
    memUp->setEnabled(m && memList->currentRow() > 0);
    memDown->setEnabled(m && memList->currentRow() + 1 < int(members_.size()));
    memAdd->setEnabled(party_.has_value());
    memMeal->clear();
    memMeal->addItem(QStringLiteral("(none)"));
    for (const Meal& meal : meals_)
        memMeal->addItem(meal.name, meal.id);
    const Member blank;
    const Member& shown = m ? *m : blank;
    memFirst->setText(shown.firstName);
    memLast->setText(shown.lastName);
    memAge->setCurrentIndex(int(shown.ageGroup));
    const bool bringsGuest = m && std::any_of(members_.begin(), members_.end(),
                                              [&](const Member& other) { return other.plusOneOf == m->id; });
    memPlusOne->setChecked(bringsGuest);
    memPlusOne->setEnabled(m && !m->plusOneOf);
    memGuestOf->setText(
        m && m->plusOneOf ? memberName(Member{.plusOneOf = m->plusOneOf}, members_, partyName_) : QString());
    memMeal->setCurrentIndex(shown.meal ? std::max(0, memMeal->findData(*shown.meal)) : 0);
    for (size_t i = 0; i < memNeed.size(); ++i)
        memNeed[i]->setChecked(shown.needs.contains(commonNeeds()[qsizetype(i)]));
    memNeedsNote->setText(shown.needsNote);
    memEmail->setText(shown.email);
    memMobile->setText(shown.mobile);
    memNote->setText(shown.note);
    for (Event event : AllEvents) {
        const size_t i = size_t(event);
        memReply[i]->setCurrentIndex(int(shown.reply(event)));
        memReply[i]->setVisible(invited_.to(event));
        memReplyLabel[i]->setVisible(invited_.to(event));
    }
    loading_ = false;
}

void MembersTab::showCountDifferences()
{
    std::vector<CountDifference> differences;
    PartyCounts typed;
    if (party_ && !members_.empty()) {
        try {
            typed = storedCounts(shell::database(), *party_);
            differences = countDifferences(typed, countsOf(members_), invited_.shower);
        } catch (const store::StoreError& ignored) {
            store::logIgnored("reading the party's typed counts", ignored);  // no comparison shown
        }
    }
    QStringList lines;
    for (const CountDifference& d : differences)
        lines << QStringLiteral("%1: %2 on the Details tab, %3 by the members.")
                     .arg(d.caption, d.typed, d.fromMembers);
    memCounts->setText(lines.join(QLatin1Char('\n')));
    memCounts->setVisible(!lines.isEmpty());
    memCorrect->setVisible(!lines.isEmpty());
    memAddPlaces->setVisible(!lines.isEmpty() && typed.invited > int(members_.size()));
    if (memAddPlaces->isVisible())
        memAddPlaces->setText(
            QStringLiteral("Add %1 Unnamed &Places").arg(typed.invited - int(members_.size())));
}

// ==== changes ================================================================================

void MembersTab::change(const std::function<std::optional<qint64>()>& step)
{
    if (!party_ || (beforeChange_ && !beforeChange_()))
        return;
    std::optional<qint64> select;
    try {
        select = step();
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    reload(select);
    if (afterChange_)
        afterChange_();
}

void MembersTab::saveCurrent()
{
    const Member* shown = current();
    if (loading_ || !shown)
        return;
    Member m = *shown;
    m.firstName = memFirst->text();
    m.lastName = memLast->text();
    m.ageGroup = AllAgeGroups[std::clamp(memAge->currentIndex(), 0, 2)];
    m.meal = memMeal->currentIndex() > 0 ? std::optional<qint64>(memMeal->currentData().toLongLong())
                                         : std::nullopt;
    m.needs.clear();
    for (size_t i = 0; i < memNeed.size(); ++i)
        if (memNeed[i]->isChecked())
            m.needs << commonNeeds()[qsizetype(i)];
    m.needsNote = memNeedsNote->text();
    m.email = memEmail->text();
    m.mobile = memMobile->text();
    m.note = memNote->text();
    for (Event event : AllEvents)
        if (invited_.to(event))
            m.setReply(event, Reply(std::clamp(memReply[size_t(event)]->currentIndex(), 0, 2)));
    QWidget* focused = focusWidget();
    change([&]() -> std::optional<qint64> {
        saveMember(shell::database(), m);
        return m.id;
    });
    if (focused && focused->isVisible())
        focused->setFocus();
}

void MembersTab::memAdd_Click()
{
    change([this]() -> std::optional<qint64> {
        Member m;
        m.party = *party_;
        m.lastName = lastName_;
        return addMember(shell::database(), m);
    });
    memFirst->setFocus();
}

void MembersTab::memRemove_Click()
{
    const Member* m = current();
    if (!m || !controls::confirmDelete(memberName(*m, members_, partyName_), this))
        return;
    const qint64 id = m->id;
    const int row = memList->currentRow();
    change([&]() -> std::optional<qint64> {
        removeMember(shell::database(), id);
        return std::nullopt;
    });
    if (!members_.empty())
        memList->setCurrentCell(std::min(row, int(members_.size()) - 1), 0);
    memList->setFocus();
}

void MembersTab::memMove_Click(int step)
{
    const Member* m = current();
    if (!m)
        return;
    const qint64 id = m->id;
    change([&]() -> std::optional<qint64> {
        moveMember(shell::database(), id, step);
        return id;
    });
}

void MembersTab::memPlusOne_Click()
{
    const Member* m = current();
    if (!m)
        return;
    const qint64 host = m->id;
    const bool add = memPlusOne->isChecked();
    change([&]() -> std::optional<qint64> {
        store::Database& db = shell::database();
        if (add) {
            Member guest;
            guest.party = *party_;
            guest.plusOneOf = host;
            guest.ageGroup = AgeGroup::Adult;
            guest.setReply(Event::Reception, m->reply(Event::Reception));
            addMember(db, guest);
        } else {
            for (const Member& other : members_)
                if (other.plusOneOf == host && !other.hasName())
                    removeMember(db, other.id);
        }
        return host;
    });
}

void MembersTab::memMenu_Click()
{
    if (editMeals(this))
        reload(std::nullopt);
}

void MembersTab::memAddPlaces_Click()
{
    change([this]() -> std::optional<qint64> {
        addUnnamedPlaces(shell::database(), *party_);
        return std::nullopt;
    });
}

void MembersTab::memCorrect_Click()
{
    change([this]() -> std::optional<qint64> {
        correctCounts(shell::database(), *party_);
        return current() ? std::optional<qint64>(current()->id) : std::nullopt;
    });
}

void MembersTab::memList_KeyDown(int& keyCode, int shift)
{
    using namespace controls;
    if (keyCode == key::Insert && shift == 0) {
        keyCode = 0;
        memAdd_Click();
    } else if (keyCode == key::Delete && shift == 0) {
        keyCode = 0;
        memRemove_Click();
    } else if ((keyCode == key::Up || keyCode == key::Down) && shift == controls::shift::Alt) {
        const int step = keyCode == key::Up ? -1 : 1;
        keyCode = 0;
        memMove_Click(step);
        memList->setFocus();
    }
}

}  // namespace guests
