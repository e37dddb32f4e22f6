// What a column of an imported guest list can hold: the guest fields it may be mapped
// to, the guess from the column's header, and how each kind of cell is read.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace exchange {

enum class GuestField {
    NotImported,
    WholeName,  // "Mr. and Mrs. Liam Okafor": split into title, first and last name
    Prefix,
    FirstName,
    LastName,
    Address,
    City,
    State,
    PostalCode,
    Country,
    HomePhone,
    Side,       // whose guest: read into "Bride", "Groom" or "Both"
    Invited,    // people invited to the reception
    Rsvp,       // the party's answer (yes / no / blank): reply received, and whether coming
    Confirmed,  // reply received (yes/no)
    Attending,  // people coming to the reception
    Ceremony,   // invited to the event (x / yes / true)
    Reception,
    Shower,
    Rehearsal,
    ShowerInvited,
    ShowerReplied,
    ShowerComing,
    WeddingLabel,
    ShowerLabel,
    // A list of people, one row per person: the column that groups them into parties, and
    // what each person's row says of them.
    Group,
    AgeGroup,
    Child,    // x / yes: a child
    PlusOne,  // yes: brought by the person named before them; or the name of who brings them
    Meal,
    Needs,  // may fill several columns ("Dietary Needs", "Allergies"): their texts are joined
    Email,
    Mobile,
};

enum class FieldKind { Text, Count, YesNo, Side, Answer, Name, Group, Person };

struct GuestFieldInfo {
    GuestField field;
    QString key;      // the name on the command line (the stored field's name where there is one)
    QString caption;  // as the wizard lists it
    QString column;   // the Guests field written, "" for fields that are read into others
    FieldKind kind;
};

// Every field but NotImported, in the order the wizard offers them.
const std::vector<GuestFieldInfo>& guestFields();
const GuestFieldInfo& fieldInfo(GuestField field);
std::optional<GuestField> fieldByKey(const QString& key);  // case-insensitive key or caption

// The field a header names in the layouts couples bring (address books, mail programs,
// home-made sheets, this program's own export); NotImported when it names none.
GuestField guessField(const QString& header);
// One guess per header; a field is given to the first header that names it only (the
// dietary needs excepted). A header "Household", "Party", "Family", "Group" or "Invitation"
// beside a column of names makes the file a list of people: that column groups them into
// parties, and the columns of each person (age group, meal, needs, e-mail, mobile, ...) are
// read; without one the file is a list of parties, read as it always was.
std::vector<GuestField> guessMapping(const QStringList& headers);
// The person's field a header names in a list of people (NotImported when none).
GuestField guessPersonField(const QString& header);
// Once a column groups the rows into parties: the columns left out that name a person's value
// are read for each person, and a mobile column guessed as the party's phone is the person's.
void guessPeopleColumns(std::vector<GuestField>& mapping, const QStringList& headers);
// Whether the field is read for each person of a list of people.
bool isPersonField(GuestField field);
// Whether a mapping makes the file a list of people grouped into parties.
bool groupsPeople(const std::vector<GuestField>& mapping);

// ---- cells ---------------------------------------------------------------------------

// x, yes, y, true, 1, ✓ -> true; blank, no, n, false, 0, - -> false; anything else nullopt.
std::optional<bool> readYesNo(const QString& text);
// A whole number of people in digits ("2", " 3 ", "2.0"); blank reads nullopt with ok; text,
// fractions and other notations ("1e3") are not ok.
struct CountCell {
    bool ok = true;
    std::optional<int> value;
};
CountCell readCount(const QString& text);
// "Bride", "bride's family" -> Bride; "Groom (work)" -> Groom; "both", "mutual", a text
// naming bride and groom -> Both. The couple's own first names count too. Blank: "".
// nullopt: a text that names no side.
std::optional<QString> readSide(const QString& text, const QString& brideName = {},
                                const QString& groomName = {});
// An RSVP answer: yes/accepted/attending -> true, no/declined/regrets -> false,
// blank/pending/maybe -> no answer yet (nullopt with ok); anything else not ok.
struct AnswerCell {
    bool ok = true;
    std::optional<bool> coming;
};
AnswerCell readAnswer(const QString& text);

}  // namespace exchange
