// The date picker: a month calendar with OK and Cancel. It answers through the exchange
// fields (app/DatePicker.h), which is how every caller uses it.
#pragma once

#include <QDialog>

class QCalendarWidget;
class QPushButton;

class frmCalander : public QDialog {
    Q_OBJECT
public:
    // The program-wide picker, loaded (created and centred) on first use.
    static frmCalander* instance();
    // Destroys the picker if it is loaded; the next instance() loads it again.
    static void unload();
    static bool isLoaded();

    // Sets the calendar's date without counting it as the user's choice.
    void setValue(const QDate& date);
    QDate value() const;
    // True once OK, Cancel or the close box ended the show (the window is then unloaded
    // by the caller); false after a double click, which only hides it.
    bool unloadRequested() const { return unloadRequested_; }

    void cmdOK_Click();
    void cmdCancel_Click();
    void Calendar1_DblClick();

    QCalendarWidget* Calendar1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmCalander(QWidget* parent = nullptr);
    void Form_Load();
    void Calendar1_AfterUpdate();
    bool Calendar1_KeyPress(int key);

    bool unloadRequested_ = false;
};
