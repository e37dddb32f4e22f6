#include "guests/GuestSummary.h"

#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "guests/GuestRules.h"
#include "guests/MemberStore.h"
#include "guests/PeopleLists.h"
#include "guests/frmGuests.h"
#include "shell/ErrorMessage.h"
#include "shell/Program.h"
#include "store/Store.h"

#include <QLabel>
#include <QTableWidget>

#include <limits>

namespace guests {

namespace {

// The counters the summary keeps in 16 bits; a larger figure stops the run.
qint64 checked16(const QVariant& value)
{
    const qint64 number = value.isNull() ? 0 : value.toLongLong();
    if (number < std::numeric_limits<qint16>::min() || number > std::numeric_limits<qint16>::max())
        throw store::StoreError(OverflowError, QStringLiteral("Overflow"));
    return number;
}

qint64 numberOf(const QVariant& value)
{
    return value.isNull() ? 0 : value.toLongLong();
}

// Opens a saved query, hands its record set to read, and closes it before the next.
template <typename Read>
void withQuery(store::Database& database, const QString& name, Read read)
{
    std::unique_ptr<store::Recordset> rs = database.openRecordset(name, store::RecordsetType::Snapshot);
    read(*rs);
    rs->close();
}

// The shower and reception rows: one query row per reply state.
EventFigures readEventRows(store::Database& database, const QString& query, const QString& repliedColumn,
                           const QString& invitedColumn, const QString& attendingColumn)
{
    EventFigures figures;
    withQuery(database, query, [&](store::Recordset& rs) {
        if (rs.recordCount() == 0)
            return;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            const qint64 parties = numberOf(rs.value(QStringLiteral("count of guests")));
            figures.invitations += parties;
            figures.people += numberOf(rs.value(invitedColumn));
            if (rs.value(repliedColumn).toBool()) {
                figures.replies = parties;
                figures.attending = checked16(rs.value(attendingColumn));
            }
        }
    });
    return figures;
}

qint64 readFirstCount(store::Database& database, const QString& query)
{
    qint64 count = 0;
    withQuery(database, query, [&](store::Recordset& rs) {
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            count = numberOf(rs.value(QStringLiteral("count of guests")));
        }
    });
    return count;
}

}  // namespace

void readGuestSummary(store::Database& database, SummaryView& view)
{
    QVariant bride = 0, groom = 0, both = 0;
    withQuery(database, QStringLiteral("sumGuestof"), [&](store::Recordset& rs) {
        if (rs.recordCount() == 0)
            return;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            const QVariant side = rs.value(QStringLiteral("guestof"));
            const QVariant count = rs.value(QStringLiteral("Count"));
            if (side.isNull())
                continue;
            if (side.toString() == QLatin1String("Bride"))
                bride = count;
            else if (side.toString() == QLatin1String("Groom"))
                groom = count;
            else if (side.toString() == QLatin1String("Both"))
                both = checked16(count);
        }
    });

    QVariant engagement = 0, shower = 0, reception = 0;
    withQuery(database, QStringLiteral("sumGifts"), [&](store::Recordset& rs) {
        rs.moveFirst();
        const QVariant eng = rs.value(QStringLiteral("sum of engamt"));
        const QVariant show = rs.value(QStringLiteral("sum of showamt"));
        const QVariant wed = rs.value(QStringLiteral("sum of wedamt"));
        if (!eng.isNull())
            engagement = eng;
        if (!show.isNull())
            shower = show;
        if (!wed.isNull())
            reception = wed;
    });

    view.showEventRow(
        ShowerRow,
        readEventRows(database, QStringLiteral("sumShower"), QStringLiteral("showerreplied"),
                      QStringLiteral("sum of ShowerInvited"), QStringLiteral("sum of ShowerComing")));
    view.showEventRow(
        ReceptionRow,
        readEventRows(database, QStringLiteral("sumReception"), QStringLiteral("Confirmed"),
                      QStringLiteral("sum of ReceptionInvited"), QStringLiteral("sum of ReceptionComing")));
    view.showCountRow(CeremonyRow, readFirstCount(database, QStringLiteral("sumCeremony")));
    view.showCountRow(RehearsalRow, checked16(readFirstCount(database, QStringLiteral("sumRehearsal"))));
    view.showLabels(bride, groom, both, engagement, shower, reception);
}

}  // namespace guests

namespace {

// The Summary tab of the guest window as the place the figures go.
class SummaryTab : public guests::SummaryView {
public:
    explicit SummaryTab(frmGuests& window) : window_(window) {}

    void showEventRow(int row, const guests::EventFigures& f) override
    {
        setCell(row, 1, guests::summaryCellText(f.invitations));
        setCell(row, 2, guests::summaryCellText(f.people));
        setCell(row, 3, guests::summaryCellText(f.replies));
        setCell(row, 4, guests::summaryCellText(f.attending));
    }

    void showCountRow(int row, qint64 invitations) override
    {
        setCell(row, 1, guests::summaryCellText(invitations));
        for (int column = 2; column <= 4; ++column) {
            setCell(row, column, QStringLiteral("-"));
            window_.MSFlexGrid1->item(row, column)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }

    void showLabels(const QVariant& bride, const QVariant& groom, const QVariant& both,
                    const QVariant& engagement, const QVariant& shower, const QVariant& reception) override
    {
        window_.sumBride->setText(guests::summaryLabelText(bride));
        window_.sumGroom->setText(guests::summaryLabelText(groom));
        window_.sumBoth->setText(guests::summaryLabelText(both));
        window_.sumengage->setText(guests::summaryLabelText(engagement));
        window_.sumshower->setText(guests::summaryLabelText(shower));
        window_.sumreception->setText(guests::summaryLabelText(reception));
    }

private:
    void setCell(int row, int column, const QString& text)
    {
        QTableWidgetItem* item = window_.MSFlexGrid1->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            window_.MSFlexGrid1->setItem(row, column, item);
        }
        item->setText(text);
    }

    frmGuests& window_;
};

}  // namespace

void GuestSummary()
{
    frmGuests* window = frmGuests::instance();
    if (!window)
        return;
    try {
        // The queries read the stored rows: the current guest's pending edits are
        // written first, and the guest stays current.
        controls::DataSource& data1 = *window->Data1;
        if (!data1.hasCurrent())
            throw store::StoreError(store::err::NoCurrentRecord, QStringLiteral("No current record."));
        data1.updateRecord();
        SummaryTab tab(*window);
        guests::readGuestSummary(shell::database(), tab);
        // Reading the whole wedding's people is skipped where there are none.
        store::Database& db = shell::database();
        const guests::PeopleFigures people =
            guests::hasMembers(db) ? guests::peopleFiguresOf(guests::loadPeople(db)) : guests::PeopleFigures{};
        window->sumPeople->setText(guests::peopleLines(people).join(QLatin1Char('\n')));
    } catch (const store::StoreError& e) {
        shell::showError(e, window);
    }
}
