// Place cards and escort cards laid out on sheets of card stock: each card carries a few
// lines (the first, a name, the largest), centred and shrunk to the card's width where they
// are long. A tent card is folded across its middle: the lines are printed upright on the
// lower half, the face turned to the guests, and turned half a turn on the upper half, so
// the card reads the same from both sides of the table.
//
//     const reports::CardStock* stock = reports::cardStockOf("tent");
//     reports::writePdf(reports::layoutCards({{"Ann Lee", "Oak · Table 1", "B"}}, *stock, "Place Cards"),
//                       "cards.pdf");
#pragma once

#include "reports/LabelGeometry.h"
#include "reports/ReportPages.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace reports {

struct CardStock {
    QString key;             // "tent", "flat": as the command line names it
    QString caption;         // as the reports window offers it
    LabelGeometry geometry;  // of the cards unfolded, inches on Letter paper
    bool folded = false;     // folded across the middle, printed on the lower half
};

// The stocks, tent cards first.
const std::vector<CardStock>& cardStocks();
// The stock of that key, null for another text.
const CardStock* cardStockOf(const QString& key);

// One card after the other, across then down, sheet after sheet; an empty line is left out.
// Without cards the pages hold one empty sheet.
ReportPages layoutCards(const std::vector<QStringList>& cards, const CardStock& stock, const QString& title);

// The cards of the open wedding for the reports window (none until the program registers a
// source): the lines of each card, and a sentence on the expected people who have none because
// they are not seated. It may throw store::StoreError.
struct CardList {
    QString title;  // "Place Cards", "Escort Cards"
    std::vector<QStringList> cards;
    QString notSeated;  // who has no card because they are not seated; empty: no one
};
using CardSource = std::function<CardList(bool escort)>;
void setCardSource(CardSource source);
const CardSource& cardSource();

}  // namespace reports
