#include "guests/ReplyImport.h"

#include "shell/TextFold.h"
#include "store/Backup.h"

#include <QHash>

namespace guests {

namespace {

bool isOneOf(const QString& key, std::initializer_list<const char*> words)
{
    for (const char* word : words)
        if (key == QLatin1String(word))
            return true;
    return false;
}

// The event a header asks about: one named in it ("Ceremony", "Attending the shower?"), else
// the reception for the words forms use for the one reply they ask for.
std::optional<Event> eventOfHeader(const QString& key)
{
    for (Event event : {Event::Ceremony, Event::Shower, Event::Rehearsal, Event::Reception})
        if (key.contains(shell::searchKey(eventTitle(event))))
            return event;
    if (isOneOf(key, {"attending", "attend", "rsvp", "reply", "response", "attendance", "coming",
                      "willyouattend", "willyoubeattending", "accepts", "accept"}))
        return Event::Reception;
    return std::nullopt;
}

}  // namespace

bool ReplyColumns::hasAnswers() const
{
    return meal >= 0 || needs >= 0 || std::any_of(events.begin(), events.end(), [](int c) { return c >= 0; });
}

ReplyColumns replyColumns(const QStringList& headers)
{
    ReplyColumns c;
    auto take = [](int& column, int i) {
        if (column < 0)
            column = i;
    };
    for (int i = 0; i < headers.size(); ++i) {
        const QString key = shell::searchKey(headers[i]);
        if (isOneOf(key, {"name", "fullname", "guest", "guestname", "yourname", "attendee", "person"}))
            take(c.name, i);
        else if (isOneOf(key, {"firstname", "first", "givenname", "forename"}))
            take(c.firstName, i);
        else if (isOneOf(key, {"lastname", "last", "surname", "familyname"}))
            take(c.lastName, i);
        else if (isOneOf(key, {"meal", "entree", "mealchoice", "menu", "dinner", "mealselection",
                               "entreechoice", "main", "maincourse"}))
            take(c.meal, i);
        else if (isOneOf(key, {"dietaryneeds", "dietary", "allergies", "allergy", "dietaryrestrictions",
                               "diet", "needs", "dietaryrequirements"}))
            take(c.needs, i);
        else if (const auto event = eventOfHeader(key))
            take(c.events[size_t(*event)], i);
    }
    return c;
}

namespace {

QString rowName(const ReplyColumns& c, const QStringList& row)
{
    if (c.name >= 0 && !row.value(c.name).trimmed().isEmpty())
        return row.value(c.name).trimmed();
    return (row.value(c.firstName).trimmed() + QLatin1Char(' ') + row.value(c.lastName).trimmed()).trimmed();
}

std::optional<qint64> mealOfText(const WeddingPeople& people, const QString& text)
{
    const QString key = shell::searchKey(text);
    for (const Meal& meal : people.meals)
        if (shell::searchKey(meal.name) == key ||
            (!meal.mark.isEmpty() && shell::searchKey(meal.mark) == key))
            return meal.id;
    return std::nullopt;
}

// Reads the answers of one row into the change; false (with why) when a value cannot be read.
bool readAnswers(const WeddingPeople& people, const ReplyColumns& c, const QStringList& row,
                 const Member& member, ReplyRow& out, QStringList& notes, QString& why)
{
    const Invitations invited = people.parties.value(member.party).invited;
    for (Event event : AllEvents) {
        const int column = c.events[size_t(event)];
        const QString text = row.value(column).trimmed();
        if (column < 0 || text.isEmpty())
            continue;
        const std::optional<Reply> reply = replyOf(text);
        if (!reply || *reply == Reply::None) {
            why = QStringLiteral("\"%1\" is no reply for the %2").arg(text, eventTitle(event).toLower());
            return false;
        }
        if (!invited.to(event)) {
            notes << QStringLiteral("line %1: %2 is not invited to the %3; that reply is passed over")
                         .arg(out.line)
                         .arg(out.name, eventTitle(event).toLower());
            continue;
        }
        out.change.replies[size_t(event)] = *reply;
    }
    const QString mealText = row.value(c.meal).trimmed();
    if (c.meal >= 0 && !mealText.isEmpty()) {
        const std::optional<qint64> meal = mealOfText(people, mealText);
        if (!meal) {
            why = QStringLiteral("\"%1\" is not on the menu").arg(mealText);
            return false;
        }
        out.change.meal = meal;
    }
    const QString needsText = row.value(c.needs).trimmed();
    if (c.needs >= 0 && !needsText.isEmpty() &&
        !isOneOf(shell::searchKey(needsText), {"none", "no", "nothing", "na", "n"})) {
        QStringList rest;
        out.change.needs = needsOf(needsText, &rest);
        out.change.needsNote = rest.join(QStringLiteral(", "));
    }
    return true;
}

}  // namespace

ReplyReview reviewReplies(const WeddingPeople& people, const QStringList& headers,
                          const QList<QStringList>& rows, const QList<int>& lines)
{
    ReplyReview review;
    review.columns = replyColumns(headers);
    const ReplyColumns& c = review.columns;
    if (!c.hasName() || !c.hasAnswers()) {
        review.refused << (!c.hasName()
                               ? QStringLiteral("The file has no column of names (such as \"Name\", or "
                                                "\"First Name\" and \"Last Name\").")
                               : QStringLiteral("The file has no column of replies, meals or needs (such "
                                                "as \"Attending\", \"Meal\" or \"Dietary Needs\")."));
        return review;
    }
    QHash<QString, QList<size_t>> byName;
    for (size_t i = 0; i < people.members.size(); ++i)
        byName[shell::searchKey(people.nameOf(people.members[i]))].append(i);

    for (qsizetype r = 0; r < rows.size(); ++r) {
        ReplyRow row;
        row.line = r < lines.size() ? lines[r] : int(r + 2);
        row.name = rowName(c, rows[r]);
        const QString where = QStringLiteral("line %1: %2").arg(row.line).arg(row.name);
        if (row.name.isEmpty()) {
            review.unmatched << QStringLiteral("line %1: (no name)").arg(row.line);
            continue;
        }
        const QList<size_t> found = byName.value(shell::searchKey(row.name));
        if (found.isEmpty()) {
            review.unmatched << where;
            continue;
        }
        if (found.size() > 1) {
            review.ambiguous << QStringLiteral("%1 (%2 members of that name)").arg(where).arg(found.size());
            continue;
        }
        const Member& member = people.members[found.front()];
        row.change.memberId = member.id;
        row.member = people.nameOf(member);
        QString why;
        if (!readAnswers(people, c, rows[r], member, row, review.notes, why)) {
            review.refused << QStringLiteral("%1: %2").arg(where, why);
            continue;
        }
        review.matched.push_back(row);
    }
    return review;
}

ReplyImportResult importReplies(store::Database& db, const ReplyReview& review)
{
    ReplyImportResult result;
    if (review.matched.empty())
        return result;
    std::vector<MemberChange> changes;
    changes.reserve(review.matched.size());
    for (const ReplyRow& row : review.matched)
        changes.push_back(row.change);
    result.backupPath = store::backup::make(db.path(), store::backup::Reason::Import);
    applyChanges(db, changes);
    result.applied = int(changes.size());
    return result;
}

QString reviewText(const ReplyReview& review)
{
    QString text = QStringLiteral("%1 rows match a member.\n").arg(review.matched.size());
    auto list = [&text](const QString& title, const QStringList& lines) {
        if (lines.isEmpty())
            return;
        text += title + QLatin1Char('\n');
        for (const QString& line : lines)
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
    };
    list(QStringLiteral("Matching nobody (nothing changed):"), review.unmatched);
    list(QStringLiteral("Matching more than one member (nothing changed):"), review.ambiguous);
    list(QStringLiteral("Not read (nothing changed):"), review.refused);
    list(QStringLiteral("Passed over:"), review.notes);
    return text;
}

}  // namespace guests
