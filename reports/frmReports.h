// The reports window: the user picks a report on one of five tabs (guest list, expenses,
// checklist, seating, mailing labels), narrows it with an option, and previews it,
// prints it or saves it as a PDF file. The main window opens it with showReportsWindow().
#pragma once

#include "reports/ReportEngine.h"
#include "store/Store.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Opens the reports window modally; returns when it is closed.
void showReportsWindow();

class frmReports : public QDialog {
    Q_OBJECT

public:
    // The tab of the catering summary, after the five report tabs.
    static constexpr int CateringTab = 5;
    // The tab of the place cards and escort cards, after the catering summary.
    static constexpr int PlaceCardsTab = 6;

    explicit frmReports(QWidget* parent = nullptr);
    ~frmReports() override;

    // Loads the window; false when it unloaded itself (no guest records could be read).
    bool Form_Load();
    bool isLoaded() const { return loaded_; }

    // Handlers and routines, named as the window's users and help know them.
    void SSTab1_Click(int tab);
    bool Get_Report();
    void SSCommand2_Click();  // Preview
    void SSCommand3_Click();  // Print
    void SSCommand4_Click();  // Close
    void SSCommand5_Click();  // Help
    void cmdPDF_Click();      // PDF…
    void cmblblinv_Click();
    void Command1_Click();    // Select All
    void Command2_Click();    // Select None
    void SSCommand1_Click();  // Select New Font
    void Form_QueryUnload();

    // The report engine the window drives.
    reports::ReportEngine CR1;

    QString EventFields[5];
    int CurrentTab = 0;
    std::unique_ptr<store::Recordset> LabelSets[5];
    int LabelEvent = 0;
    QStringList LabelStyles;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    QWidget* buildGuestTab();
    QWidget* buildLabelsTab();
    QWidget* buildPlaceCardsTab();
    QPushButton* button(const QString& name, const QString& caption);

    void Labels_Load();
    void Labels_Start();
    bool Get_Labels();
    void markChosenParties();
    QString templatePath(const QString& templateName) const;
    QString choosePdfFile();
    void reportFailure(const QString& message);
    bool runCateringSheet(reports::ReportEngine::Destination destination);
    // Whether the tab shown is one of the sheets laid out here (catering, cards); if so runs it.
    bool runOwnSheet(reports::ReportEngine::Destination destination);
    void runCards(reports::ReportEngine::Destination destination);
    void writeSheet(const reports::ReportPages& pages, reports::ReportEngine::Destination destination,
                    const QString& fileName);
    void unload();

    QTabWidget* SSTab1 = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* optGuests[3] = {};
    QComboBox* cmbInvited[2] = {};
    QRadioButton* optExp[3] = {};
    QRadioButton* optCheck[3] = {};
    QRadioButton* OptTables[2] = {};
    QRadioButton* optCatering = nullptr;
    QRadioButton* optCardStock[2] = {};  // tent, flat: as reports::cardStocks()
    QRadioButton* optCards[2] = {};      // place cards, escort cards
    QLabel* lblCardsNote = nullptr;
    QPushButton* SSCommand2 = nullptr;
    QPushButton* SSCommand3 = nullptr;
    QPushButton* SSCommand4 = nullptr;
    QPushButton* SSCommand5 = nullptr;
    QPushButton* cmdPDF = nullptr;
    // Labels tab.
    QComboBox* cmblblinv = nullptr;
    QComboBox* cmbstyles = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* lblguestcount = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* text1 = nullptr;
    QPushButton* SSCommand1 = nullptr;

    bool loaded_ = false;
};
