#include "seating/SeatRules.h"

#include <gtest/gtest.h>

using namespace seating;
using Kind = SeatAnswer::Kind;

TEST(PartyDisplayText, JoinsThePartsThatArePresentWithOneBlank)
{
    EXPECT_EQ(partyDisplayText("Mr. and Mrs.", " John ", "Smith"), "Mr. and Mrs. John Smith");
    EXPECT_EQ(partyDisplayText(QVariant(), "Pieter", "van der Berg"), "Pieter van der Berg");  // no title
    EXPECT_EQ(partyDisplayText("Dr.", QVariant(), "Adams"), "Dr. Adams");  // no first name
    EXPECT_EQ(partyDisplayText("", "  ", "Smith"), "Smith");               // blanks count as absent
    EXPECT_EQ(partyDisplayText("Ms.", "Siobhan", "O'Brien"), "Ms. Siobhan O'Brien");
}

TEST(PartyDisplayText, APartyWithoutLastNameIsNotListed)
{
    EXPECT_FALSE(partyDisplayText("Mr.", "John", QVariant()));
    EXPECT_FALSE(partyDisplayText(QVariant(), QVariant(), QVariant()));
}

TEST(SeatingTexts, CountsAndWordsWithTheirBlanks)
{
    EXPECT_EQ(partySizeWord(1), "Person");
    EXPECT_EQ(partySizeWord(0), "People");
    EXPECT_EQ(partySizeWord(4), "People");
    EXPECT_EQ(partyListCaption("Unassigned Guests ", 0), "Unassigned Guests   (0)");
    EXPECT_EQ(partyListCaption("Assigned Guests ", 12), "Assigned Guests   (12)");
    EXPECT_EQ(tablesCaption(6), "Tables  (6)");
    EXPECT_EQ(seatPromptText("Ms. Siobhan O'Brien", 3),
              "How many people in the group of\nMs. Siobhan O'Brien to add?\n\nYou have 3 available seats at "
              "this table.");
    EXPECT_EQ(seatPromptTitle("Head Table"), "Assign Guests to Head Table");
    EXPECT_EQ(freeSeats(8, 3), 5);
    EXPECT_EQ(freeSeats(8, 10), -2);
}

TEST(SeatAnswer, EmptyEndsZeroAndTooManyAreExplainedOtherTextAsksAgain)
{
    EXPECT_EQ(readSeatAnswer("", 3).kind, Kind::Cancelled);
    EXPECT_EQ(readSeatAnswer("0", 3).kind, Kind::Zero);
    EXPECT_EQ(readSeatAnswer("4", 3).kind, Kind::TooMany);
    EXPECT_EQ(readSeatAnswer("99999999999999999999999", 3).kind, Kind::TooMany);
    EXPECT_EQ(readSeatAnswer("abc", 3).kind, Kind::AskAgain);
    EXPECT_EQ(readSeatAnswer("   ", 3).kind, Kind::AskAgain);
    const SeatAnswer three = readSeatAnswer(" 3 ", 3);
    EXPECT_EQ(three.kind, Kind::Accepted);
    EXPECT_EQ(three.people, 3);
    EXPECT_EQ(readSeatAnswer("+2", 3).people, 2);
}

TEST(SeatAnswer, NegativeAndFractionalAnswersAreNotCounts)
{
    EXPECT_EQ(readSeatAnswer("-2", 3).kind, Kind::AskAgain);
    EXPECT_EQ(readSeatAnswer("1.5", 3).kind, Kind::AskAgain);
    EXPECT_EQ(readSeatAnswer("2.0", 3).kind, Kind::AskAgain);
    // More seated than seats: every positive answer is refused.
    EXPECT_EQ(readSeatAnswer("1", -2).kind, Kind::TooMany);
}

TEST(TableEditorRules, NumberBoxesTakeDigitsAndDollarOnly)
{
    for (char c : std::string("0123456789$"))
        EXPECT_TRUE(numberBoxAccepts(c)) << c;
    for (int c : {int('a'), int('-'), int('.'), int(' '), 8, 13})
        EXPECT_FALSE(numberBoxAccepts(c)) << c;
}

TEST(TableEditorRules, SeatsMustBeANumberOtherThanZero)
{
    EXPECT_FALSE(seatsGiven(""));
    EXPECT_FALSE(seatsGiven("0"));
    EXPECT_FALSE(seatsGiven("$"));
    EXPECT_TRUE(seatsGiven("8"));
    EXPECT_TRUE(seatsGiven("$10"));
}
