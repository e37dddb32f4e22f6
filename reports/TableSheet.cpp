#include "reports/TableSheet.h"

#include <QGuiApplication>

#include <algorithm>

namespace reports {

namespace {

constexpr double Margin = 36;  // half an inch
constexpr double CellGap = 10;

bool isNumber(const QString& text)
{
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

// Lays out line after line, starting a page whenever the next would not fit.
class SheetWriter {
public:
    explicit SheetWriter(ReportPages& pages) : pages_(pages) { newPage(); }

    bool fits(double height) const { return y_ + height <= pages_.size.height() - Margin; }
    void newPage()
    {
        pages_.pages.emplace_back();
        y_ = Margin;
    }
    void ensure(double height, const std::function<void()>& onNewPage = {})
    {
        if (!fits(height)) {
            newPage();
            if (onNewPage)
                onNewPage();
        }
    }
    // One line of cells, each at its x (right-aligned ones end there).
    void line(const QStringList& cells, const std::vector<double>& xs, const std::vector<bool>& right,
              int font, const TextMeasure& measure)
    {
        const double baseline = y_ + measure.ascent();
        for (qsizetype c = 0; c < cells.size() && size_t(c) < xs.size(); ++c) {
            const double x = right[size_t(c)] ? xs[size_t(c)] - measure.width(cells[c]) : xs[size_t(c)];
            pages_.pages.back().texts.push_back({QPointF(x, baseline), cells[c], font});
        }
        y_ += measure.lineSpacing();
    }
    void rule(double left, double right)
    {
        pages_.pages.back().rules.emplace_back(left, y_ + 1, right, y_ + 1);
        y_ += 4;
    }
    void skip(double height) { y_ += height; }

private:
    ReportPages& pages_;
    double y_ = 0;
};

}  // namespace

ReportPages layoutTableSheet(const TableSheet& sheet)
{
    ReportPages pages;
    pages.title = sheet.title;
    QFont base(QStringLiteral("Helvetica"), 10);
    QFont bold = base;
    bold.setBold(true);
    QFont title(QStringLiteral("Helvetica"), 16, QFont::Bold);
    const int baseFont = pages.addFont(pageFont(base));
    const int boldFont = pages.addFont(pageFont(bold));
    const int titleFont = pages.addFont(pageFont(title));
    const TextMeasure plain(base), strong(bold), big(title);

    // Column widths: the widest text of each column, headings included.
    const qsizetype columns = sheet.columns.size();
    std::vector<double> widths(size_t(columns), 0);
    std::vector<bool> right(size_t(columns), false);
    for (qsizetype c = 0; c < columns; ++c) {
        widths[size_t(c)] = strong.width(sheet.columns[c]);
        bool numbers = c > 0 && !sheet.rows.empty();
        for (const QStringList& row : sheet.rows) {
            widths[size_t(c)] = std::max(widths[size_t(c)], strong.width(row.value(c)));
            numbers = numbers && isNumber(row.value(c));
        }
        right[size_t(c)] = numbers;
    }
    double tableWidth = 0;
    for (double w : widths)
        tableWidth += w + CellGap;
    const QSizeF letter = QPageSize(QPageSize::Letter).size(QPageSize::Point);
    pages.orientation =
        tableWidth > letter.width() - 2 * Margin ? QPageLayout::Landscape : QPageLayout::Portrait;
    pages.size = pages.orientation == QPageLayout::Landscape ? letter.transposed() : letter;
    std::vector<double> xs;
    double x = Margin;
    for (qsizetype c = 0; c < columns; ++c) {
        xs.push_back(right[size_t(c)] ? x + widths[size_t(c)] : x);
        x += widths[size_t(c)] + CellGap;
    }
    const double tableRight = std::min(x, pages.size.width() - Margin);

    SheetWriter out(pages);
    out.line({sheet.title}, {Margin}, {false}, titleFont, big);
    for (const QString& line : sheet.subtitle.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out.line({line}, {Margin}, {false}, baseFont, plain);
    out.skip(8);
    auto headings = [&] {
        out.line(sheet.columns, xs, right, boldFont, strong);
        out.rule(Margin, tableRight);
    };
    headings();
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
        const bool last = r + 1 == sheet.rows.size();
        out.ensure(plain.lineSpacing() + (last ? 4 : 0), headings);
        if (last)
            out.rule(Margin, tableRight);
        out.line(sheet.rows[r], xs, right, last ? boldFont : baseFont, last ? strong : plain);
        pages.rowCount++;
    }
    for (const TableSheet::Section& section : sheet.sections) {
        out.skip(14);
        out.ensure(strong.lineSpacing() * 2);
        out.line({section.heading}, {Margin}, {false}, boldFont, strong);
        out.rule(Margin, tableRight);
        // The columns of the section's lines: the widest text of each.
        std::vector<double> lineXs;
        double lx = Margin;
        for (size_t c = 0;; ++c) {
            double widest = -1;
            for (const QStringList& line : section.lines)
                if (qsizetype(c) < line.size())
                    widest = std::max(widest, plain.width(line[qsizetype(c)]));
            if (widest < 0)
                break;
            lineXs.push_back(lx);
            lx += widest + 2 * CellGap;
        }
        const std::vector<bool> left(lineXs.size(), false);
        for (const QStringList& line : section.lines) {
            out.ensure(plain.lineSpacing());
            out.line(line, lineXs, left, baseFont, plain);
        }
    }
    return pages;
}

namespace {

TableSheetSource& source()
{
    static TableSheetSource s;
    return s;
}

}  // namespace

void setTableSheetSource(TableSheetSource s)
{
    source() = std::move(s);
}

const TableSheetSource& tableSheetSource()
{
    return source();
}

}  // namespace reports
