// The guest window "Guest List Manager": one guest party at a time from table Guests in
// last-name order, edited on five tabs (Address, Details, Gifts, Summary, Mail Labels),
// with a navigator, a quick-search list, a guest counter and the buttons Help, Add Guest,
// Remove Guest and Close.
//
//     showGuestWindow();   // the main window's "Guest List Manager" label
//
// One window is open at a time; frmGuests::instance() is it (the new guest dialog and
// the summary reach its controls through it).
#pragma once

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace guests {
class MembersTab;
}

namespace controls {
class DataCombo;
class DataList;
class DataNavigator;
class DataSource;
class MaskedEdit;
struct DataErrorEvent;
struct ValidateEvent;
}  // namespace controls

// Opens the guest window modally and returns when it is closed; with a party (its bookmark),
// at that party. A database failure while it loads is shown ("Error #" and the number) and
// the window does not open.
void showGuestWindow(std::optional<qint64> party = std::nullopt);

class frmGuests : public QWidget {
    Q_OBJECT
public:
    // Tabs of SSTab1.
    enum Tab {
        AddressTab = 0,
        DetailsTab = 1,
        GiftsTab = 2,
        SummaryTab = 3,
        MailLabelsTab = 4,
        MembersTab = 5
    };

    explicit frmGuests(QWidget* parent = nullptr);
    ~frmGuests() override;

    // The open guest window, or null.
    static frmGuests* instance();

    // Opens the data sources and shows the first guest (tip 1 on an empty list).
    // Throws store::StoreError when the guest table cannot be opened.
    void Form_Load();

    // ---- event handlers ----------------------------------------------------------------
    void Data1_Reposition();
    void Data1_Validate(controls::ValidateEvent& event);
    void Data1_Error(controls::DataErrorEvent& event);
    void addDBList1_Click();
    void SSTab1_Click(int previousTab);
    void addDBCombo1_Change();
    void addDBCombo1_LostFocus();
    void addDBCombo2_Change();
    void addDBCombo2_LostFocus();
    void SSCommand1_Click();  // Help
    void SSCommand2_Click();  // Add Guest
    void SSCommand3_Click();  // Remove Guest
    void SSCommand4_Click();  // Close
    // Details tab.
    void detside_Click(int index);
    void detside_GotFocus(int index);
    void detCheck1_Click();
    void detCheck3_Click();
    void detCheck4_Click();
    void detCheck6_Click();
    void detText_KeyPress(int box, int& keyAscii);  // box 1..4: detText1..detText4
    void detText_LostFocus(int box);
    // Gifts tab (box 1..3: gifMaskEdBox1..gifMaskEdBox3).
    void gifMaskEdBox_GotFocus(int box);
    void gifMaskEdBox_KeyPress(int box, int& keyAscii);
    void gifMaskEdBox_LostFocus(int box);
    // Mail Labels tab.
    void maifillwed_Click();
    void maifillshow_Click();

    // ---- window flags ------------------------------------------------------------------
    bool GuestListEmpty = false;  // the guest set was empty at the last record change
    bool CityChanged = false;     // the city box was edited since it last lost focus
    bool StateChanged = false;    // likewise the state box

    // ---- controls ----------------------------------------------------------------------
    controls::DataSource* Data1;  // Guests, table-type, index LastName
    controls::DataSource* Data2;  // CityList
    controls::DataSource* Data3;  // StateList
    controls::DataNavigator* navigator;
    QTabWidget* SSTab1;
    QPushButton* SSCommand1;
    QPushButton* SSCommand2;
    QPushButton* SSCommand3;
    QPushButton* SSCommand4;

    // Address.
    controls::DataList* addDBList1;
    QLabel* lblguestcount;
    QComboBox* addCombo1;
    std::array<QLineEdit*, 11> addtxtFields{};  // used: 0, 2, 4, 7, 8, 10
    controls::DataCombo* addDBCombo1;
    controls::DataCombo* addDBCombo2;

    // Details.
    std::array<QRadioButton*, 3> detside{};
    QCheckBox* detCheck1;
    QCheckBox* detCheck2;
    QCheckBox* detCheck3;
    QCheckBox* detCheck4;
    QCheckBox* detCheck5;
    QCheckBox* detCheck6;
    QLineEdit* detText1;
    QLineEdit* detText2;
    QLineEdit* detText3;
    QLineEdit* detText4;
    QGroupBox* Frame3;
    QGroupBox* showerframe;

    // Gifts.
    QLineEdit* gifText1;
    QLineEdit* gifText2;
    QLineEdit* gifText3;
    controls::MaskedEdit* gifMaskEdBox1;
    controls::MaskedEdit* gifMaskEdBox2;
    controls::MaskedEdit* gifMaskEdBox3;
    QCheckBox* gifCheck7;
    QCheckBox* gifCheck8;
    QCheckBox* gifCheck9;

    // Summary.
    QLabel* Label10;
    QTableWidget* MSFlexGrid1;
    QLabel* sumBride;
    QLabel* sumGroom;
    QLabel* sumBoth;
    QLabel* sumengage;
    QLabel* sumshower;
    QLabel* sumreception;
    QLabel* sumPeople;  // the people of the parties with members

    // Mail Labels.
    QLineEdit* maiText2;
    QLineEdit* maiText3;
    QPushButton* maifillwed;
    QPushButton* maifillshow;
    QGroupBox* Frame11;

    // Members: the people of the party.
    guests::MembersTab* memTab;

private:
    QWidget* buildAddressTab();
    QWidget* buildDetailsTab();
    QWidget* buildGiftsTab();
    QWidget* buildSummaryTab();
    QWidget* buildMailLabelsTab();
    void bindFields();
    void connectEvents();
    void setKeyboardOrder();
    void selectSide(bool clearOtherwise);
    void showGuestCount();
    void applyKeyboardStops();
    void removeCurrentGuest();
    void showMembers();
    QLineEdit* countBox(int box) const;
    QCheckBox* replyBox(int box) const;
    controls::MaskedEdit* amountBox(int box) const;

    int currentTab_ = AddressTab;
};
