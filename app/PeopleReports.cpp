#include "app/PeopleReports.h"

#include "guests/PeopleLists.h"
#include "guests/PlaceCards.h"
#include "shell/Program.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

namespace app {

reports::TableSheet cateringSheet(store::Database& db)
{
    const guests::CateringSummary summary = guests::cateringOf(guests::loadPeople(db));
    reports::TableSheet sheet;
    sheet.title = QStringLiteral("Catering Summary");
    const QString couple = QStringList{shell::program().BrideName, shell::program().GroomName}
                               .filter(QRegularExpression(QStringLiteral("\\S")))
                               .join(QStringLiteral(" & "));
    sheet.subtitle = QStringLiteral(
                         "%1%2 people expected at the reception (attending, or invited and not yet "
                         "replied).\nPrinted %3.")
                         .arg(couple.isEmpty() ? QString() : couple + QStringLiteral(": "))
                         .arg(summary.rows.back().people())
                         .arg(QLocale().toString(QDate::currentDate(), QLocale::LongFormat));
    sheet.columns = summary.columns;
    for (const guests::CateringRow& row : summary.rows)
        sheet.rows.push_back(guests::CateringSummary::cells(row));
    reports::TableSheet::Section needs;
    needs.heading = QStringLiteral("Dietary needs by table");
    for (const guests::NeedAtTable& need : summary.needs)
        needs.lines.push_back({need.table, need.name, need.needs});
    if (needs.lines.empty())
        needs.lines.push_back({QStringLiteral("No one expected has a dietary need.")});
    sheet.sections.push_back(needs);
    return sheet;
}

reports::CardList cardList(store::Database& db, bool escort)
{
    const guests::WeddingPeople people = guests::loadPeople(db);
    const guests::Cards cards = escort ? guests::escortCardsOf(people) : guests::placeCardsOf(people);
    reports::CardList list;
    list.title = escort ? QStringLiteral("Escort Cards") : QStringLiteral("Place Cards");
    list.cards.reserve(cards.cards.size());
    for (const guests::PlaceCard& card : cards.cards)
        list.cards.push_back(card.lines());
    list.notSeated = guests::notSeatedNote(cards);
    return list;
}

void registerPeopleReports()
{
    reports::setTableSheetSource([] { return cateringSheet(shell::database()); });
    reports::setCardSource([](bool escort) { return cardList(shell::database(), escort); });
}

}  // namespace app
