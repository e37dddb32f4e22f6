#include "app/PeopleReports.h"

#include "guests/PeopleLists.h"
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

void registerPeopleReports()
{
    reports::setTableSheetSource([] { return cateringSheet(shell::database()); });
}

}  // namespace app
