// The main window: the hub with the couple's caption, the eight navigation labels, the
// menus, and the General Information panel that edits the one row of table General.
#pragma once

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class NavLabel;
class NavShape;

namespace store {
class Recordset;
class Transaction;
}  // namespace store
namespace controls {
class DataSource;
}

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The loaded main window, or null (tests and the start-up procedure).
    static frmMain* instance();

    // Runs while the program starts, before the window is shown. On a first run it hides
    // the splash, shows the welcome and tip windows and shows itself. Throws
    // store::StoreError, which ends the start-up.
    void Form_Load(QWidget* splash);
    // Reads the names back from General, sets the couple caption; true when both exist.
    bool Set_General();
    // Shows, under the caption, how many payments of the budget are overdue and how much they
    // come to; hidden when none is. A file that cannot be read leaves it hidden.
    void Show_Overdue();
    // Rewrites every checklist task's due date from the saved wedding date.
    void SetDueDates();

    // Navigation labels. Each later window attaches itself in its label's handler.
    void imggeneral_Click();
    void imgguests_Click();
    void imgexpense_Click();
    void imgcheck_Click();
    void imgseater_Click();
    void imgreports_Click();
    void imgvendor_Click();
    void imgexit_Click();
    void navigation_MouseMove(int index);  // index into navigationLabels()
    void Form_MouseMove();

    // Menus.
    void mnuExit_Click();
    void mnuOpenDataFolder_Click();
    void mnuRepair_Click();
    void mnuCompact_Click();
    void mnuRestore_Click();
    void mnuFindGuests_Click();
    void mnuUndo_Click();
    void mnuOnline_Click();
    void mnuHelponHelp_Click();
    void mnuHomePage_Click();
    void mnuTechSupp_Click();
    void mnuAbout_Click();

    // The General Information panel.
    void SSCommand4_Click();  // Close
    void SSCommand5_Click();  // Help
    bool generalOpen() const;
    // The panel's controls are made on first use (starting the program does not need them).
    void ensureGeneralPanel();

    // Click sound, commit an open panel, close the database, end the program.
    void exitProgram();

    // Controls (names as the help texts and tests know them).
    QLabel* Label1;      // the couple caption
    QLabel* Label3;      // "The Wedding of"
    QLabel* lblOverdue;  // a line under the caption while payments of the budget are overdue
    std::array<NavLabel*, 8> navigationLabels{};
    std::array<NavShape*, 8> navigationShapes{};
    NavLabel *imggeneral, *imgguests, *imgexpense, *imgcheck, *imgseater, *imgreports, *imgvendor, *imgexit;
    NavShape *Shape1, *Shape2, *Shape3, *Shape4, *Shape5, *Shape6, *Shape7, *Shape8;
    QMenu *mnuFile, *mnuEdit, *mnuDatabase, *mnuHelp, *mnuLinks;
    QAction* mnuFindGuests;
    QAction* mnuUndo;
    QAction *mnuOpenDataFolder, *mnuRestore, *mnuExit, *mnuRepair, *mnuCompact, *mnuOnline, *mnuHelponHelp,
        *mnuHomePage, *mnuTechSupp, *mnuAbout;

    QGroupBox* frameGeneral = nullptr;
    QLineEdit *txtbridesname = nullptr, *txtgroomsname = nullptr;
    QGroupBox *Frame4 = nullptr, *Frame5 = nullptr, *Frame6 = nullptr;
    QLineEdit *txtshowloc = nullptr, *txtshowdate = nullptr, *txtshowcont = nullptr;
    QLineEdit *txtweddingloc = nullptr, *txtweddingdate = nullptr, *txtweddingcont = nullptr;
    QLineEdit *txtreceptloc = nullptr, *txtrecdate = nullptr, *txtreccont = nullptr;
    QComboBox *cshowtime = nullptr, *cweddingtime = nullptr, *crectime = nullptr;
    QLineEdit *mshowphone = nullptr, *mweddingphone = nullptr, *mrecphone = nullptr;
    QPushButton *SSCommand4 = nullptr, *SSCommand5 = nullptr;
    QLineEdit *txtolddate = nullptr, *txtnewdate = nullptr;
    controls::DataSource* Data4 = nullptr;

    // Web pages of the Help menu's links.
    static QString homePageAddress();
    static QString supportPageAddress();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class Hub;
    void buildHub();
    void buildMenus();
    void buildGeneralPanel();
    void setMenusEnabled(bool enabled);
    void highlightNavigation(int index);  // -1: none
    bool readGeneral(bool refresh);
    void openGeneral();
    void closeGeneral();
    void commitGeneral();
    void saveGeneral();
    void keepGeneralOpen();
    void rescheduleDueDates();  // throws store::StoreError
    void openInvitedSnapshot();
    void releaseRecordsets();
    void reopenRecordsets();
    void dateField_Focus(QLineEdit* field);
    void dateField_Pick(QLineEdit* field, const QString& typed);
    QString pickerCaption(QLineEdit* field) const;

    QWidget* hub_ = nullptr;  // the background (frmMain::Hub)
    std::unique_ptr<store::Recordset> invited_;
    bool generalOpen_ = false;
    std::unique_ptr<store::Transaction> general_;  // while the panel is open
    bool exiting_ = false;
};
