// The members' side of importing a list of people grouped into parties: the people read by
// the guest import become members of their parties, their meals those of the couple's menu.
// A meal the menu does not have yet is added to it, at its end, in the same transaction,
// and the import says so.
//
//     guests::MemberImport people;
//     exchange::runImport(db, review);   // the review was read with &people in its settings
#pragma once

#include "shell/PeopleImport.h"

namespace guests {

class MemberImport : public shell::PeopleImport {
public:
    std::vector<shell::KnownPerson> knownPeople(store::Database& db) const override;
    QStringList unreadable(const shell::ImportedPerson& person) const override;
    int sizeOf(const QString& field) const override;
    QStringList write(store::Database& db, const std::vector<shell::ImportedParty>& parties) const override;
};

// The one the program's windows and commands use.
const MemberImport& memberImport();

}  // namespace guests
