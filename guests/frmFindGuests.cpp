#include "guests/frmFindGuests.h"

#include "controls/Dialogs.h"
#include "controls/Named.h"
#include "guests/MemberRules.h"
#include "guests/frmGuests.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/OpenWindow.h"
#include "shell/UndoCommand.h"
#include "shell/Windows.h"
#include "store/Store.h"

#include <QAbstractTableModel>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace guests {

using controls::named;

namespace {

LabelPrinter& labelPrinter()
{
    static LabelPrinter printer;
    return printer;
}

enum Column {
    NameColumn,
    SideColumn,
    CityColumn,
    EventsColumn,
    ReplyColumn,
    PeopleColumn,
    TableColumn,
    GiftsColumn,
    CardsColumn,
    ColumnCount
};

const char* const Captions[ColumnCount] = {"Name",   "Side",  "City",  "Events", "Reply",
                                           "People", "Table", "Gifts", "Cards"};

QString eventsText(const PartyRow& r)
{
    QStringList events;
    for (Event e : {Event::Ceremony, Event::Reception, Event::Shower, Event::Rehearsal})
        if (r.isInvited(e)) {
            QString name = eventName(e);
            name[0] = name[0].toUpper();
            events << name;
        }
    return events.join(QStringLiteral(", "));
}

QString cardsText(const PartyRow& r)
{
    if (r.gifts == 0)
        return QString();
    return r.cardsToSend == 0 ? QStringLiteral("all sent") : QStringLiteral("%1 to send").arg(r.cardsToSend);
}

}  // namespace

// The parties found, one row each; sorting goes by each column's own value (numbers as numbers,
// names by last name).
class FoundPartiesModel : public QAbstractTableModel {
public:
    explicit FoundPartiesModel(QObject* parent) : QAbstractTableModel(parent) {}

    void show(const PartyList* list, std::vector<int> found)
    {
        beginResetModel();
        list_ = list;
        found_ = std::move(found);
        endResetModel();
    }
    const PartyRow& party(int row) const { return list_->rows[size_t(found_[size_t(row)])]; }
    const std::vector<int>& found() const { return found_; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(found_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
            return QString::fromLatin1(Captions[section]);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const PartyRow& r = party(index.row());
        if (role == Qt::TextAlignmentRole &&
            (index.column() == PeopleColumn || index.column() == GiftsColumn))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::UserRole)
            return sortValue(r, index.column());
        if (role == Qt::ToolTipRole && (index.column() == NameColumn || index.column() == EventsColumn))
            return data(index, Qt::DisplayRole);
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
            case NameColumn:
                return r.name;
            case SideColumn:
                return r.side;
            case CityColumn:
                return r.city;
            case EventsColumn:
                return eventsText(r);
            case ReplyColumn:
                return r.reply();
            case PeopleColumn:
                return r.people;
            case TableColumn:
                return r.table;
            case GiftsColumn:
                return r.gifts == 0 ? QVariant() : QVariant(r.gifts);
            case CardsColumn:
                return cardsText(r);
        }
        return {};
    }

private:
    static QVariant sortValue(const PartyRow& r, int column)
    {
        switch (column) {
            case NameColumn:
                return r.sortName.toLower();
            case PeopleColumn:
                return r.people;
            case GiftsColumn:
                return r.gifts;
            case CardsColumn:
                return r.cardsToSend;
            default:
                return QString();
        }
    }

    const PartyList* list_ = nullptr;
    std::vector<int> found_;
};

// Sorts by the model's own sort values where it gives them, else by the text shown.
class PartySortModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        const QVariant a = left.data(Qt::UserRole), b = right.data(Qt::UserRole);
        if (a.typeId() == QMetaType::Int)
            return a.toInt() < b.toInt();
        if (!a.toString().isEmpty() || !b.toString().isEmpty())
            return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
        return QString::localeAwareCompare(left.data().toString(), right.data().toString()) < 0;
    }
};

frmFindGuests::frmFindGuests(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFindGuests"));
    setWindowTitle(QStringLiteral("Find Guests"));

    txtSearch = named(new QLineEdit, QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Any part of a name, an address, a city or a phone number"));
    txtSearch->setClearButtonEnabled(true);
    auto* lblSearch = new QLabel(QStringLiteral("&Find:"));
    lblSearch->setBuddy(txtSearch);

    const auto check = [this](const char* name, const QString& caption) {
        auto* box = named(new QCheckBox(caption), QString::fromLatin1(name));
        connect(box, &QCheckBox::toggled, this, &frmFindGuests::refind);
        return box;
    };
    chkNoReply = check("chkNoReply", QStringLiteral("No &reply yet"));
    chkAttending = check("chkAttending", QStringLiteral("&Attending"));
    chkDeclined = check("chkDeclined", QStringLiteral("&Declined"));
    chkNotSeated = check("chkNotSeated", QStringLiteral("Not &seated"));
    chkNoAddress = check("chkNoAddress", QStringLiteral("No addr&ess"));
    chkNoThankYou = check("chkNoThankYou", QStringLiteral("&Thank-you card to send"));

    cboSide = named(new QComboBox, QStringLiteral("cboSide"));
    cboSide->addItems({QStringLiteral("All sides"), QStringLiteral("Bride"), QStringLiteral("Groom"),
                       QStringLiteral("Both")});
    cboEvent = named(new QComboBox, QStringLiteral("cboEvent"));
    cboEvent->addItems({QStringLiteral("Any event"), QStringLiteral("Ceremony"), QStringLiteral("Reception"),
                        QStringLiteral("Shower"), QStringLiteral("Rehearsal")});
    connect(cboSide, &QComboBox::currentIndexChanged, this, &frmFindGuests::refind);
    connect(cboEvent, &QComboBox::currentIndexChanged, this, &frmFindGuests::refind);
    auto* lblSide = new QLabel(QStringLiteral("S&ide:"));
    lblSide->setBuddy(cboSide);
    auto* lblEvent = new QLabel(QStringLiteral("In&vited to:"));
    lblEvent->setBuddy(cboEvent);
    // The members' meals and needs; the menu is filled as the list is read.
    cboMeal = named(new QComboBox, QStringLiteral("cboMeal"));
    cboMeal->addItem(QStringLiteral("Any meal"));
    cboNeed = named(new QComboBox, QStringLiteral("cboNeed"));
    cboNeed->addItem(QStringLiteral("Any need"));
    cboNeed->addItems(commonNeeds());
    connect(cboMeal, &QComboBox::currentIndexChanged, this, &frmFindGuests::refind);
    connect(cboNeed, &QComboBox::currentIndexChanged, this, &frmFindGuests::refind);
    auto* lblMeal = new QLabel(QStringLiteral("&Meal:"));
    lblMeal->setBuddy(cboMeal);
    auto* lblNeed = new QLabel(QStringLiteral("&Needs:"));
    lblNeed->setBuddy(cboNeed);

    model_ = new FoundPartiesModel(this);
    sorted_ = new PartySortModel(this);
    sorted_->setSourceModel(model_);
    grdFound = named(new QTableView, QStringLiteral("grdFound"));
    grdFound->setModel(sorted_);
    grdFound->setSortingEnabled(true);
    grdFound->sortByColumn(NameColumn, Qt::AscendingOrder);
    grdFound->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdFound->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdFound->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdFound->setAlternatingRowColors(true);
    grdFound->verticalHeader()->hide();
    grdFound->verticalHeader()->setDefaultSectionSize(grdFound->fontMetrics().height() + 6);
    grdFound->horizontalHeader()->setStretchLastSection(true);
    // Widths that fit the usual texts, measured on samples: measuring every row would cost as
    // much as the list is long.
    const char* const samples[ColumnCount] = {"Mr. and Mrs. Hannah Anderson",
                                              "Groom",
                                              "San Francisco",
                                              "Ceremony, Reception, Shower",
                                              "attending",
                                              "People",
                                              "Table #12",
                                              "Gifts",
                                              "2 to send"};
    for (int c = 0; c < ColumnCount; ++c) {
        const QFontMetrics& m = grdFound->fontMetrics();
        grdFound->horizontalHeader()->resizeSection(
            c, std::max(m.horizontalAdvance(QString::fromLatin1(samples[c])),
                        m.horizontalAdvance(QString::fromLatin1(Captions[c]))) +
                   20);
    }
    grdFound->installEventFilter(this);
    connect(grdFound, &QTableView::doubleClicked, this, &frmFindGuests::cmdOpen_Click);

    lblCounts = named(new QLabel, QStringLiteral("lblCounts"));
    lblDone = named(new QLabel, QStringLiteral("lblDone"));
    lblDone->setWordWrap(true);
    cmdChange = named(new QPushButton(QStringLiteral("C&hange")), QStringLiteral("cmdChange"));
    buildChangeMenu();
    cmdUndo = named(new QPushButton(QStringLiteral("&Undo")), QStringLiteral("cmdUndo"));
    cmdOpen = named(new QPushButton(QStringLiteral("&Open")), QStringLiteral("cmdOpen"));
    cmdClose = named(new QPushButton(QStringLiteral("Close")), QStringLiteral("cmdClose"));
    for (QPushButton* b : {cmdChange, cmdUndo, cmdOpen, cmdClose})
        b->setAutoDefault(false);
    connect(cmdUndo, &QPushButton::clicked, this, &frmFindGuests::cmdUndo_Click);
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, this, &frmFindGuests::cmdUndo_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmFindGuests::cmdOpen_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtSearch, &QLineEdit::textChanged, this, &frmFindGuests::refind);
    txtSearch->installEventFilter(this);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(lblSearch);
    searchRow->addWidget(txtSearch, 1);
    searchRow->addSpacing(12);
    searchRow->addWidget(lblSide);
    searchRow->addWidget(cboSide);
    searchRow->addWidget(lblEvent);
    searchRow->addWidget(cboEvent);
    searchRow->addWidget(lblMeal);
    searchRow->addWidget(cboMeal);
    searchRow->addWidget(lblNeed);
    searchRow->addWidget(cboNeed);
    auto* filterRow = new QHBoxLayout;
    for (QCheckBox* box : {chkNoReply, chkAttending, chkDeclined, chkNotSeated, chkNoAddress, chkNoThankYou})
        filterRow->addWidget(box);
    filterRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCounts, 1);
    buttons->addWidget(cmdChange);
    buttons->addWidget(cmdUndo);
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(filterRow);
    layout->addWidget(grdFound, 1);
    layout->addWidget(lblDone);
    layout->addLayout(buttons);

    setTabOrder(txtSearch, cboSide);
    setTabOrder(cboSide, cboEvent);
    setTabOrder(cboEvent, cboMeal);
    setTabOrder(cboMeal, cboNeed);
    setTabOrder(cboNeed, chkNoReply);
    setTabOrder(chkNoThankYou, grdFound);
    setTabOrder(grdFound, cmdChange);
    setTabOrder(cmdChange, cmdUndo);
    setTabOrder(cmdUndo, cmdOpen);
    setTabOrder(cmdOpen, cmdClose);
    resize(1040, 580);
    shell::centreOnScreen(this);
}

frmFindGuests::~frmFindGuests() = default;

void frmFindGuests::Form_Load()
{
    store::Database* db = store::Workspace::defaultWorkspace().database();
    if (!db)
        throw store::StoreError(store::err::ObjectNotSet, QStringLiteral("No wedding file is open."));
    list_ = loadParties(*db);
    showMenu();
    refind();
    showUndoState();
}

void frmFindGuests::buildChangeMenu()
{
    using K = BulkChange::Kind;
    mnuChange = named(new QMenu(this), QStringLiteral("mnuChange"));
    auto* whom = new QActionGroup(this);
    mnuChangeSelected = mnuChange->addAction(QString());
    mnuChangeShown = mnuChange->addAction(QString());
    for (QAction* a : {mnuChangeSelected, mnuChangeShown}) {
        a->setCheckable(true);
        whom->addAction(a);
    }
    mnuChangeSelected->setChecked(true);
    mnuChange->addSeparator();
    const auto item = [this](QMenu* menu, const QString& caption, const BulkChange& change) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [this, change] { changeParties(change); });
    };
    const QString events[] = {QStringLiteral("&Ceremony"), QStringLiteral("&Reception"),
                              QStringLiteral("&Shower"), QStringLiteral("R&ehearsal")};
    for (K kind : {K::Invite, K::Uninvite}) {
        QMenu* sub = mnuChange->addMenu(kind == K::Invite ? QStringLiteral("&Invite to")
                                                          : QStringLiteral("Re&move from"));
        sub->setObjectName(kind == K::Invite ? QStringLiteral("mnuInvite") : QStringLiteral("mnuUninvite"));
        for (int e = 0; e < 4; ++e)
            item(sub, events[e], BulkChange{kind, Event(e), {}, Reply::Attending, Occasion::Wedding});
    }
    QMenu* side = mnuChange->addMenu(QStringLiteral("Set Si&de"));
    side->setObjectName(QStringLiteral("mnuSide"));
    for (const char* s : {"Bride", "Groom", "Both"})
        item(side, QStringLiteral("&") + QString::fromLatin1(s),
             BulkChange{K::Side, Event::Reception, QString::fromLatin1(s), Reply::Attending,
                        Occasion::Wedding});
    QMenu* reply = mnuChange->addMenu(QStringLiteral("Set Re&ply"));
    reply->setObjectName(QStringLiteral("mnuReply"));
    const std::pair<QString, Reply> replies[] = {{QStringLiteral("&Attending"), Reply::Attending},
                                                 {QStringLiteral("&Declined"), Reply::Declined},
                                                 {QStringLiteral("&No Reply Yet"), Reply::None}};
    for (const auto& [caption, r] : replies)
        item(reply, caption, BulkChange{K::Reply, Event::Reception, {}, r, Occasion::Wedding});
    QMenu* cards = mnuChange->addMenu(QStringLiteral("&Thank-you Cards Sent"));
    cards->setObjectName(QStringLiteral("mnuThankYou"));
    const std::pair<QString, Occasion> occasions[] = {
        {QStringLiteral("For the &Engagement Gift"), Occasion::Engagement},
        {QStringLiteral("For the &Shower Gift"), Occasion::Shower},
        {QStringLiteral("For the &Wedding Gift"), Occasion::Wedding}};
    for (const auto& [caption, o] : occasions)
        item(cards, caption, BulkChange{K::ThankYouSent, Event::Reception, {}, Reply::Attending, o});
    if (labelPrinter()) {
        mnuChange->addSeparator();
        QAction* labels = mnuChange->addAction(QStringLiteral("Print La&bels..."));
        labels->setObjectName(QStringLiteral("mnuLabels"));
        connect(labels, &QAction::triggered, this, [this] {
            const std::vector<qint64> keys = chosenParties();
            if (keys.empty())
                return controls::Beep();
            labelPrinter()(this, keys);
            reload();
        });
    }
    mnuChange->addSeparator();
    QAction* remove = mnuChange->addAction(QStringLiteral("De&lete..."));
    remove->setObjectName(QStringLiteral("mnuDelete"));
    connect(remove, &QAction::triggered, this, [this] {
        changeParties(BulkChange{K::Delete, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    });
    connect(mnuChange, &QMenu::aboutToShow, this, [this] {
        const QLocale locale;
        const qsizetype selected = qsizetype(selectedParties().size());
        const int shown = sorted_->rowCount();
        mnuChangeSelected->setText(QStringLiteral("The %1 &Selected").arg(locale.toString(selected)) +
                                   (selected == 1 ? QStringLiteral(" Party") : QStringLiteral(" Parties")));
        mnuChangeShown->setText(QStringLiteral("All %1 Parties Sho&wn").arg(locale.toString(shown)));
    });
    cmdChange->setMenu(mnuChange);
}

std::vector<qint64> frmFindGuests::chosenParties() const
{
    return mnuChangeShown->isChecked() ? shownParties() : selectedParties();
}

void frmFindGuests::changeParties(const BulkChange& change)
{
    const std::vector<qint64> keys = chosenParties();
    if (keys.empty()) {
        controls::Beep();
        return;
    }
    if (change.kind == BulkChange::Kind::Delete) {
        const QString question = keys.size() == 1
                                     ? QStringLiteral("Delete this party from the guest list?")
                                     : QStringLiteral("Delete these %1 parties from the guest list?")
                                           .arg(QLocale().toString(qsizetype(keys.size())));
        if (controls::MsgBox(
                question, controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2,
                QStringLiteral("Delete Guests"), this,
                QStringLiteral("Their gifts, replies and seats go with them. Undo brings them back.")) !=
            controls::mb::Yes)
            return;
    }
    try {
        const BulkOutcome done = applyChange(*store::Workspace::defaultWorkspace().database(), keys, change);
        lblDone->setText(done.summary());
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    reload();
}

void frmFindGuests::cmdUndo_Click()
{
    if (const std::optional<QString> undone = shell::undoLastChange(this)) {
        lblDone->setText(QStringLiteral("Undone: %1.").arg(*undone));
        reload();
    }
    showUndoState();
}

// Reads the parties again after a change, keeping the search, the filters and the sort.
void frmFindGuests::reload()
{
    try {
        list_ = loadParties(*store::Workspace::defaultWorkspace().database());
        showMenu();
        refind();
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    showUndoState();
}

// The menu as the list read it, keeping the meal chosen while it is still on the menu.
void frmFindGuests::showMenu()
{
    const QString chosen = cboMeal->currentIndex() > 0 ? cboMeal->currentText() : QString();
    const QSignalBlocker quiet(cboMeal);
    while (cboMeal->count() > 1)
        cboMeal->removeItem(1);
    cboMeal->addItems(list_.menu);
    cboMeal->setCurrentIndex(std::max(0, int(list_.menu.indexOf(chosen)) + 1));
    cboMeal->setEnabled(!list_.menu.isEmpty());
}

void frmFindGuests::showUndoState()
{
    const QString caption = shell::undoCaption();
    cmdUndo->setEnabled(shell::canUndo());
    cmdUndo->setToolTip(QString(caption).remove(QLatin1Char('&')) + QStringLiteral(" (Ctrl+Z)"));
}

std::vector<Filter> frmFindGuests::chosenFilters() const
{
    using K = Filter::Kind;
    std::vector<Filter> filters;
    const std::pair<QCheckBox*, K> boxes[] = {{chkNoReply, K::NoReply},     {chkAttending, K::Attending},
                                              {chkDeclined, K::Declined},   {chkNotSeated, K::NotSeated},
                                              {chkNoAddress, K::NoAddress}, {chkNoThankYou, K::NoThankYou}};
    for (const auto& [box, kind] : boxes)
        if (box->isChecked())
            filters.push_back({.kind = kind});
    if (cboSide->currentIndex() > 0)
        filters.push_back({.kind = K::Side, .side = cboSide->currentText()});
    if (cboEvent->currentIndex() > 0)
        filters.push_back({.kind = K::Invited, .event = Event(cboEvent->currentIndex() - 1)});
    if (cboMeal->currentIndex() > 0)
        filters.push_back({.kind = K::Meal, .name = cboMeal->currentText()});
    if (cboNeed->currentIndex() > 0)
        filters.push_back({.kind = K::Need, .name = cboNeed->currentText()});
    return filters;
}

void frmFindGuests::refind()
{
    model_->show(&list_, findParties(list_, txtSearch->text(), chosenFilters()));
    if (sorted_->rowCount() > 0)
        grdFound->setCurrentIndex(sorted_->index(0, 0));
    showCounts();
}

void frmFindGuests::showCounts()
{
    const QLocale locale;
    const FoundCounts counts = countFound(list_, model_->found());
    lblCounts->setText(QStringLiteral("%1 of %2 parties shown: %3 people invited, %4 attending")
                           .arg(locale.toString(counts.parties),
                                locale.toString(qsizetype(list_.rows.size())), locale.toString(counts.people),
                                locale.toString(counts.attending)));
}

std::vector<qint64> frmFindGuests::shownParties() const
{
    std::vector<qint64> keys;
    for (int row = 0; row < sorted_->rowCount(); ++row)
        keys.push_back(model_->party(sorted_->mapToSource(sorted_->index(row, 0)).row()).key);
    return keys;
}

std::vector<qint64> frmFindGuests::selectedParties() const
{
    std::vector<qint64> keys;
    for (int row = 0; row < sorted_->rowCount(); ++row)
        if (grdFound->selectionModel()->isRowSelected(row, {}))
            keys.push_back(model_->party(sorted_->mapToSource(sorted_->index(row, 0)).row()).key);
    return keys;
}

void frmFindGuests::cmdOpen_Click()
{
    const QModelIndex current = grdFound->currentIndex();
    if (!current.isValid())
        return;
    const qint64 key = model_->party(sorted_->mapToSource(current).row()).key;
    showGuestWindow(key);
    reload();
}

bool frmFindGuests::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Down from the search box goes into the list; Enter in the list opens the party.
        if (watched == txtSearch && key == Qt::Key_Down && sorted_->rowCount() > 0) {
            grdFound->setFocus();
            return true;
        }
        if (watched == grdFound && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            cmdOpen_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmFindGuests::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        shell::showHelp(this, shell::HelpFindGuests);
        return;
    }
    // Enter in the search box keeps the dialog open: the list follows the typing already.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void setLabelPrinter(LabelPrinter printer)
{
    labelPrinter() = std::move(printer);
}

void showFindGuests(QWidget* parent)
{
    frmFindGuests window(parent);
    shell::loadAndShowModal(window, parent);
}

}  // namespace guests
