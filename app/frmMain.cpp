#include "app/frmMain.h"

#include "app/ExchangeMenu.h"
#include "app/Maintenance.h"
#include "app/NavLabel.h"
#include "app/PeopleReports.h"
#include "app/Recovery.h"
#include "app/frmAbout.h"
#include "budget/frmBudget.h"
#include "budget/frmDataGrid.h"
#include "checklist/frmCheck.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "guests/frmFindGuests.h"
#include "guests/frmGuests.h"
#include "reports/frmPartyLabels.h"
#include "reports/frmReports.h"
#include "seating/frmSeater.h"
#include "shell/Artwork.h"
#include "shell/CaptionLabel.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "shell/Sound.h"
#include "shell/StartDoc.h"
#include "shell/UndoCommand.h"
#include "shell/Windows.h"
#include "store/Log.h"
#include "store/Store.h"
#include "store/Transaction.h"
#include "vendors/frmVendors.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QVBoxLayout>

namespace {

QPointer<frmMain>& loadedMain()
{
    static QPointer<frmMain> window;
    return window;
}

struct NavigationEntry {
    const char* label;
    const char* caption;
    const char* shape;
};

// In the order of navigationLabels(): two columns, read row by row.
constexpr std::array<NavigationEntry, 8> Navigation{{
    {"imggeneral", "General Information", "Shape3"},
    {"imgguests", "Guest List Manager", "Shape1"},
    {"imgcheck", "To Do/Check List", "Shape6"},
    {"imgexpense", "Track Expenses", "Shape2"},
    {"imgvendor", "Vendor List", "Shape8"},
    {"imgseater", "Reception Seating Manager", "Shape7"},
    {"imgreports", "Print Reports/Labels", "Shape4"},
    {"imgexit", "Exit Program", "Shape5"},
}};

}  // namespace

// The window's background: paints the artwork and reports the pointer over bare ground.
class frmMain::Hub : public QWidget {
public:
    explicit Hub(frmMain* owner) : QWidget(owner), owner_(owner)
    {
        setObjectName(QStringLiteral("hub"));
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        shell::paintHubBackground(p, rect());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!childAt(event->position().toPoint()))
            owner_->Form_MouseMove();
    }
    // The open General Information panel lies over the hub (not in its layout): the hub is
    // never smaller than the panel needs.
    QSize minimumSizeHint() const override
    {
        QSize least = QWidget::minimumSizeHint();
        if (owner_->frameGeneral)
            least = least.expandedTo(owner_->frameGeneral->minimumSizeHint() + QSize(28, 20));
        return least;
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (owner_->frameGeneral)
            owner_->frameGeneral->setGeometry(rect().adjusted(14, 10, -14, -10));
    }

private:
    frmMain* owner_;
};

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orvane"));

    shell::setHelpContext(this, shell::HelpContents);
    loadedMain() = this;
    buildHub();
    buildMenus();
    txtolddate = new QLineEdit(this);
    txtolddate->setObjectName(QStringLiteral("txtolddate"));
    txtolddate->hide();
    txtnewdate = new QLineEdit(this);
    txtnewdate->setObjectName(QStringLiteral("txtnewdate"));
    txtnewdate->hide();
    resize(800, 580);
}

frmMain::~frmMain()
{
    shell::quitHelp();
    shell::program().InvitedSnapshot = nullptr;
}

frmMain* frmMain::instance()
{
    return loadedMain();
}

void frmMain::buildHub()
{
    hub_ = new Hub(this);
    setCentralWidget(hub_);

    Label3 = new shell::CaptionLabel(QStringLiteral("The Wedding of"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    shell::setTextLook(Label3, {15, true, true, QFont::Normal, QColor(0x8a, 0x5a, 0x6a)});
    Label1 = new QLabel;
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    shell::setTextLook(Label1, {24, true, true, QFont::Normal, QColor(0x5a, 0x2a, 0x3a)});
    auto* rings = new QLabel;
    rings->setPixmap(shell::ringsPicture(80));
    rings->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(28);
    grid->setVerticalSpacing(12);
    for (int i = 0; i < int(Navigation.size()); ++i) {
        auto* shape = new NavShape(QString::fromLatin1(Navigation[i].shape));
        shape->setFillColor(app::RestColour);
        // Shorter shapes on a small screen, so that the window fits it.
        shape->setMinimumSize(290, 44);
        shape->setPreferredSize(QSize(290, 58));
        auto* label = new NavLabel(QString::fromLatin1(Navigation[i].label),
                                   QString::fromLatin1(Navigation[i].caption));
        shell::setTextLook(label, {15, true, true});
        auto* inside = new QVBoxLayout(shape);
        inside->setContentsMargins(0, 0, 0, 0);
        inside->addWidget(label);
        grid->addWidget(shape, i / 2, i % 2);
        navigationLabels[i] = label;
        navigationShapes[i] = shape;
        connect(label, &NavLabel::mouseMoved, this, [this, i] { navigation_MouseMove(i); });
    }
    imggeneral = navigationLabels[0];
    imgguests = navigationLabels[1];
    imgcheck = navigationLabels[2];
    imgexpense = navigationLabels[3];
    imgvendor = navigationLabels[4];
    imgseater = navigationLabels[5];
    imgreports = navigationLabels[6];
    imgexit = navigationLabels[7];
    for (NavShape* s : navigationShapes) {
        NavShape** slot[] = {&Shape1, &Shape2, &Shape3, &Shape4, &Shape5, &Shape6, &Shape7, &Shape8};
        *slot[s->objectName().mid(5).toInt() - 1] = s;
    }
    connect(imggeneral, &NavLabel::clicked, this, &frmMain::imggeneral_Click);
    connect(imgguests, &NavLabel::clicked, this, &frmMain::imgguests_Click);
    connect(imgcheck, &NavLabel::clicked, this, &frmMain::imgcheck_Click);
    connect(imgexpense, &NavLabel::clicked, this, &frmMain::imgexpense_Click);
    connect(imgvendor, &NavLabel::clicked, this, &frmMain::imgvendor_Click);
    connect(imgseater, &NavLabel::clicked, this, &frmMain::imgseater_Click);
    connect(imgreports, &NavLabel::clicked, this, &frmMain::imgreports_Click);
    connect(imgexit, &NavLabel::clicked, this, &frmMain::imgexit_Click);

    auto* layout = new QVBoxLayout(hub_);
    layout->setContentsMargins(40, 12, 40, 16);
    layout->addWidget(rings);
    layout->addWidget(Label3);
    layout->addWidget(Label1);
    lblOverdue = new QLabel;
    lblOverdue->setObjectName(QStringLiteral("lblOverdue"));
    lblOverdue->setAlignment(Qt::AlignCenter);
    QPalette overdueColours = lblOverdue->palette();  // a palette, not a style sheet: those slow the start
    overdueColours.setColor(QPalette::WindowText, QColor(0x8b, 0, 0));
    lblOverdue->setPalette(overdueColours);
    lblOverdue->hide();
    layout->addWidget(lblOverdue);
    layout->addSpacing(10);
    layout->addLayout(grid);
    layout->addStretch();
    Label1->hide();
    Label3->hide();
}

void frmMain::buildMenus()
{
    auto action = [this](QMenu* menu, const char* name, const QString& caption, void (frmMain::*slot)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFindGuests =
        action(mnuFile, "mnuFindGuests", QStringLiteral("&Find Guests..."), &frmMain::mnuFindGuests_Click);
    mnuFindGuests->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    guests::setLabelPrinter(&reports::showPartyLabels);
    mnuFile->addSeparator();
    app::addExchangeItems(mnuFile, this);
    app::registerPeopleReports();
    QAction* budget = mnuFile->addAction(QStringLiteral("&Budget..."));
    budget->setObjectName(QStringLiteral("mnuBudget"));
    connect(budget, &QAction::triggered, this, [this] {
        showBudgetWindow(this);
        Show_Overdue();
    });
    mnuOpenDataFolder = action(mnuFile, "mnuOpenDataFolder", QStringLiteral("Open Data Folder"),
                               &frmMain::mnuOpenDataFolder_Click);
    mnuRestore =
        action(mnuFile, "mnuRestore", QStringLiteral("&Restore from Backup..."), &frmMain::mnuRestore_Click);
    mnuFile->addSeparator();
    mnuExit = action(mnuFile, "mnuExit", QStringLiteral("E&xit"), &frmMain::mnuExit_Click);
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuUndo = action(mnuEdit, "mnuUndo", QStringLiteral("&Undo"), &frmMain::mnuUndo_Click);
    mnuUndo->setShortcut(QKeySequence::Undo);
    // The menu shows whether there is anything to undo; the shortcut always asks (and says so).
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] {
        mnuUndo->setText(shell::undoCaption());
        mnuUndo->setEnabled(shell::canUndo());
    });
    connect(mnuEdit, &QMenu::aboutToHide, this,
            [this] { mnuUndo->setEnabled(mnuEdit->menuAction()->isEnabled()); });

    mnuDatabase = menuBar()->addMenu(QStringLiteral("&Database"));
    mnuDatabase->setObjectName(QStringLiteral("mnuDatabase"));
    mnuRepair =
        action(mnuDatabase, "mnuRepair", QStringLiteral("&Repair Database"), &frmMain::mnuRepair_Click);
    mnuCompact =
        action(mnuDatabase, "mnuCompact", QStringLiteral("&Compact Database"), &frmMain::mnuCompact_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuOnline = action(mnuHelp, "mnuOnline", QStringLiteral("Online Help"), &frmMain::mnuOnline_Click);
    mnuHelponHelp =
        action(mnuHelp, "mnuHelponHelp", QStringLiteral("Help on Help"), &frmMain::mnuHelponHelp_Click);
    mnuLinks = mnuHelp->addMenu(QStringLiteral("&Internet Links"));
    mnuLinks->setObjectName(QStringLiteral("mnuLinks"));
    mnuHomePage =
        action(mnuLinks, "mnuHomePage", QStringLiteral("Orvane &Home Page"), &frmMain::mnuHomePage_Click);
    mnuTechSupp = action(mnuLinks, "mnuTechSupp", QStringLiteral("&Technical Support Page"),
                         &frmMain::mnuTechSupp_Click);
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("step2"));
    mnuAbout = action(mnuHelp, "mnuAbout", QStringLiteral("&About"), &frmMain::mnuAbout_Click);
}

void frmMain::setMenusEnabled(bool enabled)
{
    for (QMenu* menu : {mnuFile, mnuEdit, mnuDatabase, mnuHelp})
        menu->menuAction()->setEnabled(enabled);
    // A shortcut reaches an action even in a disabled menu; Exit is not reachable while the
    // General Information panel is open.
    mnuExit->setEnabled(enabled);
    mnuUndo->setEnabled(enabled);
}

// ---- Navigation ----------------------------------------------------------------------

void frmMain::highlightNavigation(int index)
{
    for (int i = 0; i < int(navigationShapes.size()); ++i) {
        navigationShapes[i]->setFillColor(i == index ? app::HighlightColour : app::RestColour);
        navigationLabels[i]->setHighlighted(i == index);
    }
}

void frmMain::navigation_MouseMove(int index)
{
    // The picture is drawn the first time the pointer is over a label, not at every start.
    QCursor& cursor = shell::program().NavigationCursor;
    if (cursor.shape() != Qt::BitmapCursor)
        cursor = shell::navigationCursorPicture();
    navigationLabels[index]->setCursor(cursor);
    highlightNavigation(index);
}

void frmMain::Form_MouseMove()
{
    highlightNavigation(-1);
}

void frmMain::imggeneral_Click()
{
    shell::playClick();
    openGeneral();
}

void frmMain::imgguests_Click()
{
    shell::playClick();
    showGuestWindow();
}

void frmMain::imgexpense_Click()
{
    shell::playClick();
    try {
        showExpenseWindow(this);
    } catch (const store::StoreError& ignored) {
        store::logIgnored("opening the expense window", ignored);
        // Opening the expense window ignores its errors.
    }
    Show_Overdue();  // payments may have been recorded in the budget opened from it
}

void frmMain::imgcheck_Click()
{
    shell::playClick();
    try {
        showChecklistWindow(
            shell::database().openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Dynaset),
            this);
    } catch (const store::StoreError& ignored) {
        store::logIgnored("opening the checklist", ignored);
        // Opening the checklist ignores its errors.
    }
}

void frmMain::imgseater_Click()
{
    shell::playClick();
    try {
        showSeatingManager();
    } catch (const store::StoreError& ignored) {
        store::logIgnored("opening the seating manager", ignored);
        // Opening the seating window ignores its errors.
    }
}

void frmMain::imgreports_Click()
{
    shell::playClick();
    showReportsWindow();
}

void frmMain::imgvendor_Click()
{
    shell::playClick();
    showVendorWindow(this);
}

void frmMain::imgexit_Click()
{
    exitProgram();
}

// ---- Menus -----------------------------------------------------------------------------

QString frmMain::homePageAddress()
{
    return QStringLiteral("https://www.orvane.example/");
}
QString frmMain::supportPageAddress()
{
    return QStringLiteral("https://www.orvane.example/support.asp");
}

void frmMain::mnuExit_Click()
{
    exitProgram();
}

// Shows the folder of the wedding file (and its backups) in the desktop's file manager.
void frmMain::mnuOpenDataFolder_Click()
{
    shell::StartDoc(shell::dataDirectory());
}

void frmMain::mnuRepair_Click()
{
    app::repairDatabase({[this] { releaseRecordsets(); }, [this] { reopenRecordsets(); }}, this);
}

void frmMain::mnuRestore_Click()
{
    app::restoreFromBackup({[this] { releaseRecordsets(); }, [this] { reopenRecordsets(); }}, this);
}

void frmMain::mnuFindGuests_Click()
{
    guests::showFindGuests(this);
}

void frmMain::mnuUndo_Click()
{
    const std::optional<QString> undone = shell::undoLastChange(this);
    if (!undone)
        return;
    try {
        reopenRecordsets();
    } catch (const store::StoreError& e) {
        shell::showError(e, this);
    }
    Show_Overdue();
    controls::MsgBox(QStringLiteral("Undone: %1.").arg(*undone),
                     controls::mb::OKOnly | controls::mb::Information, QStringLiteral("Undo"), this);
}

void frmMain::mnuCompact_Click()
{
    app::compactDatabase({[this] { releaseRecordsets(); }, [this] { reopenRecordsets(); }}, this);
}

void frmMain::mnuOnline_Click()
{
    shell::showHelp(this, shell::HelpContents);
}
void frmMain::mnuHelponHelp_Click()
{
    shell::showHelpOnHelp(this);
}
void frmMain::mnuHomePage_Click()
{
    shell::StartDoc(homePageAddress());
}
void frmMain::mnuTechSupp_Click()
{
    shell::StartDoc(supportPageAddress());
}

void frmMain::mnuAbout_Click()
{
    frmAbout about(this);
    controls::ShowModal(&about);
}

// ---- Exit --------------------------------------------------------------------------------

void frmMain::exitProgram()
{
    if (exiting_)
        return;
    exiting_ = true;
    shell::playClick();
    // What was typed in an open General Information panel is kept, not rolled back.
    if (generalOpen_) {
        try {
            if (Data4->updateRecord())
                saveGeneral();
        } catch (const store::StoreError& ignored) {
            store::logIgnored("saving the General Information panel at exit", ignored);
            // Leaving anyway: the database closes below.
        }
    }
    releaseRecordsets();
    shell::workspace().close();
    controls::EndProgram();
    exiting_ = false;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (exiting_) {
        event->accept();
        return;
    }
    event->ignore();
    exitProgram();
}
