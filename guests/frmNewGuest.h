// The new guest dialog: asks for the first and last name of a new party, stores it with
// the side "Both" and hands the guest window back on the new party's Address tab.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmNewGuest : public QDialog {
    Q_OBJECT
public:
    explicit frmNewGuest(QWidget* parent = nullptr);

    void Command1_Click();  // OK
    void Command2_Click();  // Cancel
    void txtnewlast_KeyDown(int& keyCode, int shift);

    QLineEdit* txtnewfirst;
    QLineEdit* txtnewlast;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    // Neither button is the dialog's default or cancel button: Enter and Escape do
    // nothing here except Enter in the last-name box.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addGuest();
};
