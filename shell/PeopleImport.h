// The people of imported parties, as the guest import hands them to the guest subsystem: the
// import reads a list of people grouped into parties and knows nothing of how members are
// kept; the members' own rules (age groups, the menu, the parties' counts) read and write them.
// The window or command that starts an import passes the guest subsystem's implementation
// (guests/MemberImport.h).
#pragma once

#include "store/Store.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace shell {

// One person of an imported list, the texts as the file gave them (trimmed).
struct ImportedPerson {
    QString firstName, lastName;
    QString ageGroup;                 // "Adult", "Child", "Baby", ... ("" an adult)
    std::optional<size_t> plusOneOf;  // the index, within its party, of the person who brings them
    QString meal;
    QString needs;  // every need written, common ones and others ("vegan, peanut allergy")
    QString email, mobile;
    // The person's replies: event ("Ceremony", "Reception", "Shower", "Rehearsal") -> the reply
    // as the file writes it ("Attending", "Declined", ...).
    QMap<QString, QString> replies;
    bool hasName() const { return !firstName.isEmpty() || !lastName.isEmpty(); }
    // The person's texts that have a size, by the names PeopleImport::sizeOf knows them by.
    std::array<std::pair<const char*, QString*>, 6> sizedTexts()
    {
        return {{{"FirstName", &firstName},
                 {"LastName", &lastName},
                 {"Meal", &meal},
                 {"Needs", &needs},
                 {"Email", &email},
                 {"Mobile", &mobile}}};
    }
};

struct ImportedParty {
    qint64 party = 0;  // the Guests row the people join
    std::vector<ImportedPerson> people;
};

// A member already in the wedding, for the duplicate check.
struct KnownPerson {
    qint64 party = 0;
    QString partyName;
    QString firstName, lastName;
};

class PeopleImport {
public:
    virtual ~PeopleImport() = default;
    // The members of the wedding (none in a file without the members' tables).
    virtual std::vector<KnownPerson> knownPeople(store::Database& db) const = 0;
    // The caption of each value of the person that cannot be read ("Age group", "Reception
    // reply"), none when all can.
    virtual QStringList unreadable(const ImportedPerson& person) const = 0;
    // The sizes of the members' texts (FirstName, LastName, Meal, Email, Mobile; 0 no limit).
    virtual int sizeOf(const QString& field) const = 0;
    // Adds the people to their parties, each party's counts following its members, within the
    // transaction open; returns what the user should be told (meals added to the menu).
    virtual QStringList write(store::Database& db, const std::vector<ImportedParty>& parties) const = 0;
};

}  // namespace shell
