#include "shell/frmCalander.h"

#include "controls/Dialogs.h"
#include "shell/DatePicker.h"
#include "shell/Help.h"
#include "shell/Windows.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QPointer<frmCalander>& loaded()
{
    static QPointer<frmCalander> picker;
    return picker;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
}  // namespace

frmCalander* frmCalander::instance()
{
    if (!loaded())
        loaded() = new frmCalander;
    return loaded();
}

void frmCalander::unload()
{
    delete loaded().data();
}

bool frmCalander::isLoaded()
{
    return !loaded().isNull();
}

frmCalander::frmCalander(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCalander"));
    setWindowTitle(QStringLiteral("Calendar"));

    shell::setHelpContext(this, shell::HelpOfOwner);
    txtTyped = new QLineEdit;
    txtTyped->setObjectName(QStringLiteral("txtTyped"));
    txtTyped->setPlaceholderText(QStringLiteral("Type a date, or pick a day below"));
    Calendar1 = new QCalendarWidget;
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGridVisible(true);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Typed keys go to txtTyped, where they are read as a whole date.
    Calendar1->setDateEditEnabled(false);
    cmdOK = new QPushButton(QStringLiteral("&OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtTyped);
    layout->addWidget(Calendar1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmCalander::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCalander::cmdCancel_Click);
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, &frmCalander::Calendar1_AfterUpdate);
    connect(Calendar1, &QCalendarWidget::activated, this, &frmCalander::Calendar1_DblClick);
    connect(txtTyped, &QLineEdit::textEdited, this, &frmCalander::txtTyped_Change);
    // Enter and Esc reach the calendar's day grid, not the calendar itself.
    if (auto* grid = Calendar1->findChild<QTableView*>()) {
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
    }
    Calendar1->installEventFilter(this);
    txtTyped->installEventFilter(this);

    Form_Load();
}

void frmCalander::Form_Load()
{
    adjustSize();
    shell::centreOnScreen(this);
}

void frmCalander::setValue(const QDate& date)
{
    txtTyped->clear();
    const QSignalBlocker quiet(Calendar1);
    Calendar1->setSelectedDate(date.isValid() ? date : QDate::currentDate());
}

QDate frmCalander::value() const
{
    return Calendar1->selectedDate();
}

void frmCalander::setTypedText(const QString& text)
{
    txtTyped->setText(text);
    txtTyped_Change();
}

// A day chosen in the calendar is the answer at once; a day the user clicks or moves to
// replaces anything typed.
void frmCalander::Calendar1_AfterUpdate()
{
    if (showingTyped_)
        return;
    if (calendarTouched_)
        txtTyped->clear();
    shell::setNewDateText(shell::dateText(value()));
}

// The calendar follows the typed text while it reads as a date. The answer is only taken
// from it by OK or Enter, so a half-typed date is never handed back.
void frmCalander::txtTyped_Change()
{
    const QDate typed = shell::parseDateText(txtTyped->text());
    if (!typed.isValid())
        return;
    showingTyped_ = true;
    Calendar1->setSelectedDate(typed);
    showingTyped_ = false;
}

void frmCalander::Calendar1_DblClick()
{
    shell::setNewDateText(shell::dateText(value()));
    hide();  // stays loaded, where it is, for the next caller
}

bool frmCalander::Calendar1_KeyPress(int key)
{
    if (isEnter(key)) {
        cmdOK_Click();
        return true;
    }
    if (key == Qt::Key_Escape) {
        cmdCancel_Click();
        return true;
    }
    return false;
}

// Printable keys typed on the calendar start (or continue) the typed date.
bool frmCalander::typeIntoDateBox(const QString& text)
{
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    txtTyped->setFocus();
    txtTyped->insert(text);
    txtTyped_Change();
    return true;
}

void frmCalander::cmdOK_Click()
{
    const QString typed = txtTyped->text().trimmed();
    QDate answer = value();
    if (!typed.isEmpty()) {
        answer = shell::parseDateText(typed);
        if (!answer.isValid()) {
            const QString field = fieldName_.isEmpty() ? QStringLiteral("date") : fieldName_;
            controls::MsgBox(QStringLiteral("\"%1\" is not a date.").arg(typed),
                             controls::mb::OKOnly | controls::mb::Exclamation, windowTitle(), this,
                             QStringLiteral("Type the %1 as a date, such as %2, or pick a day in the "
                                            "calendar. Cancel keeps the date it had.")
                                 .arg(field, shell::dateText(QDate(2027, 8, 15))));
            txtTyped->setFocus();
            txtTyped->selectAll();
            return;
        }
        setValue(answer);
    }
    shell::setNewDateText(shell::dateText(answer));
    unloadRequested_ = true;
    accept();
}

void frmCalander::cmdCancel_Click()
{
    shell::setNewDateText(shell::oldDateText());
    unloadRequested_ = true;
    reject();
}

void frmCalander::showEvent(QShowEvent* event)
{
    unloadRequested_ = false;
    calendarTouched_ = false;
    QDialog::showEvent(event);
    if (txtTyped->text().isEmpty()) {
        Calendar1->setFocus();
    } else {
        txtTyped->setFocus();
        txtTyped->deselect();
        txtTyped->end(false);
    }
}

void frmCalander::closeEvent(QCloseEvent* event)
{
    // The close box ends the show without touching the answer.
    unloadRequested_ = true;
    QDialog::closeEvent(event);
}

void frmCalander::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmCalander::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtTyped && event->type() == QEvent::FocusIn && !txtTyped->text().isEmpty() &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::OtherFocusReason) {
        // Focus that arrives with the window (or by Tab) would select what was typed, and the
        // next key would replace it: typing goes on after it instead.
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(txtTyped, &plain);
        txtTyped->deselect();
        txtTyped->end(false);
        return true;
    }
    if (watched != txtTyped &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        calendarTouched_ = true;
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (Calendar1_KeyPress(key->key()))
        return true;
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (watched != txtTyped && plain && typeIntoDateBox(key->text()))
        return true;
    return QDialog::eventFilter(watched, event);
}
