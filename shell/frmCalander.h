// The date picker: a month calendar with OK and Cancel. It answers through the exchange
// fields (shell/DatePicker.h), which is how every caller uses it.
//
// Keys typed while the picker is open go into its own date box (txtTyped), never into the
// calendar's date editor: once what is typed reads as a date, the calendar shows that
// date, and OK or Enter takes exactly it. A typed text that is not a date is refused with
// a message naming the field, and the picker stays open so that it can be corrected.
#pragma once

#include <QDialog>

class QCalendarWidget;
class QLineEdit;
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
    // The name of the date being picked, for messages ("Due Date").
    void setFieldName(const QString& name) { fieldName_ = name; }
    // Text typed before the picker opened (the key that opened it): it starts the date box.
    void setTypedText(const QString& text);
    // True once OK, Cancel or the close box ended the show (the window is then unloaded
    // by the caller); false after a double click, which only hides it.
    bool unloadRequested() const { return unloadRequested_; }

    void cmdOK_Click();
    void cmdCancel_Click();
    void Calendar1_DblClick();

    QLineEdit* txtTyped;
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
    void txtTyped_Change();
    bool typeIntoDateBox(const QString& text);

    bool unloadRequested_ = false;
    bool showingTyped_ = false;     // the calendar is being set to the typed date
    bool calendarTouched_ = false;  // the user has clicked or pressed a key in the calendar
    QString fieldName_;
};
