#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "guests/frmNewGuest.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Handle.h"
#include "tests/support/WidgetTestUtils.h"

#include <QKeyEvent>
#include <QTabWidget>

#include <sqlite3.h>

void typeKeys(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

void GuestWindowTest::SetUp()
{
    shell::Program& program = shell::program();
    program.DatabasePath = dir_.databasePath();
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(program.DatabasePath);
    program.TipList.clear();
    shell::LoadTips(db);
    program.BrideName = QStringLiteral("Anna");
    program.GroomName = QStringLiteral("Ben");
    program.HelpFilePath = dir_.file(QStringLiteral("Orvane.HLP"));
    invited_ = db.openRecordset(QStringLiteral("Invited Query"), store::RecordsetType::Snapshot);
    program.InvitedSnapshot = invited_.get();
    controls::setModalHook([this](QWidget* window) {
        if (window->objectName() == QLatin1String("frmTip"))
            tipsShown_.push_back(shell::program().TipNumber);
        if (auto* dialog = qobject_cast<frmNewGuest*>(window); dialog && newGuestDialog_)
            return newGuestDialog_(*dialog);
        return 0;
    });
}

void GuestWindowTest::TearDown()
{
    window_.reset();
    controls::setModalHook({});
    shell::program().InvitedSnapshot = nullptr;
    invited_.reset();
    store::Workspace::defaultWorkspace().close();
}

void GuestWindowTest::openWindow()
{
    window_ = std::make_unique<frmGuests>();
    window_->Form_Load();
    ASSERT_TRUE(testsupport::showActive(window_.get()));
    testsupport::pumpEvents();
}

store::Bookmark GuestWindowTest::insertGuest(const QVariantMap& fields)
{
    auto guests = shell::database().openRecordset(QStringLiteral("Guests"), store::RecordsetType::Dynaset);
    guests->addNew();
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        guests->setValue(it.key(), it.value());
    guests->update();
    const store::Bookmark mark = guests->lastModified();
    if (invited_)
        invited_->requery();
    return mark;
}

store::Bookmark GuestWindowTest::insertGuest(const QString& prefix, const QString& first, const QString& last,
                                             QVariantMap more)
{
    if (!prefix.isNull())
        more.insert(QStringLiteral("Prefix"), prefix);
    more.insert(QStringLiteral("FirstName"), first);
    more.insert(QStringLiteral("LastName"), last);
    return insertGuest(more);
}

QVariant GuestWindowTest::stored(store::Bookmark mark, const QString& field)
{
    auto guests = shell::database().openRecordset(QStringLiteral("Guests"), store::RecordsetType::Snapshot);
    guests->setBookmark(mark);
    return guests->value(field);
}

int GuestWindowTest::guestCount()
{
    return shell::database()
        .openRecordset(QStringLiteral("Guests"), store::RecordsetType::Snapshot)
        ->recordCount();
}

void GuestWindowTest::rawSql(const QString& sql)
{
    char* error = nullptr;
    const int rc =
        sqlite3_exec(store::handleOf(shell::database()), sql.toUtf8().constData(), nullptr, nullptr, &error);
    ASSERT_EQ(rc, SQLITE_OK) << (error ? error : "");
}

void GuestWindowTest::pickGuest(store::Bookmark mark)
{
    controls::DataList* list = w().addDBList1;
    const int row = list->listModel()->rowOfBookmark(mark);
    ASSERT_GE(row, 0);
    if (!list->isVisible()) {  // another tab is showing: pick through the list's handler
        list->setListIndex(row);
        w().addDBList1_Click();
        testsupport::pumpEvents();
        return;
    }
    const QModelIndex entry = list->model()->index(row, 0);
    list->scrollTo(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
    testsupport::pumpEvents();
}

void GuestWindowTest::chooseTab(int tab)
{
    w().SSTab1->setCurrentIndex(tab);
    testsupport::pumpEvents();
}

void GuestWindowTest::focus(QWidget* widget)
{
    testsupport::focus(widget);
}

void GuestWindowTest::typeInto(QWidget* widget, const QString& text)
{
    focus(widget);
    typeKeys(widget, text);
    testsupport::pumpEvents();
}

void GuestWindowTest::key(QWidget* widget, Qt::Key k)
{
    QTest::keyClick(widget, k);
    testsupport::pumpEvents();
}

void GuestWindowTest::clickBox(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    testsupport::pumpEvents();
}
