#include "exchange/GuestImport.h"

#include "exchange/Export.h"
#include "exchange/NameRules.h"
#include "shell/LabelLines.h"

#include <algorithm>

namespace exchange {

namespace {

QString textOf(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

}  // namespace

GuestList loadGuestList(store::Database& database)
{
    GuestList list;
    for (const store::FieldInfo& f : database.tableFields(QStringLiteral("Guests")))
        list.fieldSizes.insert(f.name, f.type == store::FieldType::Text ? f.size : 0);
    std::unique_ptr<store::Recordset> set = database.openRecordset(QStringLiteral("Guests"));
    list.parties.reserve(size_t(set->recordCount()));
    for (; !set->eof(); set->moveNext()) {
        ExistingParty p;
        p.bookmark = set->bookmark();
        p.prefix = textOf(set->value(QStringLiteral("Prefix")));
        p.firstName = textOf(set->value(QStringLiteral("FirstName")));
        p.lastName = textOf(set->value(QStringLiteral("LastName")));
        p.address = textOf(set->value(QStringLiteral("Address")));
        list.parties.push_back(std::move(p));
    }
    return list;
}

QString shownText(const QString& text, qsizetype maxChars)
{
    QString shown = text.size() > maxChars ? shortenText(text, maxChars) + QChar(0x2026) : text;
    for (QChar& c : shown)
        if (isBinaryCode(c.unicode()))
            c = QChar::ReplacementCharacter;
    return shown;
}

QString Problem::text() const
{
    switch (kind) {
        case ProblemKind::NoLastName:
            return QStringLiteral("No last name");
        case ProblemKind::TooLong:
            return QStringLiteral("%1 is longer than its %2 characters (%3): \"%4\"")
                .arg(caption)
                .arg(size)
                .arg(value.size())
                .arg(shownText(value));
        case ProblemKind::Unreadable:
            return QStringLiteral("%1 cannot be read: \"%2\"").arg(caption, shownText(value));
        case ProblemKind::NotText:
            return QStringLiteral("%1 holds a character that is not text, such as a zero byte: \"%2\"")
                .arg(caption, shownText(value));
        case ProblemKind::BadRow:
            return value;
    }
    return {};
}

QString RowReading::name() const
{
    // The envelope line is the name as the file wrote it ("The Haddad Family").
    const QString line = textOf(values.value(QStringLiteral("wedlbl"))).simplified();
    if (!line.isEmpty())
        return line;
    return QStringList{textOf(values.value("Prefix")), textOf(values.value("FirstName")),
                       textOf(values.value("LastName"))}
        .join(QLatin1Char(' '))
        .simplified();
}

QMap<QString, QVariant> ReviewRow::values() const
{
    if (!source || tableRow < 0 || tableRow >= source->table.rows.size())
        return {};
    return readRow(source->table.rows[tableRow], source->settings.mapping, source->settings,
                   source->fieldSizes)
        .values;
}

bool ReviewRow::fixable() const
{
    for (const Problem& p : problems)
        if (p.kind == ProblemKind::NoLastName || p.kind == ProblemKind::BadRow)
            return false;
    return true;
}

QString ReviewRow::name() const
{
    return shownText(RowReading{values(), {}}.name());
}

namespace {

const QString Prefix = QStringLiteral("Prefix");
const QString FirstName = QStringLiteral("FirstName");
const QString LastName = QStringLiteral("LastName");
const QString Invited = QStringLiteral("Invited");
const QString Attending = QStringLiteral("NumberAttending");
const QString Confirmed = QStringLiteral("Confirmed");
const QString WeddingLine = QStringLiteral("wedlbl");
const QString ShowerLine = QStringLiteral("showlbl");

void unreadable(RowReading& row, const GuestFieldInfo& info, const QString& cell)
{
    row.problems.push_back({ProblemKind::Unreadable, info.key, info.caption, cell, 0});
}

// Reads one mapped cell into the row. Whole names and answers are applied afterwards,
// so that columns of their own win over what they imply.
void readCell(RowReading& row, const GuestFieldInfo& info, const QString& cell,
              const ImportSettings& settings)
{
    switch (info.kind) {
        case FieldKind::Text:
            if (!cell.isEmpty())
                row.values.insert(info.column, cell);
            break;
        case FieldKind::Count: {
            const CountCell count = readCount(cell);
            if (!count.ok)
                unreadable(row, info, cell);
            else if (count.value)
                row.values.insert(info.column, qint64(*count.value));
            break;
        }
        case FieldKind::YesNo: {
            const std::optional<bool> yes = readYesNo(cell);
            if (!yes)
                unreadable(row, info, cell);
            else
                row.values.insert(info.column, *yes);
            break;
        }
        case FieldKind::Side: {
            const std::optional<QString> side = readSide(cell, settings.brideName, settings.groomName);
            if (!side)
                unreadable(row, info, cell);
            else if (!side->isEmpty())
                row.values.insert(info.column, *side);
            break;
        }
        case FieldKind::Name:
        case FieldKind::Answer:
            break;
    }
}

void insertIfMissing(RowReading& row, const QString& column, const QVariant& value)
{
    if (!row.values.contains(column) && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        row.values.insert(column, value);
}

}  // namespace

RowReading readRow(const QStringList& cells, const std::vector<GuestField>& mapping,
                   const ImportSettings& settings, const QHash<QString, int>& fieldSizes)
{
    RowReading row;
    QString wholeName, answer;
    bool hasAnswer = false;
    for (size_t i = 0; i < mapping.size() && i < size_t(cells.size()); ++i) {
        const GuestFieldInfo& info = fieldInfo(mapping[i]);
        if (mapping[i] == GuestField::NotImported)
            continue;
        // A text an export guarded against spreadsheet formulas comes back as it was.
        const QString cell = unguardedText(cells[qsizetype(i)]);
        // A zero byte or another control code is never stored, not even as part of a name.
        if (holdsBinaryCode(cell))
            row.problems.push_back({ProblemKind::NotText, info.key, info.caption, cell, 0});
        else if (info.kind == FieldKind::Name)
            wholeName = cell;
        else if (info.kind == FieldKind::Answer) {
            answer = cell;
            hasAnswer = true;
        } else
            readCell(row, info, cell, settings);
    }
    std::optional<int> people;
    if (!wholeName.isEmpty()) {
        const SplitName split = splitWholeName(wholeName);
        insertIfMissing(row, Prefix, split.prefix);
        insertIfMissing(row, FirstName, split.firstName);
        insertIfMissing(row, LastName, split.lastName);
        insertIfMissing(row, WeddingLine, wholeName);
        people = split.people;
    } else if (row.values.contains(LastName) || row.values.contains(FirstName)) {
        people = peopleFromName(textOf(row.values.value(Prefix)), textOf(row.values.value(FirstName)));
    }
    const bool countUnreadable = std::any_of(row.problems.begin(), row.problems.end(),
                                             [](const Problem& p) { return p.column == Invited; });
    if (people && !countUnreadable)
        insertIfMissing(row, Invited, qint64(*people));
    if (hasAnswer) {
        const AnswerCell a = readAnswer(answer);
        if (!a.ok)
            unreadable(row, fieldInfo(GuestField::Rsvp), answer);
        else if (a.coming) {
            insertIfMissing(row, Confirmed, true);
            insertIfMissing(row, Attending,
                            *a.coming ? row.values.value(Invited, qint64(1)) : QVariant(qint64(0)));
        }
    }
    // The invitations and side chosen for the whole file, where no column of it says.
    const auto mapped = [&mapping](GuestField f) {
        return std::find(mapping.begin(), mapping.end(), f) != mapping.end();
    };
    for (GuestField event : settings.inviteTo)
        if (!mapped(event))
            row.values.insert(fieldInfo(event).column, true);
    if (!settings.side.isEmpty() && !mapped(GuestField::Side))
        row.values.insert(fieldInfo(GuestField::Side).column, settings.side);
    // The envelope lines, as the guest window proposes them, unless the file gave them.
    insertIfMissing(
        row, WeddingLine,
        shell::partyName(row.values.value(Prefix), row.values.value(FirstName), row.values.value(LastName)));
    insertIfMissing(row, ShowerLine, shell::showerLine(row.values.value(Prefix), row.values.value(LastName)));
    if (textOf(row.values.value(LastName)).trimmed().isEmpty())
        row.problems.push_back(
            {ProblemKind::NoLastName, LastName, fieldInfo(GuestField::LastName).caption, {}, 0});
    for (auto it = row.values.cbegin(); it != row.values.cend(); ++it) {
        const int size = fieldSizes.value(it.key(), 0);
        if (size > 0 && it.value().typeId() == QMetaType::QString && it.value().toString().size() > size) {
            QString caption = it.key();
            for (const GuestFieldInfo& info : guestFields())
                if (info.column == it.key())
                    caption = info.caption;
            row.problems.push_back({ProblemKind::TooLong, it.key(), caption, it.value().toString(), size});
        }
    }
    return row;
}

namespace {

QString sameNameKey(const QString& first, const QString& last)
{
    const QString f = nameKey(first), l = nameKey(last);
    return f.isEmpty() && l.isEmpty() ? QString() : f + QLatin1Char('|') + l;
}

QString sameAddressKey(const QString& last, const QString& address)
{
    const QString l = nameKey(last), a = addressKey(address);
    return l.isEmpty() || a.isEmpty() ? QString() : l + QLatin1Char('|') + a;
}

// Where each key was first seen: a party in the list (its index there) or an earlier row.
struct Seen {
    bool existing;
    qsizetype index;
};

class DuplicateFinder {
public:
    DuplicateFinder(const GuestList& list, const std::vector<ReviewRow>& rows) : list_(list), rows_(rows)
    {
        byName_.reserve(qsizetype(list.parties.size()));
        byAddress_.reserve(qsizetype(list.parties.size()));
        for (size_t i = 0; i < list.parties.size(); ++i) {
            const ExistingParty& p = list.parties[i];
            remember(sameNameKey(p.firstName, p.lastName), sameAddressKey(p.lastName, p.address),
                     {true, qsizetype(i)});
        }
    }

    // Checks the row that will be rows[index] and remembers its keys.
    std::optional<Duplicate> check(const RowReading& row, qsizetype index)
    {
        const QString nameKey =
            sameNameKey(textOf(row.values.value(FirstName)), textOf(row.values.value(LastName)));
        const QString addressKey =
            sameAddressKey(textOf(row.values.value(LastName)), textOf(row.values.value("Address")));
        std::optional<Duplicate> found;
        if (auto it = byName_.constFind(nameKey); !nameKey.isEmpty() && it != byName_.cend())
            found = duplicate(*it, QStringLiteral("same name"));
        else if (auto at = byAddress_.constFind(addressKey); !addressKey.isEmpty() && at != byAddress_.cend())
            found = duplicate(*at, QStringLiteral("same last name and address"));
        remember(nameKey, addressKey, {false, index});
        return found;
    }

private:
    Duplicate duplicate(const Seen& seen, const QString& reason) const
    {
        Duplicate d;
        d.ofExisting = seen.existing;
        if (seen.existing) {
            const ExistingParty& p = list_.parties[size_t(seen.index)];
            d.existing = p.bookmark;
            d.matchedName =
                QStringList{p.prefix, p.firstName, p.lastName}.join(QLatin1Char(' ')).simplified();
        } else {
            d.earlierRow = int(seen.index);
            d.matchedName = rows_[size_t(seen.index)].name();
        }
        d.reason = reason;
        return d;
    }
    void remember(const QString& nameKey, const QString& addressKey, const Seen& seen)
    {
        if (!nameKey.isEmpty() && !byName_.contains(nameKey))
            byName_.insert(nameKey, seen);
        if (!addressKey.isEmpty() && !byAddress_.contains(addressKey))
            byAddress_.insert(addressKey, seen);
    }
    const GuestList& list_;
    const std::vector<ReviewRow>& rows_;
    QHash<QString, Seen> byName_, byAddress_;
};

}  // namespace

ImportReview reviewImport(const CsvTable& table, const ImportSettings& settings, const GuestList& list)
{
    try {
        ImportReview review;
        if (table.headerRow)
            review.headers = table.headers;
        review.mapping = settings.mapping;
        for (size_t i = 0; i < settings.mapping.size() && i < size_t(table.headers.size()); ++i)
            if (settings.mapping[i] == GuestField::NotImported)
                review.notImported << table.headers[qsizetype(i)];
        const auto source =
            std::make_shared<const ReviewSource>(ReviewSource{table, settings, list.fieldSizes});
        DuplicateFinder finder(list, review.rows);
        review.rows.reserve(size_t(table.rows.size()));
        for (qsizetype i = 0; i < table.rows.size(); ++i) {
            RowReading reading = readRow(table.rows[i], settings.mapping, settings, list.fieldSizes);
            if (const auto fault = table.rowFaults.constFind(i); fault != table.rowFaults.cend())
                reading.problems.insert(reading.problems.begin(),
                                        {ProblemKind::BadRow, QString(), QString(), *fault, 0});
            ReviewRow row;
            row.rowNumber = table.rowNumbers.value(i, int(i) + 1);
            row.problems = std::move(reading.problems);
            row.source = source;
            row.tableRow = i;
            // A broken row stands for nothing reliable, so nothing is matched against it.
            if (!table.rowFaults.contains(i))
                row.duplicate = finder.check(reading, qsizetype(review.rows.size()));
            review.rows.push_back(std::move(row));
        }
        return review;
    } catch (const std::bad_alloc&) {
        throw ExchangeError(QStringLiteral("There is not enough memory to review this guest list."));
    }
}

int ImportReview::newCount() const
{
    return int(std::count_if(rows.begin(), rows.end(),
                             [](const ReviewRow& r) { return r.problems.empty() && !r.duplicate; }));
}
int ImportReview::duplicateCount() const
{
    return int(std::count_if(rows.begin(), rows.end(),
                             [](const ReviewRow& r) { return r.problems.empty() && r.duplicate; }));
}
int ImportReview::problemCount() const
{
    return int(
        std::count_if(rows.begin(), rows.end(), [](const ReviewRow& r) { return !r.problems.empty(); }));
}

}  // namespace exchange
