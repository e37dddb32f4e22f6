// Money rules of the expense tracker, without widgets: exact fixed-point arithmetic
// (store::Currency), never floating point.
#pragma once

#include "store/Currency.h"

#include <QString>

#include <optional>

namespace budget {

// Columns of the expense grid.
enum Column { ColDescription = 0, ColUnitCost, ColQty, ColDeposit, ColPaid, ColTotal, ColOwing };

// The text an empty cell of a column takes before a change of its row is stored: "1" for
// Qty, "0" for the amounts, nothing for Description.
QString emptyCellDefault(int column);

// Columns whose typed text must be a number: Unit Cost, Qty, Deposit, Paid and Total.
inline bool mustBeNumber(int column)
{
    return column >= ColUnitCost && column <= ColTotal;
}

// A quantity in whole units, as the table keeps it: rounded half away from zero.
qint64 wholeQuantity(store::Currency quantity);

// Unit cost times quantity; nothing when the product is beyond what an amount can hold.
std::optional<store::Currency> lineTotal(store::Currency unitCost, qint64 quantity);

// What is still owing on a row: total less deposit and payment (negative when overpaid).
store::Currency owingOf(store::Currency total, store::Currency deposit, store::Currency paid);

// The sums shown under the grid.
struct ExpenseSums {
    store::Currency total;
    store::Currency owing;
    void add(store::Currency rowTotal, store::Currency rowOwing)
    {
        total += rowTotal;
        owing += rowOwing;
    }
};

// A sum as the labels show it: pattern "##,##0.00" (grouping, exactly two decimals rounded
// half away from zero, no currency sign; "-1,234.50" when negative), in the user's
// separators.
QString sumText(store::Currency amount);

}  // namespace budget
