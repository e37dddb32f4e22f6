// The members of the parties in the wedding file: reading them, and each change as one
// transaction of the default workspace that also writes the party's counts of the Details tab
// (countsOf), so that the counts and the members never disagree through a change made here.
// A party without members is never touched by any of this.
//
//     auto members = guests::loadMembers(db, party);
//     guests::Member anna;  anna.party = party;  anna.firstName = "Anna";
//     guests::addMember(db, anna);            // Invited of the party is now members + 1
//
// Every function throws store::StoreError; a failed change leaves the file as it was.
#pragma once

#include "guests/MemberRules.h"
#include "store/Store.h"

#include <QHash>
#include <QString>

#include <vector>

namespace guests {

// Whether the file has the member tables (a file opened read-only and not yet upgraded has
// not: it has no members).
bool hasMemberTables(store::Database& db);
// Some party of the wedding has members.
bool hasMembers(store::Database& db);

// The members of one party in their order, with their replies.
std::vector<Member> loadMembers(store::Database& db, qint64 party);
// The couple's menu in its order.
std::vector<Meal> loadMeals(store::Database& db);
// The counts as stored in the party's row.
PartyCounts storedCounts(store::Database& db, qint64 party);
Invitations invitationsOf(store::Database& db, qint64 party);

// Appends a member to its party (member.party); returns its MemberId.
qint64 addMember(store::Database& db, Member member);
// Appends many members to their parties in one transaction with the parties' counts. A
// member's plusOneOf here is the index, within members, of the member who brings them (one
// of the same party). Returns the MemberIds in the order given.
std::vector<qint64> addMembers(store::Database& db, std::vector<Member> members);
// Writes a member's fields and replies (its party and place stay).
void saveMember(store::Database& db, const Member& member);
// Removes a member with its replies (and an unnamed guest it brings).
void removeMember(store::Database& db, qint64 memberId);
// Moves a member up (-1) or down (+1) in its party; nothing at either end.
void moveMember(store::Database& db, qint64 memberId, int step);
// Sets one reply of a member.
void setReply(store::Database& db, qint64 memberId, Event event, Reply reply);
// Adds the unnamed places that the party's typed count of invited people has beyond its
// members (unnamedPlaces); returns how many were added.
int addUnnamedPlaces(store::Database& db, qint64 party);
// Writes the counts of the members over those typed on the Details tab.
void correctCounts(store::Database& db, qint64 party);

// Replaces the menu: meals with an id are renamed, those without are added, those missing
// from the list are removed (their members then have no meal). Names must be unique.
void saveMeals(store::Database& db, const std::vector<Meal>& meals);

// ---- the whole wedding --------------------------------------------------------------------

struct PartyInfo {
    qint64 key = 0;
    QString name;  // as the guest window captions it ("Mr. Tom Abbott")
    QString lastName;
    Invitations invited;
    qint64 tableId = 0;  // 0: not seated
};

struct TableInfo {
    qint64 id = 0;
    QString name;
    qint64 number = 0;
    QString label() const;  // the name, or "Table 3" without one
};

// Everyone of the wedding: the members of every party (party by party, in their order), the
// parties that have members, the menu and the tables in their number order.
struct WeddingPeople {
    std::vector<Member> members;
    QHash<qint64, PartyInfo> parties;
    std::vector<Meal> meals;
    std::vector<TableInfo> tables;

    // The member's name as memberName gives it (the party's members are looked up once).
    QString nameOf(const Member& member) const;
    const Meal* mealOf(const Member& member) const;
    const TableInfo* tableOf(const Member& member) const;  // null: not seated
};
WeddingPeople loadPeople(store::Database& db);

// Members whose name holds the text, compared as searchKey does (blind to case, accents and
// punctuation): for a search of the guest list by a member's name.
struct MemberHit {
    qint64 memberId = 0;
    qint64 party = 0;
    QString name;
};
std::vector<MemberHit> findMembersByName(store::Database& db, const QString& text);

// Sets replies and meals of many members in one transaction with their parties' counts
// (the replies window and the import of replies). A value left unset is not changed.
struct MemberChange {
    qint64 memberId = 0;
    std::array<std::optional<Reply>, 4> replies{};  // by Event
    std::optional<std::optional<qint64>> meal;      // set: the meal (or none)
    std::optional<QStringList> needs;
    std::optional<QString> needsNote;
};
void applyChanges(store::Database& db, const std::vector<MemberChange>& changes);

}  // namespace guests
