// The rules of the seating plan, without widgets: how a guest party is named in the
// seating lists, the seat arithmetic of a table, the texts built from counts, the reading
// of the answer to "How many people ... to add?", and the key and seat rules of the table
// editor's boxes.
//
//   seating::partyDisplayText("Mr.", " John ", "Smith")   // "Mr. John Smith"
//   seating::readSeatAnswer("2", 3)                     // {Accepted, 2}
#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace seating {

// The text a party is listed under: its title, first name and last name, each trimmed,
// the ones that are present joined by one blank ("Dr. Eve O'Brien", "John Smith",
// "Smith"). A party without a last name (Null) has no text and is not listed.
std::optional<QString> partyDisplayText(const QVariant& prefix, const QVariant& firstName,
                                        const QVariant& lastName);

// "Person" for a party of one, "People" for any other size.
QString partySizeWord(int people);

// Seats still free at a table; negative when more are assigned than it has.
int freeSeats(int maxSeats, int assigned);

// Caption of a list of parties: the title, two blanks and the count in parentheses
// ("Unassigned Guests " -> "Unassigned Guests   (4)").
QString partyListCaption(const QString& title, int count);
// Caption of the table list: "Tables  (6)".
QString tablesCaption(int count);

// The question asked before a party is seated.
QString seatPromptText(const QString& party, int free);
QString seatPromptTitle(const QString& tableName);

// What an answer to the seat prompt means.
struct SeatAnswer {
    enum class Kind {
        Cancelled,  // nothing typed, or the prompt was cancelled: stop without a change
        AskAgain,   // not a whole number of people (letters, negative, fractional): ask again
        Zero,       // 0 people: explain and ask again
        TooMany,    // more than the free seats: refuse and ask again
        Accepted,   // seat this many
    };
    Kind kind = Kind::Cancelled;
    int people = 0;  // Accepted only
};
// answer: the text typed (empty when the prompt was cancelled); free: the free seats.
SeatAnswer readSeatAnswer(const QString& answer, int free);

// The table editor's number boxes (number, seats, assigned) take only digits and "$";
// every other character, Backspace included, is discarded.
bool numberBoxAccepts(int keyAscii);
// True when the seat box holds a number of seats other than 0, read as the store will
// read it when the row is saved.
bool seatsGiven(const QString& text);
// The seat counts (maximum and assigned seats) are 16-bit numbers. For a box text that
// the store would read as a number beyond that range: the message that refuses it,
// naming the box by its caption ("Maximum Seats"). Nothing for any other text.
std::optional<QString> seatCountProblem(const QString& caption, const QString& text);

// Numbers of the seating plan are read as 16-bit integers; Null counts as 0.
inline int countOf(const QVariant& value)
{
    return qint16(value.toInt());
}

}  // namespace seating
