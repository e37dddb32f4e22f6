// How members are given seats round a table: kept seats stay, each party sits in the first
// run of free seats long enough, round the table, and an overbooked table leaves the last
// members without a seat rather than two in one seat.
#include "seating/MemberSeats.h"

#include <gtest/gtest.h>

using seating::assignSeats;
using seating::MemberKey;

namespace {

std::vector<int> seatsOf(const std::map<MemberKey, int>& given, const std::vector<MemberKey>& members)
{
    std::vector<int> seats;
    for (MemberKey m : members)
        seats.push_back(given.count(m) ? given.at(m) : -1);
    return seats;
}

}  // namespace

TEST(MemberSeatRules, PartiesSitSideBySideInMemberOrderAndAroundKeptSeats)
{
    // Nothing kept: party after party from the first seat.
    auto given = assignSeats(8, {{1, 2, 3}, {4, 5}}, {});
    EXPECT_EQ(seatsOf(given, {1, 2, 3, 4, 5}), (std::vector<int>{0, 1, 2, 3, 4}));

    // A kept seat stays; the others of its party and the next party take the free runs.
    given = assignSeats(6, {{1, 2}, {10, 11}}, {{10, 2}});
    EXPECT_EQ(seatsOf(given, {1, 2, 10, 11}), (std::vector<int>{0, 1, 2, 3}));

    // A run may go round past the last seat to the first.
    given = assignSeats(6, {{7}, {8}, {1, 2, 3}}, {{7, 1}, {8, 2}});
    EXPECT_EQ(seatsOf(given, {1, 2, 3}), (std::vector<int>{3, 4, 5}));
    given = assignSeats(6, {{7}, {1, 2, 3}}, {{7, 2}});
    EXPECT_EQ(seatsOf(given, {1, 2, 3}), (std::vector<int>{3, 4, 5}));
    given = assignSeats(6, {{7}, {1, 2, 3, 4}}, {{7, 3}});
    EXPECT_EQ(seatsOf(given, {1, 2, 3, 4}), (std::vector<int>{4, 5, 0, 1}));
}

TEST(MemberSeatRules, NoRunLongEnoughSplitsFromTheLongestAndAFullTableSeatsNoMore)
{
    // Free: 0, 2, 3, 5 (runs 2-3 and 5-0): the party starts at the first longest run.
    auto given = assignSeats(6, {{7}, {8}, {1, 2, 3}}, {{7, 1}, {8, 4}});
    EXPECT_EQ(seatsOf(given, {1, 2, 3}), (std::vector<int>{2, 3, 5}));

    // Five people for four seats: the last has none, and no seat is given twice.
    given = assignSeats(4, {{1, 2, 3}, {4, 5}}, {});
    EXPECT_EQ(seatsOf(given, {1, 2, 3, 4, 5}), (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_TRUE(assignSeats(0, {{1}}, {}).empty());
}

TEST(MemberSeatRules, KeptSeatsThatNoLongerFitAreGivenAgain)
{
    // Seat 9 of a table cut down to 4 seats, a negative seat, and a seat kept twice (the
    // first member in order keeps it).
    const auto given = assignSeats(4, {{1, 2}, {3}}, {{1, 9}, {2, -1}, {3, 0}, {4, 0}});
    EXPECT_EQ(seatsOf(given, {1, 2, 3}), (std::vector<int>{1, 2, 0}));
    const auto twice = assignSeats(4, {{1}, {2}}, {{1, 3}, {2, 3}});
    EXPECT_EQ(seatsOf(twice, {1, 2}), (std::vector<int>{3, 0}));
}
