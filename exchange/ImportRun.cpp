// The import's write: the plan that the review's decisions make, the backup and the one
// transaction.
#include "exchange/GuestImport.h"

#include "exchange/MappingMemory.h"
#include "exchange/NameRules.h"

#include "store/Backup.h"
#include "store/Transaction.h"
#include "store/Undo.h"

#include <QSet>

#include <algorithm>
#include <map>
#include <variant>

namespace exchange {

namespace {

// A party the import writes: a new one (bookmark 0) or one in the list, and the review
// rows that make it, in the file's order. A new party takes the first row's values; every
// further row fills the fields still empty. Only the row indexes are kept, so that the plan
// of a long list stays small; the values are read when the party is written.
struct PlannedParty {
    store::Bookmark bookmark = 0;
    std::vector<size_t> rows;
};

enum class Skip { None, Problem, NoLastName, DuplicateOfList, DuplicateInFile, NothingToFill };

struct Plan {
    std::vector<PlannedParty> added;
    std::vector<PlannedParty> fills;
    std::map<Skip, int> skipped;
    int filledInFile = 0;   // rows merged into a party added by an earlier row
    bool ofPeople = false;  // the review's rows are parties of a list of people
};

// Where a row's values end up: a new party (index into added), a party in the list
// (index into fills), or nowhere.
struct ToNew {
    size_t index;
};
struct ToExisting {
    size_t index;
};
using Target = std::variant<std::monostate, ToNew, ToExisting>;

QMap<QString, QVariant> fixedValues(const ReviewRow& row)
{
    QMap<QString, QVariant> values = row.values();
    for (const Problem& p : row.problems) {
        if (p.kind == ProblemKind::TooLong && !p.column.startsWith(QLatin1String("person")))
            values.insert(p.column, shortenText(p.value, p.size));
    }
    return values;
}

// The people of a review row as they are written: a text longer than the members keep is
// shortened (a row is written with a problem only when the user chose to mend it).
std::vector<shell::ImportedPerson> fixedPeople(const ReviewRow& row)
{
    std::vector<shell::ImportedPerson> people = row.people();
    const shell::PeopleImport* rules = row.source ? row.source->settings.people : nullptr;
    if (!rules)
        return people;
    for (shell::ImportedPerson& p : people)
        for (const auto& [field, text] : p.sizedTexts()) {
            const int size = rules->sizeOf(QLatin1String(field));
            if (size > 0 && text->size() > size)
                *text = shortenText(*text, size);
        }
    return people;
}

bool isEmptyValue(const QVariant& v)
{
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty());
}

// Fills the empty entries of target from source; returns whether anything was filled.
bool fillEmpty(QMap<QString, QVariant>& target, const QMap<QString, QVariant>& source)
{
    bool any = false;
    for (auto it = source.cbegin(); it != source.cend(); ++it) {
        if (isEmptyValue(target.value(it.key())) && !isEmptyValue(it.value())) {
            target.insert(it.key(), it.value());
            any = true;
        }
    }
    return any;
}

bool hasNoLastName(const ReviewRow& row)
{
    return std::any_of(row.problems.begin(), row.problems.end(),
                       [](const Problem& p) { return p.kind == ProblemKind::NoLastName; });
}

Plan makePlan(const ImportReview& review)
{
    Plan plan;
    plan.ofPeople = std::any_of(review.rows.begin(), review.rows.end(),
                                [](const ReviewRow& r) { return !r.personRows.empty(); });
    std::vector<Target> targets(review.rows.size());
    std::map<store::Bookmark, size_t> fillIndex;
    for (size_t i = 0; i < review.rows.size(); ++i) {
        const ReviewRow& row = review.rows[i];
        if (!row.problems.empty() && (row.problemAction == ProblemAction::Skip || !row.fixable())) {
            plan.skipped[hasNoLastName(row) ? Skip::NoLastName : Skip::Problem]++;
            continue;
        }
        const DuplicateAction action = row.duplicate ? row.duplicateAction : DuplicateAction::Add;
        if (action == DuplicateAction::Add) {
            targets[i] = ToNew{plan.added.size()};
            plan.added.push_back({0, {i}});
            continue;
        }
        if (action == DuplicateAction::Skip) {
            plan.skipped[row.duplicate->ofExisting ? Skip::DuplicateOfList : Skip::DuplicateInFile]++;
            continue;
        }
        // Fill the other party's empty fields: a party in the list, or the party an
        // earlier row of the file stands for.
        Target target;
        if (row.duplicate->ofExisting) {
            auto [it, fresh] = fillIndex.try_emplace(row.duplicate->existing, plan.fills.size());
            if (fresh)
                plan.fills.push_back({row.duplicate->existing, {}});
            target = ToExisting{it->second};
        } else {
            target = targets[size_t(row.duplicate->earlierRow)];
        }
        targets[i] = target;
        if (auto* n = std::get_if<ToNew>(&target)) {
            plan.added[n->index].rows.push_back(i);
            ++plan.filledInFile;
        } else if (auto* e = std::get_if<ToExisting>(&target)) {
            plan.fills[e->index].rows.push_back(i);
        } else {
            plan.skipped[Skip::DuplicateInFile]++;
        }
    }
    return plan;
}

// The values the party's rows give, each filling what the ones before left empty.
QMap<QString, QVariant> plannedValues(const ImportReview& review, const PlannedParty& party)
{
    QMap<QString, QVariant> values;
    for (size_t i : party.rows) {
        if (i == party.rows.front()) {
            values = fixedValues(review.rows[i]);
            if (party.bookmark == 0 && isEmptyValue(values.value("guestof")))
                values.insert("guestof", QStringLiteral("Both"));
        } else {
            fillEmpty(values, fixedValues(review.rows[i]));
        }
    }
    return values;
}

QString plural(int n, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

ImportResult resultOf(const Plan& plan, int updated)
{
    ImportResult result;
    result.added = int(plan.added.size());
    result.updated = updated;
    const std::map<Skip, QString> why = {
        {Skip::Problem, "with a problem"},
        {Skip::NoLastName, "without a last name"},
        {Skip::DuplicateOfList, "likely duplicates of parties already in the list"},
        {Skip::DuplicateInFile, "repeating an earlier row of the file"},
        {Skip::NothingToFill, "duplicates with nothing new to fill in"},
    };
    for (const auto& [reason, count] : plan.skipped) {
        result.skipped += count;
        result.reasons << QStringLiteral("%1 skipped: %2")
                              .arg(plan.ofPeople ? plural(count, "party", "parties")
                                                 : plural(count, "row", "rows"),
                                   why.at(reason));
    }
    if (plan.filledInFile > 0)
        result.reasons << QStringLiteral("%1 merged into the party of an earlier row")
                              .arg(plan.ofPeople ? plural(plan.filledInFile, "party", "parties")
                                                 : plural(plan.filledInFile, "row", "rows"));
    return result;
}

// A person's name as compared within a party; a name of no letters (all emoji) as written.
QString personKey(const QString& first, const QString& last)
{
    const QString key = nameKey(first) + QLatin1Char('|') + nameKey(last);
    return key.size() > 1 ? key
                          : QLatin1Char('=') + (first + QLatin1Char(' ') + last).simplified().toCaseFolded();
}

// The people a planned party gains: those of its rows, each name once, and none whose name a
// member of the party already has (filling a party adds only who it lacks).
shell::ImportedParty plannedPeople(const ImportReview& review, const PlannedParty& planned, qint64 party,
                                   const QSet<QString>& present)
{
    shell::ImportedParty out;
    out.party = party;
    QSet<QString> seen = present;
    for (size_t i : planned.rows) {
        const std::vector<shell::ImportedPerson> people = fixedPeople(review.rows[i]);
        std::vector<bool> kept(people.size(), true);
        for (size_t k = 0; k < people.size(); ++k) {
            const QString key = personKey(people[k].firstName, people[k].lastName);
            if (people[k].hasName() && seen.contains(key))
                kept[k] = false;
            else if (people[k].hasName())
                seen.insert(key);
        }
        // The unnamed guest of someone the party already has is already there too.
        for (size_t k = 0; k < people.size(); ++k)
            if (!people[k].hasName() && people[k].plusOneOf && !kept[*people[k].plusOneOf])
                kept[k] = false;
        std::vector<std::optional<size_t>> newIndex(people.size());
        const size_t base = out.people.size();
        for (size_t k = 0, n = 0; k < people.size(); ++k)
            if (kept[k])
                newIndex[k] = base + n++;
        for (size_t k = 0; k < people.size(); ++k) {
            if (!kept[k])
                continue;
            shell::ImportedPerson p = people[k];
            p.plusOneOf = p.plusOneOf ? newIndex[*p.plusOneOf] : std::nullopt;
            out.people.push_back(std::move(p));
        }
    }
    return out;
}

void addParties(store::Database& database, const ImportReview& review,
                const std::vector<PlannedParty>& parties, std::vector<shell::ImportedParty>& people)
{
    if (parties.empty())
        return;
    std::unique_ptr<store::Recordset> set = database.openRecordset(QStringLiteral("Guests"));
    for (const PlannedParty& planned : parties) {
        const QMap<QString, QVariant> party = plannedValues(review, planned);
        set->addNew();
        for (auto it = party.cbegin(); it != party.cend(); ++it)
            set->setValue(it.key(), it.value());
        set->update();
        shell::ImportedParty members = plannedPeople(review, planned, set->lastModified(), {});
        if (!members.people.empty())
            people.push_back(std::move(members));
    }
}

// The people of the parties the import fills, less the members they have.
void fillPeople(store::Database& database, const ImportReview& review, const std::vector<PlannedParty>& fills,
                const shell::PeopleImport& rules, std::vector<shell::ImportedParty>& people)
{
    QHash<qint64, QSet<QString>> present;
    for (const shell::KnownPerson& k : rules.knownPeople(database))
        present[k.party].insert(personKey(k.firstName, k.lastName));
    for (const PlannedParty& planned : fills) {
        shell::ImportedParty members =
            plannedPeople(review, planned, planned.bookmark, present.value(planned.bookmark));
        if (!members.people.empty())
            people.push_back(std::move(members));
    }
}

const shell::PeopleImport* peopleRules(const ImportReview& review)
{
    for (const ReviewRow& row : review.rows)
        if (!row.personRows.empty() && row.source)
            return row.source->settings.people;
    return nullptr;
}

int countPeople(const std::vector<shell::ImportedParty>& parties)
{
    int n = 0;
    for (const shell::ImportedParty& p : parties)
        n += int(p.people.size());
    return n;
}

// Fills the empty fields of parties in the list; returns how many changed.
int fillParties(store::Database& database, const ImportReview& review, const std::vector<PlannedParty>& fills)
{
    if (fills.empty())
        return 0;
    int changed = 0;
    std::unique_ptr<store::Recordset> set = database.openRecordset(QStringLiteral("Guests"));
    for (const PlannedParty& planned : fills) {
        const QMap<QString, QVariant> values = plannedValues(review, planned);
        set->setBookmark(planned.bookmark);
        QMap<QString, QVariant> current;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            current.insert(it.key(), set->value(it.key()));
        QMap<QString, QVariant> merged = current;
        if (!fillEmpty(merged, values))
            continue;
        set->edit();
        for (auto it = merged.cbegin(); it != merged.cend(); ++it)
            if (isEmptyValue(current.value(it.key())) && !isEmptyValue(it.value()))
                set->setValue(it.key(), it.value());
        set->update();
        ++changed;
    }
    return changed;
}

}  // namespace

QString ImportResult::summary() const
{
    QStringList lines;
    lines << QStringLiteral("%1 added, %2 updated, %3 skipped.")
                 .arg(plural(added, "party", "parties"))
                 .arg(updated)
                 .arg(skipped);
    if (people > 0)
        lines << QStringLiteral("%1 added to the parties.").arg(plural(people, "person", "people"));
    lines << reasons;
    if (!backupPath.isEmpty())
        lines << QStringLiteral("A copy of the wedding file from before the import: %1").arg(backupPath);
    return lines.join(QLatin1Char('\n'));
}

QString keepCopyOfFile(const QString& databasePath)
{
    try {
        return store::backup::make(databasePath, store::backup::Reason::Import);
    } catch (const store::StoreError& e) {
        throw ExchangeError(
            QStringLiteral("No backup of the wedding file could be made, so nothing was imported.\n%1")
                .arg(e.description()));
    }
}

ImportResult planSummary(const ImportReview& review)
{
    const Plan plan = makePlan(review);
    ImportResult result = resultOf(plan, 0);
    result.updated = int(plan.fills.size());
    return result;
}

ImportResult runImport(store::Database& database, const ImportReview& review, const BackupFunction& backup)
{
    Plan plan = makePlan(review);
    if (plan.added.empty() && plan.fills.empty())
        return resultOf(plan, 0);
    const QString backupPath = backup ? backup(database.path()) : QString();
    store::Transaction change;
    std::vector<shell::ImportedParty> people;
    addParties(database, review, plan.added, people);
    const shell::PeopleImport* rules = peopleRules(review);
    if (rules)
        fillPeople(database, review, plan.fills, *rules, people);
    int updated = fillParties(database, review, plan.fills);
    QStringList notes;
    if (rules && !people.empty()) {
        notes = rules->write(database, people);
        // A party filled with people it lacked has changed even when its fields had nothing to fill.
        QSet<qint64> filled;
        for (const shell::ImportedParty& p : people)
            filled.insert(p.party);
        int gained = 0;
        for (const PlannedParty& f : plan.fills)
            gained += filled.contains(f.bookmark) ? 1 : 0;
        updated = std::max(updated, gained);
    }
    rememberMapping(database, review.headers, review.mapping);
    change.commit();
    plan.skipped[Skip::NothingToFill] += int(plan.fills.size()) - updated;
    if (plan.skipped[Skip::NothingToFill] == 0)
        plan.skipped.erase(Skip::NothingToFill);
    ImportResult result = resultOf(plan, updated);
    result.people = countPeople(people);
    result.reasons << notes;
    result.backupPath = backupPath;
    if (!backupPath.isEmpty())
        store::undo::remember(
            database, backupPath,
            updated > 0 ? QStringLiteral("Import %1 (%2 filled in)")
                              .arg(plural(result.added, "party", "parties"))
                              .arg(updated)
                        : QStringLiteral("Import %1").arg(plural(result.added, "party", "parties")));
    return result;
}

}  // namespace exchange
