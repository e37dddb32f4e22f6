// The catering report: the summary's rows and the needs by table with each name, laid out on
// pages that turn landscape when the menu is long and repeat the headings on every page.
#include "app/PeopleReports.h"
#include "guests/GuestStore.h"
#include "guests/MemberStore.h"
#include "reports/TableSheet.h"
#include "tests/exchange/ExchangeFixture.h"

using namespace guests;

namespace {

class CateringSheet : public exchangetest::WeddingTest {
protected:
    qint64 party(const QString& last, qint64 table)
    {
        const qint64 key = addGuest(db(), {}, last);
        db().execute("UPDATE Guests SET InvReception = True, tableid = ? WHERE rowid = ?", {table, key});
        return key;
    }
    void member(qint64 party, const QString& first, QStringList needs = {}, const QString& note = {})
    {
        Member m;
        m.party = party;
        m.firstName = first;
        m.lastName = QStringLiteral("Lee");
        m.needs = needs;
        m.needsNote = note;
        addMember(db(), m);
    }
};

}  // namespace

TEST_F(CateringSheet, TheReportPrintsTheSummaryAndTheNeedsByTableWithEachName)
{
    db().execute("INSERT INTO Tables (tablename, tablenumber, max) VALUES ('Oak', 1, 10)");
    const qint64 lee = party("Lee", 1);
    member(lee, "Ann", {"Vegan"});
    member(lee, "Bo", {}, "no mushrooms");
    member(lee, "Cy");
    member(party("Kim", 0), "Kay", {"Gluten-free"});

    const reports::ReportPages pages = reports::layoutTableSheet(app::cateringSheet(db()));
    ASSERT_EQ(pages.pages.size(), 1u);
    const QStringList lines = pages.lines(0);
    EXPECT_EQ(lines[0], "Catering Summary");
    EXPECT_TRUE(
        lines.contains("Table | Adults | Children | Infants | Beef | Salmon | Vegetarian | Kids' meal | "
                       "No meal chosen"));
    EXPECT_TRUE(lines.contains("Oak | 3 | 0 | 0 | 0 | 0 | 0 | 0 | 3"));
    EXPECT_TRUE(lines.contains("Not seated | 1 | 0 | 0 | 0 | 0 | 0 | 0 | 1"));
    EXPECT_TRUE(lines.contains("Total | 4 | 0 | 0 | 0 | 0 | 0 | 0 | 4"));
    const qsizetype needs = lines.indexOf("Dietary needs by table");
    ASSERT_GT(needs, 0);
    EXPECT_EQ(lines.mid(needs + 1), QStringList({"Oak | Ann Lee | Vegan", "Oak | Bo Lee | no mushrooms",
                                                 "Not seated | Kay Lee | Gluten-free"}));
}

TEST(TableSheetLayout, LongTablesRepeatTheirHeadingsAndWideOnesTurnLandscape)
{
    reports::TableSheet sheet;
    sheet.title = "Figures";
    sheet.columns = {"Table", "A", "B"};
    for (int i = 0; i < 120; ++i)
        sheet.rows.push_back({QStringLiteral("Row %1").arg(i), QString::number(i), "1"});
    const reports::ReportPages tall = reports::layoutTableSheet(sheet);
    ASSERT_GT(tall.pages.size(), 1u);
    EXPECT_EQ(tall.orientation, QPageLayout::Portrait);
    EXPECT_EQ(tall.lines(1).first(), "Table | A | B");
    EXPECT_EQ(tall.rowCount, 120);
    // Numbers end at one right edge.
    double right = -1;
    for (const reports::PageText& t : tall.pages[0].texts)
        if (t.text == "1")
            right = t.baseline.x();
    EXPECT_GT(right, 0);

    for (int i = 0; i < 20; ++i)
        sheet.columns << QStringLiteral("A long meal name %1").arg(i);
    EXPECT_EQ(reports::layoutTableSheet(sheet).orientation, QPageLayout::Landscape);
}
