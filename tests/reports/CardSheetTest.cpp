// Card stock and the cards on it: the stocks' geometry to a hundredth of an inch on Letter
// paper, every card on its place of the sheet, a tent card readable from both sides, long
// names shrunk to the card, and the pages painted into a PDF file.
#include "reports/CardSheet.h"
#include "reports/ReportOutput.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace reports;

namespace {

constexpr double Hundredth = 0.01;
const QSizeF Letter(8.5, 11);

QStringList texts(const std::vector<PageText>& which, const QRectF& box)
{
    QStringList out;
    for (const PageText& t : which)
        if (box.contains(t.baseline))
            out << t.text;
    return out;
}

}  // namespace

TEST(CardStocks, TentAndFlatCardsLieOnLetterPaperWhereTheStockHasThem)
{
    ASSERT_EQ(cardStocks().size(), 2u);
    const CardStock* tent = cardStockOf("tent");
    const CardStock* flat = cardStockOf("flat");
    ASSERT_TRUE(tent && flat);
    EXPECT_EQ(cardStockOf("Tent"), nullptr);
    EXPECT_TRUE(tent->folded);
    EXPECT_FALSE(flat->folded);
    for (const CardStock& stock : cardStocks())
        EXPECT_EQ(stock.geometry.problem(Letter), QString()) << stock.key.toStdString();

    // Tent: 3.5 x 4 in unfolded (3.5 x 2 folded), two by two, centred on the sheet.
    EXPECT_EQ(tent->geometry.labelsPerSheet(), 4);
    const QRectF first = tent->geometry.labelRect(0), last = tent->geometry.labelRect(3);
    EXPECT_NEAR(first.left(), 0.75, Hundredth);
    EXPECT_NEAR(first.top(), 1.5, Hundredth);
    EXPECT_NEAR(first.width(), 3.5, Hundredth);
    EXPECT_NEAR(first.height(), 4.0, Hundredth);
    EXPECT_NEAR(8.5 - last.right(), first.left(), Hundredth);
    EXPECT_NEAR(11 - last.bottom(), first.top(), Hundredth);

    // Flat: 3.5 x 2 in, two by five, edge to edge.
    EXPECT_EQ(flat->geometry.labelsPerSheet(), 10);
    EXPECT_NEAR(flat->geometry.labelRect(0).left(), 0.75, Hundredth);
    EXPECT_NEAR(flat->geometry.labelRect(0).top(), 0.5, Hundredth);
    EXPECT_NEAR(flat->geometry.labelRect(9).right(), 7.75, Hundredth);
    EXPECT_NEAR(flat->geometry.labelRect(9).bottom(), 10.5, Hundredth);
    EXPECT_NEAR(flat->geometry.labelRect(1).left() - flat->geometry.labelRect(0).right(), 0, Hundredth);
}

TEST(CardLayout, EachCardIsPrintedOnItsPlaceSheetAfterSheet)
{
    std::vector<QStringList> cards;
    for (int i = 0; i < 11; ++i)
        cards.push_back({QStringLiteral("Guest %1").arg(i), QStringLiteral("Table %1").arg(i / 4 + 1), "B"});
    const CardStock& flat = *cardStockOf("flat");
    const ReportPages pages = layoutCards(cards, flat, "Escort Cards");
    EXPECT_EQ(pages.title, "Escort Cards");
    EXPECT_EQ(pages.paper, QPageSize::Letter);
    ASSERT_EQ(pages.pages.size(), 2u);
    EXPECT_EQ(pages.rowCount, 11);
    ASSERT_EQ(pages.pages[0].labels.size(), 10u);
    ASSERT_EQ(pages.pages[1].labels.size(), 1u);
    // The outline of card 3 is the stock's, in points.
    const QRectF inches = flat.geometry.labelRect(3);
    EXPECT_EQ(pages.pages[0].labels[3], QRectF(inches.topLeft() * 72, inches.size() * 72));
    EXPECT_EQ(pages.labelLines(0, 3), QStringList({"Guest 3", "Table 1", "B"}));
    EXPECT_EQ(pages.labelLines(1, 0), QStringList({"Guest 10", "Table 3", "B"}));
    EXPECT_TRUE(pages.pages[0].turned.empty());  // flat cards are read from one side

    // Empty lines are left out; no card at all is one empty sheet.
    EXPECT_EQ(layoutCards({{"Ann Lee", "Table 1", ""}}, flat, "x").labelLines(0, 0),
              QStringList({"Ann Lee", "Table 1"}));
    const ReportPages none = layoutCards({}, flat, "x");
    ASSERT_EQ(none.pages.size(), 1u);
    EXPECT_TRUE(none.pages[0].texts.empty());
}

TEST(CardLayout, ATentCardReadsTheSameFromBothSidesAndLongNamesShrinkToTheCard)
{
    const CardStock& tent = *cardStockOf("tent");
    const QString longName =
        QString::fromUtf8("Maximiliane Wilhelmina Aurélie von Hohenzollern-Sigmaringen 🎉🎊🥂");
    const ReportPages pages =
        layoutCards({{"Ann Lee", "Oak · Table 2", "B"}, {longName, "Table 1", ""}}, tent, "Place Cards");
    const Page& page = pages.pages.at(0);
    const QRectF card = page.labels.at(0);
    const QRectF lower(card.left(), card.center().y(), card.width(), card.height() / 2);
    const QRectF upper(card.left(), card.top(), card.width(), card.height() / 2);
    // Upright on the lower half, nothing upright above the fold.
    EXPECT_EQ(texts(page.texts, lower), QStringList({"Ann Lee", "Oak · Table 2", "B"}));
    EXPECT_TRUE(texts(page.texts, upper).isEmpty());
    // Turned on the upper half: each text the lower one turned half a turn about the card's centre.
    ASSERT_EQ(page.turned.size(), 5u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(page.turned[i].text, page.texts[i].text);
        EXPECT_TRUE(upper.contains(page.turned[i].baseline));
        const QPointF mirrored = 2 * card.center() - page.texts[i].baseline;
        EXPECT_NEAR(page.turned[i].baseline.x(), mirrored.x(), 1e-6);
        EXPECT_NEAR(page.turned[i].baseline.y(), mirrored.y(), 1e-6);
    }
    // Centred across the card, and a long name shrunk so that it stays inside its card.
    for (size_t i = 0; i < page.texts.size(); ++i) {
        const PageText& t = page.texts[i];
        const double width = TextMeasure(pages.fonts.at(t.font)).width(t.text);
        const QRectF box = page.labels.at(i < 3 ? 0 : 1);
        EXPECT_GE(t.baseline.x(), box.left()) << t.text.toStdString();
        EXPECT_LE(t.baseline.x() + width, box.right() + 0.5) << t.text.toStdString();
        EXPECT_NEAR((t.baseline.x() - box.left()) - (box.right() - t.baseline.x() - width), 0, 1.0)
            << t.text.toStdString();
    }
    EXPECT_LT(pages.fonts.at(page.texts[3].font).pointSizeF(),
              pages.fonts.at(page.texts[0].font).pointSizeF());
}

TEST(CardLayout, TheCardsArePaintedIntoAPdfFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.pdf");
    writePdf(layoutCards({{"Ann Lee", "Oak · Table 2", "B"}}, *cardStockOf("tent"), "Place Cards"), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
}
