// Lists of the wedding's people for those who work from them: one row per member for the
// export, and for the kitchen the catering summary (per table the people expected at the
// reception by age group and meal) with the dietary needs by table.
#pragma once

#include "guests/MemberStore.h"

#include <QStringList>
#include <QVariantList>

#include <vector>

namespace guests {

// "Party", "Name", "Age Group", "Plus-One Of", "Meal", "Dietary Needs", "E-mail", "Mobile",
// "Reception", "Table".
const QStringList& memberListColumns();
// One row per member, party by party in last-name order and the members in their order.
std::vector<QStringList> memberListRows(const WeddingPeople& people);

struct CateringRow {
    QString label;  // the table's name, "Not seated" or "Total"
    int adults = 0;
    int children = 0;
    int infants = 0;
    std::vector<int> meals;  // by the menu's order
    int noMeal = 0;
    int people() const { return adults + children + infants; }
};

struct NeedAtTable {
    QString table;  // as the row's label
    QString name;
    QString needs;
    size_t row = 0;  // of the summary's rows
};

struct CateringSummary {
    QStringList columns;             // "Table", "Adults", "Children", "Infants", each meal, "No meal chosen"
    std::vector<CateringRow> rows;   // each table in number order, "Not seated", last "Total"
    std::vector<NeedAtTable> needs;  // expected people with needs, by table then name
    // The row's cells in the order of columns.
    static QStringList cells(const CateringRow& row);
};

// The people the kitchen cooks for (expectedAtReception): members attending the reception, and
// members of parties invited to it who have not replied; declined members are left out. A party
// seated at a table that no longer exists counts as not seated.
CateringSummary cateringOf(const WeddingPeople& people);

// Counts over everyone for the guest summary's people view.
struct PeopleFigures {
    int members = 0;
    int attending = 0;  // at the reception
    int declined = 0;
    int noReply = 0;  // members of parties invited to the reception without a reply
    int adults = 0;
    int children = 0;
    int infants = 0;
    std::vector<std::pair<QString, int>> meals;  // each meal: members attending or not replied with it
    int noMeal = 0;                              // of those expected, no meal chosen
    std::vector<std::pair<QString, int>> needs;  // each common need, then "Other", of those expected
};
PeopleFigures peopleFiguresOf(const WeddingPeople& people);
// The figures as the Summary tab's people view shows them, a line each: "12 people in 5
// parties: 7 attending, 2 declined, 3 no reply", the age groups, the meals, the needs.
QStringList peopleLines(const PeopleFigures& figures);

}  // namespace guests
