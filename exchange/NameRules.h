// Rules for the names in an imported guest list: splitting a whole envelope name into
// title, first and last name with the party's size, and the keys by which a row is
// recognised as a party already in the list.
#pragma once

#include <QString>

#include <optional>

namespace exchange {

struct SplitName {
    QString prefix;             // "Mr. and Mrs.", "Dr.", "" ...
    QString firstName;          // "Liam", "John & Jane", "" for a family
    QString lastName;           // "Okafor", "van Dijk"
    std::optional<int> people;  // 2 for a couple or "& Guest", 1 for one person, none for a family
};

// "Mr. and Mrs. Liam Okafor" -> Mr. and Mrs. / Liam / Okafor / 2; "Dr. Grace Moreau" ->
// Dr. / Grace / Moreau / 1; "The Haddad Family" -> "" / "" / Haddad / none;
// "Priya Patel & Guest" -> "" / Priya / Patel / 2; "Okafor, Liam" -> Liam / Okafor.
// Particles stay with the last name ("Liam van Dijk" -> van Dijk).
SplitName splitWholeName(const QString& wholeName);

// The number of people a party's title and first name stand for when the file gives no
// count: 2 for a couple's title ("Mr. and Mrs.") or two first names ("John & Jane"), 1 otherwise.
int peopleFromName(const QString& prefix, const QString& firstName);

// A name as compared for duplicates: accents, case, punctuation and titles ignored
// ("Dr. Chloé" and "chloe" match).
QString nameKey(const QString& name);
// A street address as compared: accents, case and punctuation ignored, common words
// abbreviated ("12 Maple Avenue" and "12 maple ave." match).
QString addressKey(const QString& address);

}  // namespace exchange
