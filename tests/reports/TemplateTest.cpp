// Report templates, text patterns and section fonts: reading them, and what a template
// that cannot be read says.
#include "reports/ReportError.h"
#include "reports/ReportTemplate.h"
#include "reports/SectionFont.h"
#include "reports/TextPattern.h"
#include "store/Currency.h"
#include "tests/reports/QtPrinters.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

using namespace reports;

namespace {

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ReportError& e) {
        return e.description();
    }
    return {};
}

const char* const MinimalList =
    "[report]\ntitle = T\nsource = Guests\n\n[column]\nwidth = 1\ntext = {Guests.LastName}\n";

TEST(ReportTemplate, EveryDeliveredTemplateReads)
{
    const QDir dir(testsupport::sourceDir() + "/reports/templates");
    QStringList expected{"guests.rpt", "checklst.rpt", "expense.rpt", "seating.rpt"};
    for (const char* stock : {"5160", "5161", "5162", "5260", "5261", "5262", "5660", "5662", "5663"})
        expected << QString("lbl%1.rpt").arg(stock) << QString("shw%1.rpt").arg(stock);
    for (const QString& name : expected) {
        SCOPED_TRACE(name.toStdString());
        const ReportTemplate t = readTemplate(dir.filePath(name));
        EXPECT_EQ(t.isLabels(), name.startsWith("lbl") || name.startsWith("shw"));
        if (t.isLabels()) {
            EXPECT_EQ(t.select, "{Guests.printit} = True");
            EXPECT_EQ(t.labels->stock, "Avery " + name.mid(3, 4));
        }
    }
    EXPECT_EQ(dir.entryList({"*.rpt"}).size(), expected.size());
}

TEST(ReportTemplate, ReadsSectionsColumnsGroupsAndLabels)
{
    const ReportTemplate t = parseTemplate(
        "# a comment\n[report]\ntitle = Seating\nsource = Guests\njoin = Tables on {Guests.tableid} = "
        "{Tables.TableId}\n"
        "sort = {Tables.tablenumber}, {Guests.LastName} desc\norientation = Landscape\nfont = DejaVu Serif, "
        "11, bold\n"
        "[group]\nby = {Guests.tableid}\nheader = {Tables.tablename}\nheader-when-empty = None\n"
        "[column]\ncaption = Seated\\nat table\nwidth = 0.9\ntext = {Guests.tabletot}\nalign = right\ntotal "
        "= sum\n",
        "x.rpt");
    EXPECT_EQ(t.tables(), QStringList({"Guests", "Tables"}));
    ASSERT_EQ(t.sort.size(), 2u);
    EXPECT_TRUE(t.sort[1].descending);
    EXPECT_EQ(t.sort[1].field.field, "LastName");
    EXPECT_EQ(t.orientation, QPageLayout::Landscape);
    EXPECT_EQ(t.paperInches(), QSizeF(11, 8.5));
    EXPECT_TRUE(t.font.bold());
    EXPECT_EQ(t.columns[0].caption, "Seated\nat table");
    EXPECT_EQ(t.columns[0].total, TemplateColumn::Total::Sum);
    EXPECT_EQ(t.group->key.field, "tableid");
}

TEST(ReportTemplate, ATemplateThatCannotBeReadNamesTheFileAndTheLine)
{
    struct Case {
        QString text;
        int line;
        const char* says;
    };
    const QString list = MinimalList;
    const Case cases[] = {
        {"[report]\ntitle = T\nsource = Guests\n", 0,
         "a report needs [column] sections or a [labels] section"},
        {"[column]\nwidth = 1\n", 1, "the template begins with the [report] section"},
        {list + "widht = 2\n", 8, "the key 'widht' is not known in [column]"},
        {list + "[colum]\n", 8, "the section [colum] is not known"},
        {list + "[column]\nwidth = 0\ntext = x\n", 9, "'width' needs a number from 0.1 to 20"},
        {list + "[column]\nwidth = 1\ntext = {Guests.City\n", 10, "a field name is not closed with }"},
        {list + "[column]\nwidth = 1\ntext = [{Guests.City}\n", 10,
         "an optional part opened with [ is not closed with ]"},
        {list + "[column]\nwidth = 1\ntext = {Guests.City:fancy}\n", 10, "the format 'fancy' is not known"},
        {list + "[column]\nwidth = 1\n", 8, "[column] needs the key 'text'"},
        {list + "[column]\nwidth = 1\ntext = a\ntotal = sum\n", 8,
         "a column with a sum shows exactly one field"},
        {"[report]\ntitle = T\nsource = Guests; DROP TABLE Guests\n", 3, "a table name holds only letters"},
        {"[report]\ntitle = T\ntitle = U\n", 3, "the key 'title' is given twice"},
        {"[report]\ntitle = T\nsource = Guests\nsort = LastName\n", 4, "a field is written in braces"},
        {"[report]\ntitle = T\nsource = Guests\njoin = Tables\n", 4, "a join is written"},
        {"[report]\ntitle = T\nsource = Guests\norientation = sideways\n", 4, "'orientation' is one of"},
        {"[report]\ntitle = T\nsource = Guests\nfont = Serif\n", 4, "a font is written family, size"},
        {"[report]\nsource = Guests\n[column]\nwidth = 1\ntext = x\n", 1, "[report] needs the key 'title'"},
        {"[report]\ntitle = T\nsource = Guests\njust some words\n", 4, "a line is written key = value"},
        {list + "[labels]\n", 8, "a template prints either columns or labels, not both"},
        {"[report]\ntitle = T\nsource = Guests\n[labels]\nlabel-width = 3\nlabel-height = 1\nacross = 3\n"
         "down = 10\nleft = 0.15\ntop = 0.5\nline = x\n",
         4, "the labels do not fit on the sheet"},
        {"[report]\ntitle = T\nsource = Guests\n[labels]\nlabel-width = 2\nlabel-height = 1\nacross = 3\n"
         "down = 10\nleft = 0.15\ntop = 0.5\npitch-across = 1.5\nline = x\n",
         4, "the labels overlap"},
    };
    for (const Case& c : cases) {
        const QString error = errorOf([&] { parseTemplate(c.text, "/x/bad.rpt"); });
        const QString where =
            c.line > 0 ? QString("/x/bad.rpt, line %1: ").arg(c.line) : QString("/x/bad.rpt: ");
        EXPECT_TRUE(error.contains(where + c.says))
            << c.text.toStdString() << "\n -> " << error.toStdString();
    }
}

TEST(ReportTemplate, AMissingOrDamagedFileIsAnErrorNamingIt)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("guests.rpt");
    EXPECT_EQ(errorOf([&] { readTemplate(missing); }), "The report template " + missing + " does not exist.");
    QFile binary(dir.filePath("lbl5160.rpt"));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("[report]\n\0\xff\xfe", 13));
    binary.close();
    EXPECT_TRUE(errorOf([&] {
                    readTemplate(binary.fileName());
                }).contains(binary.fileName() + ": the file is not a text file in UTF-8"));
}

Row rowOf(std::initializer_list<QVariant> values)
{
    return Row(values);
}

QString evaluate(const QString& pattern, const Row& row)
{
    TextPattern p = TextPattern::parse(pattern);
    int next = 0;
    p.bind([&](const FieldName&) { return next++; });
    return p.evaluate(row);
}

TEST(TextPattern, OptionalPartsEscapesAndFormats)
{
    const QString cityLine = "{T.City}[, {T.State}][  {T.Zip}]";
    EXPECT_EQ(evaluate(cityLine, rowOf({"Boston", "MA", "02108"})), "Boston, MA  02108");
    EXPECT_EQ(evaluate(cityLine, rowOf({"Toronto", QVariant(), "M5V 2T6"})), "Toronto  M5V 2T6");
    EXPECT_EQ(evaluate(cityLine, rowOf({"Paris", "", QVariant()})), "Paris");
    EXPECT_EQ(evaluate("{{x}} [[{T.A}]]\\n\\\\", rowOf({"O'Brien"})), "{x} [O'Brien]\n\\");
    EXPECT_EQ(evaluate("{T.Done:check}|{T.Inv:mark=Ceremony}|{T.Inv2:mark=Shower}|{T.R:yesno}",
                       rowOf({true, true, false, QVariant()})),
              QString::fromUtf8("✓|Ceremony||No"));
    EXPECT_EQ(evaluate("{T.Amount}", rowOf({QVariant::fromValue(store::Currency::fromRaw(12345678))})),
              "$1,234.57");
    EXPECT_EQ(evaluate("{T.Amount}", rowOf({QVariant::fromValue(store::Currency::fromRaw(-50100))})),
              "($5.01)");
    EXPECT_EQ(evaluate("{T.N}", rowOf({qint64(1200)})), "1,200");
    EXPECT_EQ(evaluate("{T.Due}", rowOf({QDateTime(QDate(2026, 6, 13), QTime(0, 0))})), "6/13/2026");
    EXPECT_TRUE(evaluate("{T.Due:datetime}", rowOf({QDateTime(QDate(2026, 6, 13), QTime(14, 30))}))
                    .startsWith("6/13/2026 2:30"));
    for (const char* bad : {"{T.A} }", "[a [b]]", "a]", "{T.A:mark}"})
        EXPECT_FALSE(errorOf([&] { TextPattern::parse(bad); }).isEmpty()) << bad;
}

TEST(SectionFont, TheDesignFontReadsAsTheEngineExpectsAndBack)
{
    QFont design("Times New Roman");
    design.setPointSizeF(14.25);
    design.setBold(true);
    design.setItalic(true);
    const QString text = sectionFontText("DETAIL", design);
    EXPECT_EQ(text, "DETAIL;Times New Roman;14.25;True;True;False;False");
    const SectionFont back = parseSectionFont(text);
    EXPECT_EQ(back.font.family(), "Times New Roman");
    EXPECT_DOUBLE_EQ(back.font.pointSizeF(), 14.25);
    EXPECT_TRUE(back.font.italic() && back.font.bold());
    EXPECT_FALSE(back.font.underline() || back.font.strikeOut());

    const SectionFont other = parseSectionFont("detail;Odd;Name;9;false;FALSE;True;true");
    EXPECT_EQ(other.font.family(), "Odd;Name");
    EXPECT_TRUE(other.font.underline() && other.font.strikeOut());

    // The point size is written and read in the system's number format.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(sectionFontText("DETAIL", design), "DETAIL;Times New Roman;14,25;True;True;False;False");
    EXPECT_DOUBLE_EQ(parseSectionFont("DETAIL;Arial;10,5;False;False;False;False").font.pointSizeF(), 10.5);
    QLocale::setDefault(before);

    for (const char* bad : {"DETAIL;Arial;12;True;True;False", "HEADER;Arial;12;True;True;False;False",
                            "DETAIL;Arial;huge;True;True;False;False", "DETAIL;Arial;12;Yes;True;False;False",
                            "DETAIL;;12;True;True;False;False"})
        EXPECT_TRUE(errorOf([&] { parseSectionFont(bad); }).startsWith("The section font")) << bad;
}

TEST(LabelGeometry, LabelsAreCountedAcrossThenDown)
{
    const LabelGeometry g{2.625, 1, 3, 10, 0.15625, 0.5, 2.78125, 1};
    EXPECT_EQ(g.labelsPerSheet(), 30);
    EXPECT_EQ(g.labelRect(0), QRectF(0.15625, 0.5, 2.625, 1));
    EXPECT_EQ(g.labelRect(4).topLeft(), QPointF(0.15625 + 2.78125, 1.5));
    EXPECT_NEAR(g.labelRect(29).right(), 8.34375, 1e-9);
    EXPECT_EQ(g.problem(QSizeF(8.5, 11)), QString());
    EXPECT_FALSE(g.problem(QSizeF(8.0, 11)).isEmpty());
}

}  // namespace
