#include "shell/frmCalander.h"

#include "shell/DatePicker.h"
#include "shell/Help.h"
#include "shell/Windows.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
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
    Calendar1 = new QCalendarWidget;
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGridVisible(true);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
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
    layout->addWidget(Calendar1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmCalander::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCalander::cmdCancel_Click);
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, &frmCalander::Calendar1_AfterUpdate);
    connect(Calendar1, &QCalendarWidget::activated, this, &frmCalander::Calendar1_DblClick);
    // Enter and Esc reach the calendar's day grid, not the calendar itself.
    if (auto* grid = Calendar1->findChild<QTableView*>())
        grid->installEventFilter(this);
    Calendar1->installEventFilter(this);

    Form_Load();
}

void frmCalander::Form_Load()
{
    adjustSize();
    shell::centreOnScreen(this);
}

void frmCalander::setValue(const QDate& date)
{
    const QSignalBlocker quiet(Calendar1);
    Calendar1->setSelectedDate(date.isValid() ? date : QDate::currentDate());
}

QDate frmCalander::value() const
{
    return Calendar1->selectedDate();
}

void frmCalander::Calendar1_AfterUpdate()
{
    shell::setNewDateText(shell::dateText(value()));
}

void frmCalander::Calendar1_DblClick()
{
    shell::setNewDateText(shell::dateText(value()));
    hide();  // stays loaded, where it is, for the next caller
}

bool frmCalander::Calendar1_KeyPress(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        cmdOK_Click();
        return true;
    }
    if (key == Qt::Key_Escape) {
        cmdCancel_Click();
        return true;
    }
    return false;
}

void frmCalander::cmdOK_Click()
{
    shell::setNewDateText(shell::dateText(value()));
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
    QDialog::showEvent(event);
    Calendar1->setFocus();
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
    if (event->type() == QEvent::KeyPress && Calendar1_KeyPress(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}
