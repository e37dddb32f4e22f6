// The people of a party as plain values, and the rules over them that need no database:
// the name a member is shown by, the party's counts that follow from its members, where
// the counts typed on the Details tab disagree with them, and who the kitchen cooks for.
#pragma once

#include "guests/PartyFinder.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace guests {

enum class AgeGroup { Adult, Child, Infant };
enum class Reply { None, Attending, Declined };

inline constexpr AgeGroup AllAgeGroups[] = {AgeGroup::Adult, AgeGroup::Child, AgeGroup::Infant};
inline constexpr Event AllEvents[] = {Event::Reception, Event::Ceremony, Event::Shower, Event::Rehearsal};

QString ageGroupName(AgeGroup group);  // "Adult", "Child", "Infant"
// "Adult", "child", "Kid", "Baby", "infant" ...; empty reads as an adult; nullopt for other texts.
std::optional<AgeGroup> ageGroupOf(const QString& text);
// The events (guests::Event, in the Details tab's order) as members' replies name them:
// "Reception", ... (also the stored form).
QString eventTitle(Event event);
std::optional<Event> eventOf(const QString& text);
QString replyName(Reply reply);  // "Attending", "Declined", "" (also the stored form)
// How reply forms say it: "Yes", "Attending", "Accepts", "1", "x" / "No", "Declined", "Regrets",
// "0"; an empty text is no reply; nullopt for a text that is neither.
std::optional<Reply> replyOf(const QString& text);

// The common dietary needs that are ticked rather than written, in the order they are shown.
const QStringList& commonNeeds();
// The ticked needs kept as one text ("Vegan, Nut allergy") and back; texts read from a file
// are matched to the common needs blind to case, and anything else is left in *rest.
QString needsText(const QStringList& needs);
QStringList needsOf(const QString& text, QStringList* rest = nullptr);

struct Member {
    qint64 id = 0;     // MemberId; 0 before it is stored
    qint64 party = 0;  // the party's bookmark (Guests rowid)
    int order = 0;
    QString firstName;
    QString lastName;
    AgeGroup ageGroup = AgeGroup::Adult;
    std::optional<qint64> plusOneOf;  // the member who brings this guest
    std::optional<qint64> meal;       // MealId
    QStringList needs;                // of commonNeeds()
    QString needsNote;                // needs written besides
    QString email;
    QString mobile;
    QString note;
    std::array<Reply, 4> replies{};  // by Event

    Reply reply(Event event) const { return replies[size_t(event)]; }
    void setReply(Event event, Reply value) { replies[size_t(event)] = value; }
    bool hasName() const { return !firstName.trimmed().isEmpty() || !lastName.trimmed().isEmpty(); }
    // Every need as one text: the ticked ones and what was written besides.
    QString allNeeds() const;
};

struct Meal {
    qint64 id = 0;
    QString name;
    QString mark;  // short, for place cards
};

// The member's name; an unnamed plus-one is "Guest of " and the name of the member who
// brings them, any other unnamed place "Guest of " and the party's name.
QString memberName(const Member& member, const std::vector<Member>& party, const QString& partyName);

// The events a party is invited to (its four Yes/No fields).
struct Invitations {
    bool ceremony = false;
    bool reception = false;
    bool shower = false;
    bool rehearsal = false;
    bool to(Event event) const;
};

// The counts of the Details tab (Invited, NumberAttending, Confirmed; ShowerInvited,
// ShowerComing, ShowerReplied).
struct PartyCounts {
    int invited = 0;
    int attending = 0;
    bool confirmed = false;
    int showerInvited = 0;
    int showerComing = 0;
    bool showerReplied = false;
    bool operator==(const PartyCounts&) const = default;
};

// The counts that follow from the members: everyone is invited, those attending the reception
// (the shower) attend, and the party has replied once every member has.
PartyCounts countsOf(const std::vector<Member>& members);

// Where the stored counts differ from those of the members (the shower's only when the party
// is invited to it), each with the Details tab's caption and both values as texts.
struct CountDifference {
    QString caption;
    QString typed;
    QString fromMembers;
};
std::vector<CountDifference> countDifferences(const PartyCounts& typed, const PartyCounts& members,
                                              bool shower);

// The members to add so that a party with fewer members than its typed count of invited
// people gets a place for each: unnamed adults, and when the party has replied, as many of
// them attending as the typed count of those attending still lacks (the rest declined), so
// that adding them keeps what was typed. None when the members are as many or more.
std::vector<Member> unnamedPlaces(const std::vector<Member>& members, const PartyCounts& typed, bool shower);

// Whether the kitchen cooks for the member at the reception: attending, or not yet replied
// while the party is invited to the reception. A declined member is left out.
bool expectedAtReception(const Member& member, const Invitations& party);

}  // namespace guests
