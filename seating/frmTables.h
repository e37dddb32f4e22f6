// The table editor: creates one reception table or changes one row of Tables. All its
// work happens inside one transaction, begun when the window is first shown: Save
// commits it, Cancel (or closing the window through its frame) rolls it back.
//
//   seating::tableEdit().TableEditMode = seating::AddTableMode;
//   seating::tableEdit().TableSaved = false;
//   frmTables editor(Data1);          // the seating manager's table source
//   controls::ShowModal(&editor);
//   if (seating::tableEdit().TableSaved) ...
#pragma once

#include "controls/DataSource.h"
#include "store/Transaction.h"

#include <QDialog>
#include <QPointer>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace controls {
class DataNavigator;
}

class frmTables : public QDialog {
    Q_OBJECT
public:
    // seatingTables: the seating manager's table source; in add mode the editor takes
    // the number of tables and the seats of its current table from it.
    explicit frmTables(controls::DataSource* seatingTables, QWidget* parent = nullptr);
    ~frmTables() override;

    void cmdUpdate_Click();  // Save
    void cmdClose_Click();   // Cancel
    void txtFields_KeyDown(int index, int& keyCode, int shift);
    void txtFields_KeyPress(int index, int& keyAscii);
    void datPrimaryRS_Validate(controls::ValidateEvent& event);
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Error(controls::DataErrorEvent& event);

    // Controls; objectName = member name, arrays as "txtFields(0)".
    std::array<QLineEdit*, 4> txtFields{};  // tablenumber, max, tablename, assigned
    std::array<QLabel*, 4> lblLabels{};
    controls::DataSource* datPrimaryRS = nullptr;
    controls::DataNavigator* datPrimaryRSNavigator = nullptr;  // its caption shows the position
    QWidget* picButtons = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdClose = nullptr;
    QFrame* Line1 = nullptr;

    // True while the editor's transaction is open.
    bool inTransaction() const { return edit_ != nullptr; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void prepareRow();
    void discardChanges();
    void showDataError(const QString& description);

    QPointer<controls::DataSource> seatingTables_;
    bool prepared_ = false;
    std::unique_ptr<store::Transaction> edit_;  // from the first showing until Save or Cancel
};
