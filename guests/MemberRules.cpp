#include "guests/MemberRules.h"

#include "shell/TextFold.h"

#include <QRegularExpression>

#include <algorithm>

namespace guests {

QString ageGroupName(AgeGroup group)
{
    switch (group) {
        case AgeGroup::Child:
            return QStringLiteral("Child");
        case AgeGroup::Infant:
            return QStringLiteral("Infant");
        case AgeGroup::Adult:
            break;
    }
    return QStringLiteral("Adult");
}

std::optional<AgeGroup> ageGroupOf(const QString& text)
{
    const QString key = shell::searchKey(text);
    if (key.isEmpty() || key == QLatin1String("adult") || key == QLatin1String("adults"))
        return AgeGroup::Adult;
    for (const char* word : {"child", "children", "kid", "kids"})
        if (key == QLatin1String(word))
            return AgeGroup::Child;
    for (const char* word : {"infant", "infants", "baby", "toddler"})
        if (key == QLatin1String(word))
            return AgeGroup::Infant;
    return std::nullopt;
}

QString eventTitle(Event event)
{
    switch (event) {
        case Event::Ceremony:
            return QStringLiteral("Ceremony");
        case Event::Shower:
            return QStringLiteral("Shower");
        case Event::Rehearsal:
            return QStringLiteral("Rehearsal");
        case Event::Reception:
            break;
    }
    return QStringLiteral("Reception");
}

std::optional<Event> eventOf(const QString& text)
{
    for (Event event : AllEvents)
        if (text.trimmed().compare(eventTitle(event), Qt::CaseInsensitive) == 0)
            return event;
    return std::nullopt;
}

QString replyName(Reply reply)
{
    switch (reply) {
        case Reply::Attending:
            return QStringLiteral("Attending");
        case Reply::Declined:
            return QStringLiteral("Declined");
        case Reply::None:
            break;
    }
    return {};
}

std::optional<Reply> replyOf(const QString& text)
{
    const QString key = shell::searchKey(text);
    if (key.isEmpty())
        return Reply::None;
    for (const char* word : {"yes", "y", "attending", "attends", "accept", "accepts", "accepted", "coming",
                             "going", "1", "x", "true"})
        if (key == QLatin1String(word))
            return Reply::Attending;
    for (const char* word :
         {"no", "n", "declined", "declines", "decline", "regrets", "notattending", "notcoming", "0", "false"})
        if (key == QLatin1String(word))
            return Reply::Declined;
    return std::nullopt;
}

const QStringList& commonNeeds()
{
    static const QStringList needs = {
        QStringLiteral("Vegetarian"),        QStringLiteral("Vegan"),
        QStringLiteral("Gluten-free"),       QStringLiteral("Nut allergy"),
        QStringLiteral("Shellfish allergy"), QStringLiteral("Lactose intolerance")};
    return needs;
}

QString needsText(const QStringList& needs)
{
    QStringList ordered;
    for (const QString& need : commonNeeds())
        if (needs.contains(need, Qt::CaseInsensitive))
            ordered << need;
    return ordered.join(QStringLiteral(", "));
}

QStringList needsOf(const QString& text, QStringList* rest)
{
    QStringList found;
    if (text.trimmed().isEmpty())
        return found;
    static const QRegularExpression separators(QStringLiteral("[,;/]"));
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        const QString key = shell::searchKey(part);
        if (key.isEmpty())
            continue;
        const auto common = std::find_if(commonNeeds().begin(), commonNeeds().end(),
                                         [&](const QString& need) { return shell::searchKey(need) == key; });
        if (common != commonNeeds().end()) {
            if (!found.contains(*common))
                found << *common;
        } else if (rest) {
            rest->append(part.trimmed());
        }
    }
    return needsText(found).split(QStringLiteral(", "), Qt::SkipEmptyParts);
}

QString Member::allNeeds() const
{
    QStringList all = needs;
    if (!needsNote.trimmed().isEmpty())
        all << needsNote.trimmed();
    return all.join(QStringLiteral(", "));
}

namespace {

QString plainName(const Member& member)
{
    return (member.firstName.trimmed() + QLatin1Char(' ') + member.lastName.trimmed()).trimmed();
}

}  // namespace

QString memberName(const Member& member, const std::vector<Member>& party, const QString& partyName)
{
    if (member.hasName())
        return plainName(member);
    if (member.plusOneOf) {
        const auto host = std::find_if(party.begin(), party.end(),
                                       [&](const Member& m) { return m.id == *member.plusOneOf; });
        if (host != party.end() && host->hasName())
            return QStringLiteral("Guest of ") + plainName(*host);
    }
    return QStringLiteral("Guest of ") + partyName.simplified();
}

bool Invitations::to(Event event) const
{
    switch (event) {
        case Event::Ceremony:
            return ceremony;
        case Event::Shower:
            return shower;
        case Event::Rehearsal:
            return rehearsal;
        case Event::Reception:
            break;
    }
    return reception;
}

PartyCounts countsOf(const std::vector<Member>& members)
{
    PartyCounts counts;
    counts.invited = counts.showerInvited = int(members.size());
    bool allReception = !members.empty();
    bool allShower = !members.empty();
    for (const Member& m : members) {
        counts.attending += m.reply(Event::Reception) == Reply::Attending;
        counts.showerComing += m.reply(Event::Shower) == Reply::Attending;
        allReception = allReception && m.reply(Event::Reception) != Reply::None;
        allShower = allShower && m.reply(Event::Shower) != Reply::None;
    }
    counts.confirmed = allReception;
    counts.showerReplied = allShower;
    return counts;
}

std::vector<CountDifference> countDifferences(const PartyCounts& typed, const PartyCounts& members,
                                              bool shower)
{
    std::vector<CountDifference> out;
    auto number = [&](const char* caption, int a, int b) {
        if (a != b)
            out.push_back({QString::fromUtf8(caption), QString::number(a), QString::number(b)});
    };
    auto yesNo = [&](const char* caption, bool a, bool b) {
        if (a != b)
            out.push_back({QString::fromUtf8(caption), a ? QStringLiteral("Yes") : QStringLiteral("No"),
                           b ? QStringLiteral("Yes") : QStringLiteral("No")});
    };
    number("Total people invited", typed.invited, members.invited);
    yesNo("Received Response", typed.confirmed, members.confirmed);
    number("Confirmed number attending", typed.attending, members.attending);
    if (shower) {
        number("Shower: Total invited", typed.showerInvited, members.showerInvited);
        yesNo("Shower: Received Response", typed.showerReplied, members.showerReplied);
        number("Shower: Confirmed number attending", typed.showerComing, members.showerComing);
    }
    return out;
}

namespace {

// Replies for the new places of one event: as many attending as the typed figure still
// lacks, the rest declined, once the party has replied; no reply while it has not.
void replyNewPlaces(std::vector<Member>& places, Event event, bool replied, int typedAttending,
                    int membersAttending)
{
    if (!replied)
        return;
    int stillAttending = std::max(0, typedAttending - membersAttending);
    for (Member& place : places) {
        place.setReply(event, stillAttending > 0 ? Reply::Attending : Reply::Declined);
        stillAttending -= stillAttending > 0;
    }
}

}  // namespace

std::vector<Member> unnamedPlaces(const std::vector<Member>& members, const PartyCounts& typed, bool shower)
{
    const int missing = typed.invited - int(members.size());
    if (missing <= 0)
        return {};
    std::vector<Member> places(static_cast<size_t>(missing));
    const PartyCounts now = countsOf(members);
    replyNewPlaces(places, Event::Reception, typed.confirmed, typed.attending, now.attending);
    if (shower)
        replyNewPlaces(places, Event::Shower, typed.showerReplied, typed.showerComing, now.showerComing);
    return places;
}

bool expectedAtReception(const Member& member, const Invitations& party)
{
    const Reply reply = member.reply(Event::Reception);
    return reply == Reply::Attending || (reply == Reply::None && party.reception);
}

}  // namespace guests
