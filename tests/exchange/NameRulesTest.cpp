// Whole envelope names split into title, first and last name with the party's size, and
// the keys that recognise the same party written differently.
#include "exchange/NameRules.h"

#include <gtest/gtest.h>

using namespace exchange;

namespace {

void expectSplit(const QString& whole, const QString& prefix, const QString& first, const QString& last,
                 std::optional<int> people)
{
    const SplitName s = splitWholeName(whole);
    EXPECT_EQ(s.prefix, prefix) << whole.toStdString();
    EXPECT_EQ(s.firstName, first) << whole.toStdString();
    EXPECT_EQ(s.lastName, last) << whole.toStdString();
    EXPECT_EQ(s.people, people) << whole.toStdString();
}

}  // namespace

TEST(WholeNames, TitlesCouplesFamiliesAndGuestsSplitAsAnEnvelopeReads)
{
    expectSplit("Mr. and Mrs. Liam Okafor", "Mr. and Mrs.", "Liam", "Okafor", 2);
    expectSplit("Dr. Grace Moreau", "Dr.", "Grace", "Moreau", 1);
    expectSplit("The Haddad Family", "", "", "Haddad", std::nullopt);
    expectSplit("Haddad family", "", "", "Haddad", std::nullopt);
    expectSplit("Priya Patel & Guest", "", "Priya", "Patel", 2);
    expectSplit("Priya Patel and guest", "", "Priya", "Patel", 2);
    expectSplit("Priya Patel +1", "", "Priya", "Patel", 2);
    expectSplit("John & Jane Smith", "", "John & Jane", "Smith", 2);
    expectSplit("Mr & Mrs Isla Haddad", "Mr & Mrs", "Isla", "Haddad", 2);
    expectSplit("Ms. Zoë Castellanos", "Ms.", "Zoë", "Castellanos", 1);
    expectSplit("Isla MacLeod", "", "Isla", "MacLeod", 1);
    expectSplit("Cher", "", "", "Cher", 1);
    expectSplit("  Okafor,  Liam ", "", "Liam", "Okafor", 1);
}

TEST(WholeNames, ParticlesAndSuffixesStayWithTheLastName)
{
    expectSplit("Mr. and Mrs. Liam van Dijk", "Mr. and Mrs.", "Liam", "van Dijk", 2);
    expectSplit("Dr. Samuel Ó Súilleabháin", "Dr.", "Samuel", "Ó Súilleabháin", 1);
    expectSplit("Maria de la Cruz", "", "Maria", "de la Cruz", 1);
    expectSplit("Martin Luther King Jr.", "", "Martin Luther", "King Jr.", 1);
    expectSplit("Caleb O'Connell", "", "Caleb", "O'Connell", 1);
    expectSplit("Isla Fitzgerald-Hume", "", "Isla", "Fitzgerald-Hume", 1);
}

TEST(MatchKeys, AccentsCaseTitlesAndPunctuationAreIgnored)
{
    EXPECT_EQ(nameKey("Chloé"), nameKey("CHLOE"));
    EXPECT_EQ(nameKey("Dr. Schäfer"), nameKey("schafer"));
    EXPECT_EQ(nameKey("Ó Súilleabháin"), nameKey("o suilleabhain"));
    EXPECT_NE(nameKey("Anna"), nameKey("Hanna"));
    EXPECT_EQ(addressKey("12 Maple Avenue"), addressKey("12 maple ave."));
    EXPECT_EQ(addressKey("350 Fifth Ave, Suite 12"), addressKey("350 Fifth Avenue Suite 12"));
    EXPECT_NE(addressKey("12 Maple Ave"), addressKey("21 Maple Ave"));
}
