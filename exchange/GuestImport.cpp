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

GuestList loadGuestList(store::Database& database, const shell::PeopleImport* people)
{
    GuestList list;
    if (people)
        list.people = people->knownPeople(database);
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

namespace {
struct GroupReading {
    QMap<QString, QVariant> values;
    std::vector<Problem> problems;
    std::vector<shell::ImportedPerson> people;
};
GroupReading readGroup(const ReviewSource& source, const std::vector<qsizetype>& rows);
}  // namespace

QMap<QString, QVariant> ReviewRow::values() const
{
    if (!source || tableRow < 0 || tableRow >= source->table.rows.size())
        return {};
    if (!personRows.empty())
        return readGroup(*source, personRows).values;
    return readRow(source->table.rows[tableRow], source->settings.mapping, source->settings,
                   source->fieldSizes)
        .values;
}

std::vector<shell::ImportedPerson> ReviewRow::people() const
{
    if (!source || personRows.empty())
        return {};
    return readGroup(*source, personRows).people;
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

QString personCaption(const QString& field)
{
    if (field == QLatin1String("FirstName"))
        return QStringLiteral("First name");
    if (field == QLatin1String("LastName"))
        return QStringLiteral("Last name");
    const std::optional<GuestField> f = fieldByKey(field);
    return f ? fieldInfo(*f).caption : field;
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
        case FieldKind::Group:   // read when the rows are grouped into parties
        case FieldKind::Person:  // read into the party's members
            break;
    }
}

bool isEvent(GuestField f)
{
    return f == GuestField::Ceremony || f == GuestField::Reception || f == GuestField::Shower ||
           f == GuestField::Rehearsal;
}

// The event as the members' replies name it.
QString eventTitle(GuestField f)
{
    switch (f) {
        case GuestField::Ceremony:
            return QStringLiteral("Ceremony");
        case GuestField::Shower:
            return QStringLiteral("Shower");
        case GuestField::Rehearsal:
            return QStringLiteral("Rehearsal");
        default:
            return QStringLiteral("Reception");
    }
}

// A person's own cell in a list of people; an age group column wins over a child column.
void readPersonCell(RowReading& row, const GuestFieldInfo& info, const QString& cell)
{
    shell::ImportedPerson& p = row.person;
    switch (info.field) {
        case GuestField::AgeGroup:
            p.ageGroup = cell.isEmpty() ? p.ageGroup : cell;
            break;
        case GuestField::Child: {
            const std::optional<bool> child = readYesNo(cell);
            if (!child)
                unreadable(row, info, cell);
            else if (*child && p.ageGroup.isEmpty())
                p.ageGroup = QStringLiteral("Child");
            break;
        }
        case GuestField::PlusOne:
            row.plusOne = cell;
            break;
        case GuestField::Meal:
            p.meal = cell;
            break;
        case GuestField::Needs:
            if (!cell.isEmpty())
                p.needs = p.needs.isEmpty() ? cell : p.needs + QStringLiteral(", ") + cell;
            break;
        case GuestField::Email:
            p.email = cell;
            break;
        case GuestField::Mobile:
            p.mobile = cell;
            break;
        default:
            break;
    }
}

// The person's problems: values the members' rules cannot read, texts longer than they keep.
void checkPerson(RowReading& row, const shell::PeopleImport& people)
{
    for (const QString& caption : people.unreadable(row.person)) {
        const QString event = caption.section(QLatin1Char(' '), 0, 0);
        const QString value = row.person.replies.contains(event) && caption.endsWith(QLatin1String(" reply"))
                                  ? row.person.replies.value(event)
                                  : row.person.ageGroup;
        row.problems.push_back({ProblemKind::Unreadable, QStringLiteral("person"), caption, value, 0});
    }
    for (const auto& [field, text] : row.person.sizedTexts()) {
        const int size = people.sizeOf(QLatin1String(field));
        if (size > 0 && text->size() > size)
            row.problems.push_back({ProblemKind::TooLong, QStringLiteral("person.") + QLatin1String(field),
                                    personCaption(QLatin1String(field)), *text, size});
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
    const bool personList = settings.people && groupsPeople(mapping);
    for (size_t i = 0; i < mapping.size() && i < size_t(cells.size()); ++i) {
        const GuestFieldInfo& info = fieldInfo(mapping[i]);
        if (mapping[i] == GuestField::NotImported)
            continue;
        // A text an export guarded against spreadsheet formulas comes back as it was.
        const QString cell = unguardedText(cells[qsizetype(i)]);
        // A zero byte or another control code is never stored, not even as part of a name.
        if (holdsBinaryCode(cell))
            row.problems.push_back({ProblemKind::NotText, info.key, info.caption, cell, 0});
        else if (info.kind == FieldKind::Group)
            row.group = cell.simplified();
        else if (info.kind == FieldKind::Person)
            readPersonCell(row, info, cell.trimmed());
        else if (personList && isEvent(info.field) && !readYesNo(cell)) {
            // In a list of people an event's column may say the person's reply: they are invited.
            row.values.insert(info.column, true);
            row.person.replies.insert(eventTitle(info.field), cell.trimmed());
        } else if (info.kind == FieldKind::Name)
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
            if (personList && !row.person.replies.contains(QStringLiteral("Reception")))
                row.person.replies.insert(QStringLiteral("Reception"), *a.coming
                                                                           ? QStringLiteral("Attending")
                                                                           : QStringLiteral("Declined"));
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
    if (personList) {
        row.person.firstName = textOf(row.values.value(FirstName)).trimmed();
        row.person.lastName = textOf(row.values.value(LastName)).trimmed();
        checkPerson(row, *settings.people);
    }
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

// Whether a problem of a person's row concerns the person rather than the party: the
// party's own fields are read from its first row, and its name from its people.
bool aboutPerson(const Problem& p)
{
    if (p.kind == ProblemKind::BadRow)
        return true;
    if (p.column.startsWith(QLatin1String("person")))
        return true;
    const std::optional<GuestField> f = fieldByKey(p.column);
    return f && (isPersonField(*f) || *f == GuestField::FirstName || *f == GuestField::LastName ||
                 *f == GuestField::WholeName || *f == GuestField::Prefix);
}

bool isNameColumn(const QString& column)
{
    return column == Prefix || column == FirstName || column == LastName || column == WeddingLine ||
           column == ShowerLine;
}

QString joinedName(const shell::ImportedPerson& p)
{
    return (p.firstName + QLatin1Char(' ') + p.lastName).simplified();
}

// The person who brings the plus-one of row `at`: the one the plus-one column names, else
// the last person with a name before them.
std::optional<size_t> bringer(const std::vector<shell::ImportedPerson>& people, size_t at,
                              const QString& text)
{
    const std::optional<bool> yes = readYesNo(text);
    if (yes && !*yes)
        return std::nullopt;
    if (!yes)
        for (size_t i = 0; i < people.size(); ++i)
            if (i != at && people[i].hasName() && nameKey(joinedName(people[i])) == nameKey(text))
                return i;
    for (size_t i = at; i-- > 0;)
        if (people[i].hasName())
            return i;
    return std::nullopt;
}

// The party's name from its people: one person's own; two "Samuel & Adaeze" of one last
// name; three or more, "The Okafor Family" on the envelope.
void nameParty(QMap<QString, QVariant>& values, const std::vector<shell::ImportedPerson>& people,
               const ReviewSource& source, const QString& firstPrefix)
{
    std::vector<const shell::ImportedPerson*> named;
    for (const shell::ImportedPerson& p : people)
        if (p.hasName())
            named.push_back(&p);
    QString first, last, prefix, line;
    if (!named.empty()) {
        last = named.front()->lastName;
        for (size_t i = 1; last.isEmpty() && i < named.size(); ++i)
            last = named[i]->lastName;
        first = named.front()->firstName;
    }
    const int firstSize = source.fieldSizes.value(FirstName, 0);
    if (named.size() == 1) {
        prefix = firstPrefix;
    } else if (named.size() == 2) {
        const QString both = named[0]->firstName + QStringLiteral(" & ") + named[1]->firstName;
        if (nameKey(named[0]->lastName) == nameKey(named[1]->lastName)) {
            if (!named[0]->firstName.isEmpty() && !named[1]->firstName.isEmpty() &&
                (firstSize == 0 || both.size() <= firstSize))
                first = both;
        } else {
            line = joinedName(*named[0]) + QStringLiteral(" & ") + joinedName(*named[1]);
        }
    } else if (named.size() > 2) {
        first.clear();
        line = QStringLiteral("The %1 Family").arg(last);
    }
    values.remove(Prefix);
    values.remove(FirstName);
    values.remove(LastName);
    if (!prefix.isEmpty())
        values.insert(Prefix, prefix);
    if (!first.isEmpty())
        values.insert(FirstName, first);
    if (!last.isEmpty())
        values.insert(LastName, last);
    const int lineSize = source.fieldSizes.value(WeddingLine, 0);
    if (line.isEmpty() || (lineSize > 0 && line.size() > lineSize))
        line = shell::partyName(values.value(Prefix), values.value(FirstName), values.value(LastName));
    const std::vector<GuestField>& mapping = source.settings.mapping;
    if (std::find(mapping.begin(), mapping.end(), GuestField::WeddingLabel) == mapping.end())
        values.insert(WeddingLine, line.simplified());
    if (std::find(mapping.begin(), mapping.end(), GuestField::ShowerLabel) == mapping.end())
        values.insert(ShowerLine, shell::showerLine(values.value(Prefix), values.value(LastName)));
}

GroupReading readGroup(const ReviewSource& source, const std::vector<qsizetype>& rows)
{
    GroupReading group;
    std::vector<QString> plusOnes;
    QString firstPrefix;
    for (qsizetype r : rows) {
        if (r < 0 || r >= source.table.rows.size())
            continue;
        RowReading reading =
            readRow(source.table.rows[r], source.settings.mapping, source.settings, source.fieldSizes);
        const bool firstRow = r == rows.front();
        const QString rowNumber = QString::number(source.table.rowNumbers.value(r, int(r) + 1));
        for (Problem& p : reading.problems) {
            if (p.kind == ProblemKind::NoLastName ||
                (p.kind == ProblemKind::TooLong && isNameColumn(p.column)))
                continue;
            if (!firstRow && !aboutPerson(p))
                continue;
            if (rows.size() > 1 && p.kind != ProblemKind::BadRow)
                p.caption = QStringLiteral("%1 (row %2)").arg(p.caption, rowNumber);
            group.problems.push_back(std::move(p));
        }
        if (firstRow) {
            group.values = reading.values;
            firstPrefix = textOf(reading.values.value(Prefix));
        }
        // An unnamed plus-one as the export of members writes them: "Guest of " and who brings them.
        if (!reading.plusOne.isEmpty() &&
            reading.name().compare(QStringLiteral("Guest of ") + reading.plusOne, Qt::CaseInsensitive) == 0)
            reading.person.firstName = reading.person.lastName = QString();
        group.people.push_back(std::move(reading.person));
        plusOnes.push_back(reading.plusOne);
    }
    for (size_t i = 0; i < group.people.size(); ++i)
        if (!plusOnes[i].isEmpty())
            group.people[i].plusOneOf = bringer(group.people, i, plusOnes[i]);
    nameParty(group.values, group.people, source, firstPrefix);
    group.values.insert(Invited, qint64(group.people.size()));
    // Nobody has replied yet: the counts follow the members.
    group.values.remove(Attending);
    group.values.remove(Confirmed);
    if (textOf(group.values.value(LastName)).trimmed().isEmpty())
        group.problems.push_back(
            {ProblemKind::NoLastName, LastName, fieldInfo(GuestField::LastName).caption, {}, 0});
    for (const QString& column : {Prefix, FirstName, LastName, WeddingLine, ShowerLine}) {
        const int size = source.fieldSizes.value(column, 0);
        const QString text = textOf(group.values.value(column));
        if (size > 0 && text.size() > size)
            group.problems.push_back({ProblemKind::TooLong, column, personCaption(column), text, size});
    }
    return group;
}

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
        for (size_t i = 0; i < list.people.size(); ++i)
            byMember_.insert(sameNameKey(list.people[i].firstName, list.people[i].lastName), i);
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

    // A party of people that is no likely duplicate of a party may still hold a member of
    // the wedding: it is then a likely duplicate of that member's party. The people of one
    // party are never compared with each other.
    std::optional<Duplicate> checkPeople(const std::vector<shell::ImportedPerson>& people) const
    {
        if (byMember_.isEmpty())
            return std::nullopt;
        for (const shell::ImportedPerson& p : people) {
            if (!p.hasName())
                continue;
            const auto it = byMember_.constFind(sameNameKey(p.firstName, p.lastName));
            if (it == byMember_.cend())
                continue;
            const shell::KnownPerson& known = list_.people[*it];
            Duplicate d;
            d.existing = known.party;
            d.matchedName = known.partyName;
            d.reason = QStringLiteral("same name as its member %1")
                           .arg((known.firstName + QLatin1Char(' ') + known.lastName).simplified());
            return d;
        }
        return std::nullopt;
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
    QHash<QString, size_t> byMember_;  // a member's name key -> index into list.people
};

}  // namespace

// The people of the file grouped into parties by the group column, in the order each party
// first appears. A person whose group cell is empty is a party of their own.
std::vector<std::vector<qsizetype>> partiesOf(const CsvTable& table, const ImportSettings& settings)
{
    const auto at = std::find(settings.mapping.begin(), settings.mapping.end(), GuestField::Group);
    const qsizetype column = at - settings.mapping.begin();
    std::vector<std::vector<qsizetype>> parties;
    QHash<QString, size_t> byKey;
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QString key = table.rows.cell(r, int(column)).simplified().toCaseFolded();
        if (key.isEmpty()) {
            parties.push_back({r});
            continue;
        }
        auto it = byKey.constFind(key);
        if (it == byKey.cend()) {
            it = byKey.insert(key, parties.size());
            parties.emplace_back();
        }
        parties[*it].push_back(r);
    }
    return parties;
}

void reviewParties(ImportReview& review, const CsvTable& table,
                   const std::shared_ptr<const ReviewSource>& source, DuplicateFinder& finder)
{
    if (!source->settings.people)
        throw ExchangeError(QStringLiteral("This list of people cannot be grouped into parties here."));
    const std::vector<std::vector<qsizetype>> parties = partiesOf(table, source->settings);
    review.rows.reserve(parties.size());
    for (const std::vector<qsizetype>& rows : parties) {
        GroupReading group = readGroup(*source, rows);
        bool broken = false;
        for (qsizetype r : rows)
            if (const auto fault = table.rowFaults.constFind(r); fault != table.rowFaults.cend()) {
                group.problems.insert(group.problems.begin(),
                                      {ProblemKind::BadRow, QString(), QString(), *fault, 0});
                broken = true;
            }
        ReviewRow row;
        row.rowNumber = table.rowNumbers.value(rows.front(), int(rows.front()) + 1);
        row.problems = std::move(group.problems);
        row.source = source;
        row.tableRow = rows.front();
        row.personRows = rows;
        if (!broken) {
            RowReading reading{std::move(group.values), {}, {}, {}, {}};
            row.duplicate = finder.check(reading, qsizetype(review.rows.size()));
            if (!row.duplicate)
                row.duplicate = finder.checkPeople(group.people);
        }
        review.rows.push_back(std::move(row));
    }
}

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
        if (groupsPeople(settings.mapping)) {
            reviewParties(review, table, source, finder);
            return review;
        }
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
