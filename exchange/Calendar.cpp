#include "exchange/Calendar.h"

#include "controls/CellFormat.h"
#include "exchange/ExchangeError.h"
#include "shell/Modules.h"
#include "store/OutputFile.h"
#include "store/ReadQuery.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>

namespace exchange {

std::optional<QTime> eventTime(const QString& text)
{
    // An hour, minutes after a colon or a point, and a.m. or p.m. in any of their spellings;
    // a bare hour needs the a.m. or p.m. ("3 PM"), since "3" alone says too little.
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,2})(?:\\s*[:.]\\s*(\\d{2}))?\\s*(?:([ap])\\.?\\s*m?\\.?)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const QString half = m.captured(3).toLower();
    if (minute > 59)
        return std::nullopt;
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("p") ? 12 : 0);
    } else if (m.captured(2).isEmpty() || hour > 23) {
        return std::nullopt;
    }
    return QTime(hour, minute);
}

bool calendarDate(const QDate& date)
{
    return date.isValid() && date.year() >= 1 && date.year() <= 9999;
}

namespace {

QString textOf(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString().trimmed();
}

// A key that stays the same for one wedding across exports: from the couple's names.
QString weddingKey(const QString& bride, const QString& groom)
{
    const QByteArray names = (bride.toLower() + QLatin1Char('|') + groom.toLower()).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(names, QCryptographicHash::Sha1).toHex().left(12));
}

struct EventFields {
    const char* key;
    const char* summary;
    const char* date;
    const char* time;
    const char* location;
    const char* contact;
    const char* phone;
    int minutes;
};

// Every payment of the budget not yet paid, on its due date, naming the item, the vendor and
// the amount. A file not yet given the budget's tables has none.
void addUnpaidPayments(store::Database& database, const QString& key, std::vector<CalendarEvent>& events)
{
    if (!database.tableNames().contains(QStringLiteral("PlanPayments")))
        return;
    store::ReadQuery rows(
        database,
        QStringLiteral("SELECT p.PaymentId, p.Kind, CAST(julianday(p.DueDate) + 0.5 AS INTEGER), "
                       "p.Amount, e.Description, v.VendorName FROM PlanPayments p JOIN Expenses e ON "
                       "e.rowid = p.ExpenseKey LEFT JOIN PlanItems i ON i.ExpenseKey = p.ExpenseKey "
                       "LEFT JOIN Vendors v ON v.rowid = i.VendorKey WHERE NOT p.IsPaid"));
    using store::FieldType;
    while (rows.next()) {
        const QVariant day = rows.value(2, FieldType::Number);
        if (!day.isValid())
            continue;  // not yet given a due date
        CalendarEvent e;
        e.uid = QStringLiteral("payment-%1-%2@orvane")
                    .arg(rows.value(0, FieldType::Number).toLongLong())
                    .arg(key);
        const QString item = textOf(rows.value(4, FieldType::Text));
        const QString vendor = textOf(rows.value(5, FieldType::Text));
        const QString amount =
            controls::formatCell(rows.value(3, FieldType::Currency), controls::CellFormat::Currency);
        const QString kind = textOf(rows.value(1, FieldType::Text));
        e.summary = vendor.isEmpty() ? QStringLiteral("Pay %1 for %2").arg(amount, item)
                                     : QStringLiteral("Pay %1 to %2 for %3").arg(amount, vendor, item);
        e.description =
            QStringLiteral("%1 of %2 for \"%3\"%4, not yet paid.")
                .arg(kind, amount, item, vendor.isEmpty() ? QString() : QStringLiteral(" to ") + vendor);
        e.date = QDate::fromJulianDay(day.toLongLong());
        if (calendarDate(e.date))
            events.push_back(std::move(e));
    }
}

}  // namespace

std::vector<CalendarEvent> calendarEvents(store::Database& database, QStringList* problems)
{
    const auto leftOut = [problems](const QString& text) {
        if (problems)
            *problems << text;
    };
    std::vector<CalendarEvent> events;
    std::unique_ptr<store::Recordset> general = database.openRecordset(QStringLiteral("General"));
    QString key = weddingKey({}, {});
    if (!general->eof()) {
        const QString bride = textOf(general->value(QStringLiteral("bridesname")));
        const QString groom = textOf(general->value(QStringLiteral("groomsname")));
        key = weddingKey(bride, groom);
        const EventFields kinds[] = {
            {"shower", "Shower", "showdate", "showtime", "showloc", "showcont", "showphone", 180},
            {"ceremony", "Wedding ceremony", "weddingdate", "weddingtime", "weddingloc", "weddingcont",
             "weddingphone", 60},
            {"reception", "Wedding reception", "recdate", "rectime", "receptloc", "reccont", "recphone", 300},
        };
        const auto named = [](const EventFields& k) {
            return QStringLiteral("The %1").arg(QLatin1String(k.key));
        };
        const QString couple =
            bride.isEmpty() || groom.isEmpty() ? QString() : bride + QStringLiteral(" & ") + groom;
        for (const EventFields& k : kinds) {
            const QVariant date = general->value(QLatin1String(k.date));
            if (date.isNull())
                continue;
            if (!calendarDate(date.toDateTime().date())) {
                leftOut(QStringLiteral("%1 was left out: its date \"%2\" cannot be read.")
                            .arg(named(k), date.toString()));
                continue;
            }
            const QString timeText = textOf(general->value(QLatin1String(k.time)));
            const std::optional<QTime> time = eventTime(timeText);
            if (!timeText.isEmpty() && !time) {
                leftOut(QStringLiteral("%1 was left out: its time \"%2\" cannot be read (write it as 3:30 PM "
                                       "or 15:30).")
                            .arg(named(k), timeText));
                continue;
            }
            CalendarEvent e;
            e.uid = QStringLiteral("%1-%2@orvane").arg(QLatin1String(k.key), key);
            e.summary = couple.isEmpty() ? QLatin1String(k.summary)
                                         : QStringLiteral("%1: %2").arg(QLatin1String(k.summary), couple);
            e.date = date.toDateTime().date();
            e.time = time;
            e.minutes = k.minutes;
            e.location = textOf(general->value(QLatin1String(k.location)));
            const QString name = textOf(general->value(QLatin1String(k.contact)));
            const QString phone = textOf(general->value(QLatin1String(k.phone)));
            e.contact = QStringList{name, phone}.filter(QRegularExpression(QStringLiteral("\\S"))).join(", ");
            if (!e.contact.isEmpty())
                e.description = QStringLiteral("Contact: %1").arg(e.contact);
            events.push_back(std::move(e));
        }
    }
    std::unique_ptr<store::Recordset> tasks = database.openRecordset(QStringLiteral("Checklist"));
    std::vector<CalendarEvent> open;
    for (; !tasks->eof(); tasks->moveNext()) {
        const QVariant due = tasks->value(QStringLiteral("DueDate"));
        if (due.isNull() || tasks->value(QStringLiteral("Done")).toBool())
            continue;
        CalendarEvent e;
        e.uid = QStringLiteral("task-%1-%2@orvane").arg(tasks->bookmark()).arg(key);
        e.summary = textOf(tasks->value(QStringLiteral("CheckItem")));
        if (!calendarDate(due.toDateTime().date())) {
            leftOut(QStringLiteral("The task \"%1\" was left out: its due date \"%2\" cannot be read.")
                        .arg(e.summary, due.toString()));
            continue;
        }
        e.description = QStringLiteral("A task of the wedding checklist.");
        e.date = due.toDateTime().date();
        open.push_back(std::move(e));
    }
    addUnpaidPayments(database, key, open);
    std::stable_sort(open.begin(), open.end(), [](auto& a, auto& b) { return a.date < b.date; });
    events.insert(events.end(), open.begin(), open.end());
    return events;
}

QByteArray calendarText(const std::vector<CalendarEvent>& events, const QDateTime& stamp)
{
    QString why;
    const auto write = shell::moduleFunction<CalendarTextFunction>(QString::fromLatin1(CalendarModuleName),
                                                                   CalendarTextName, &why);
    if (!write)
        throw ExchangeError(QStringLiteral("The calendar cannot be written: %1").arg(why));
    // Grows by one each minute, so a calendar takes a newer export as the newer version.
    const int sequence =
        int(std::max<qint64>(0, (stamp.toSecsSinceEpoch() -
                                 QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch()) /
                                    60));
    QByteArray out;
    write(&events, stamp.toSecsSinceEpoch(), sequence, &out);
    return out;
}

int writeCalendar(store::Database& database, const QString& path, QStringList* problems)
{
    const std::vector<CalendarEvent> events = calendarEvents(database, problems);
    const QByteArray text = calendarText(events, QDateTime::currentDateTimeUtc());
    sayingStoreFailures([&] { store::output::writeFile(path, text, database.path()); });
    return int(events.size());
}

}  // namespace exchange
