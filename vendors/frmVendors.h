// The vendor list: an address book of the wedding's suppliers, one vendor at a time in
// fields bound to table Vendors, with a navigator, a quick-search list of every vendor
// name, and buttons to add and remove vendors. The city and state boxes offer the names
// of CityList and StateList and add the names typed into them to those lists.
//
// The main window opens it with showVendorWindow(); every opening loads the window afresh.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace controls {
class DataCombo;
class DataList;
class DataSource;
}  // namespace controls

namespace store {
class StoreError;
}

// Loads the vendor window and shows it modally; returns when it is closed. A failure to
// load is reported in a message and the window is not shown.
void showVendorWindow(QWidget* parent = nullptr);

class frmVendors : public QDialog {
    Q_OBJECT
public:
    explicit frmVendors(QWidget* parent = nullptr);

    // Opens the vendors, state and city lists and shows the first vendor. Throws
    // store::StoreError: the window must not be shown then (showVendorWindow says why).
    void Form_Load();

    // The service types offered by the service box, in their order.
    static const QStringList& serviceTypes();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void layOutControls();
    void connectEvents();
    void loadDataSources();
    void limitToFieldSizes();
    QList<QWidget*> fieldControls() const;

    void Data1_Reposition();
    void addDBCombo1_Click();
    void addDBCombo1_LostFocus();
    void addDBCombo2_Change();
    void addDBCombo2_LostFocus();
    void addDBList1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();

    void addToList(bool& flag, controls::DataSource& list, const QString& field, const QComboBox& box);
    void addVendor(const QString& name);
    void removeCurrentVendor();
    void reloadVendors();
    void showCurrentInQuickSearch();

    QLineEdit *Text1, *Text2, *Text3, *Text5, *Text6, *Text7, *Text8;
    controls::DataCombo *addDBCombo1, *addDBCombo2;
    QComboBox* Combo1;
    QPlainTextEdit* Text10;
    controls::DataSource *Data1, *Data2, *Data3;
    controls::DataList* addDBList1;
    QLabel* Label1;
    QPushButton *SSCommand2, *SSCommand3, *SSCommand4;

    bool emptyList_ = true;
    bool cityTouched_ = false;
    bool stateChanged_ = false;
    bool showingCurrent_ = false;  // the quick-search list is being set to the current vendor
};
