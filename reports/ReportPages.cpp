#include "reports/ReportPages.h"

#include "store/Currency.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>

namespace reports {

int ReportPages::addFont(const QFont& font)
{
    for (size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i] == font)
            return int(i);
    fonts.push_back(font);
    return int(fonts.size() - 1);
}

QStringList ReportPages::lines(int page) const
{
    std::map<long, std::vector<const PageText*>> byBaseline;  // tenths of a point
    for (const PageText& t : pages.at(page).texts)
        byBaseline[std::lround(t.baseline.y() * 10)].push_back(&t);
    QStringList out;
    for (auto& [y, texts] : byBaseline) {
        std::sort(texts.begin(), texts.end(),
                  [](const PageText* a, const PageText* b) { return a->baseline.x() < b->baseline.x(); });
        QStringList parts;
        for (const PageText* t : texts)
            parts << t->text;
        out << parts.join(" | ");
    }
    return out;
}

QStringList ReportPages::labelLines(int page, int label) const
{
    const Page& p = pages.at(page);
    const QRectF box = p.labels.at(label);
    std::vector<const PageText*> inside;
    for (const PageText& t : p.texts)
        if (box.contains(t.baseline))
            inside.push_back(&t);
    std::sort(inside.begin(), inside.end(),
              [](const PageText* a, const PageText* b) { return a->baseline.y() < b->baseline.y(); });
    QStringList out;
    for (const PageText* t : inside)
        out << t->text;
    return out;
}

namespace {

// Text is measured at ten times the point size on a 72 dpi device, then scaled back.
constexpr double MeasureScale = 10.0;

const QImage& measureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = int(72.0 * MeasureScale / 0.0254 + 0.5);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

}  // namespace

QFont pageFont(const QFont& font)
{
    QFont f = font;
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

TextMeasure::TextMeasure(const QFont& font)
    : metrics_(pageFont(font), &measureDevice()),
      ascent_(metrics_.ascent() / MeasureScale),
      lineSpacing_(metrics_.lineSpacing() / MeasureScale)
{
}

double TextMeasure::width(const QString& text) const
{
    return metrics_.horizontalAdvance(text) / MeasureScale;
}

namespace {

constexpr double PointsPerInch = 72.0;

void setPaper(ReportPages& doc, const ReportTemplate& report)
{
    doc.title = report.title;
    doc.paper = report.paper;
    doc.orientation = report.orientation;
    doc.size = report.paperInches() * PointsPerInch;
}

QFont derivedFont(const QFont& base, double extraPoints, bool bold)
{
    QFont f = base;
    f.setPointSizeF(base.pointSizeF() + extraPoints);
    f.setBold(bold || base.bold());
    return f;
}

// Breaks a text into lines no wider than `width`, at blanks where it can.
QStringList wrapText(const QString& text, double width, const TextMeasure& measure)
{
    if (measure.width(text) <= width)
        return {text};
    QStringList lines;
    QString current;
    const auto push = [&](const QString& line) { lines << line; };
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString candidate = current.isEmpty() ? word : current + ' ' + word;
        if (measure.width(candidate) <= width) {
            current = candidate;
            continue;
        }
        if (!current.isEmpty())
            push(current);
        current = word;
        // A single word wider than the column is broken between characters.
        while (current.size() > 1 && measure.width(current) > width) {
            int fits = int(current.size()) - 1;
            while (fits > 1 && measure.width(current.left(fits)) > width)
                --fits;
            push(current.left(fits));
            current = current.mid(fits);
        }
    }
    if (!current.isEmpty() || lines.isEmpty())
        push(current);
    return lines;
}

bool isEmptyKey(const QVariant& key)
{
    if (!key.isValid())
        return true;
    if (key.typeId() == QMetaType::LongLong || key.typeId() == QMetaType::Double)
        return key.toDouble() == 0;
    return key.toString().isEmpty();
}

// The running total of one column.
class ColumnTotal {
public:
    void add(const QVariant& value, const QString& text)
    {
        if (!text.isEmpty())
            ++count_;
        if (value.typeId() == qMetaTypeId<store::Currency>()) {
            amount_ += value.value<store::Currency>();
            hasAmount_ = true;
        } else if (value.typeId() == QMetaType::Double) {
            real_ += value.toDouble();
        } else if (value.isValid()) {
            whole_ += value.toLongLong();
        }
    }
    // The sum; `amount` when the column holds amounts, so that no amounts at all still read $0.00.
    QVariant sum(bool amount) const
    {
        if (hasAmount_ || amount)
            return QVariant::fromValue(amount_);
        if (real_ != 0)
            return QVariant(real_ + double(whole_));
        return QVariant(whole_);
    }
    qint64 count() const { return count_; }

private:
    store::Currency amount_;
    bool hasAmount_ = false;
    qint64 whole_ = 0, count_ = 0;
    double real_ = 0;
};

class ListLayout {
public:
    explicit ListLayout(const LayoutInput& input)
        : in_(input),
          report_(input.report),
          body_(report_.font),
          bold_(derivedFont(report_.font, 0, true)),
          heading_(derivedFont(report_.font, 1, false)),
          title_(derivedFont(report_.font, 6, true)),
          group_(derivedFont(report_.font, 1, true)),
          footer_(derivedFont(report_.font, -1, false))
    {
        setPaper(doc_, report_);
        placeColumns();
        groupTotals_.resize(report_.columns.size());
        grandTotals_.resize(report_.columns.size());
    }

    ReportPages run()
    {
        newPage();
        QVariant currentKey;
        bool inGroup = false;
        for (const Row& row : in_.rows) {
            if (in_.groupColumn >= 0 && (!inGroup || row[in_.groupColumn] != currentKey)) {
                if (inGroup)
                    totalsRow(groupTotals_, report_.group->footer);
                currentKey = row[in_.groupColumn];
                inGroup = true;
                groupHeader(row);
            }
            detailRow(row);
        }
        if (inGroup)
            totalsRow(groupTotals_, report_.group->footer);
        if (in_.rows.empty())
            text(margin_, y_ + body_.ascent(), QStringLiteral("There are no entries for this report."),
                 bodyFont_);
        else
            totalsRow(grandTotals_, report_.totalCaption);
        doc_.rowCount = int(in_.rows.size());
        pageNumbers();
        return std::move(doc_);
    }

private:
    struct Fonts {
        Fonts(const QFont& f) : font(pageFont(f)), measure(f) {}
        QFont font;
        TextMeasure measure;
        double ascent() const { return measure.ascent(); }
        double lineSpacing() const { return measure.lineSpacing(); }
    };
    struct Cell {
        QStringList lines;
        Qt::Alignment align;
    };

    static constexpr double Padding = 3;  // inside each column, both sides
    static constexpr double RowGap = 2;

    void placeColumns()
    {
        margin_ = 0.5 * PointsPerInch;
        double total = 0;
        for (const TemplateColumn& c : report_.columns)
            total += c.width * PointsPerInch;
        const double available = doc_.size.width() - 2 * margin_;
        const double scale = total > available ? available / total : 1.0;
        double x = margin_;
        for (const TemplateColumn& c : report_.columns) {
            left_.push_back(x);
            width_.push_back(c.width * PointsPerInch * scale);
            x += width_.back();
        }
        right_ = x;
        bodyFont_ = doc_.addFont(body_.font);
        boldFont_ = doc_.addFont(bold_.font);
    }

    void text(double x, double baseline, const QString& s, int font)
    {
        if (!s.isEmpty())
            page_->texts.push_back({QPointF(x, baseline), s, font});
    }

    void rule(double y, double from, double to) { page_->rules.push_back(QLineF(from, y, to, y)); }

    double bodyBottom() const { return doc_.size.height() - margin_ - footer_.lineSpacing() - 6; }

    void newPage()
    {
        doc_.pages.emplace_back();
        page_ = &doc_.pages.back();
        const double width = doc_.size.width();
        y_ = margin_;
        const QString date = QLocale().toString(in_.printDate, QLocale::LongFormat);
        text(margin_, y_ + heading_.ascent(), in_.heading, doc_.addFont(heading_.font));
        text(width - margin_ - heading_.measure.width(date), y_ + heading_.ascent(), date,
             doc_.addFont(heading_.font));
        y_ += heading_.lineSpacing() + 2;
        text(margin_, y_ + title_.ascent(), report_.title, doc_.addFont(title_.font));
        y_ += title_.lineSpacing() + 8;
        captionRow();
        rule(y_, margin_, right_);
        y_ += 4;
    }

    // The captions of the columns. Neighbouring columns whose captions begin with the
    // same line ("Reception\ninvited", "Reception\ncoming") share that line, centred
    // over them and underlined.
    void captionRow()
    {
        std::vector<Cell> captions;
        for (const TemplateColumn& c : report_.columns)
            captions.push_back({c.caption.split('\n'), c.align});
        const auto shares = [&](size_t a, size_t b) {
            return captions[a].lines.size() > 1 && captions[b].lines.size() > 1 &&
                   captions[a].lines[0] == captions[b].lines[0];
        };
        for (size_t i = 0; i < captions.size();) {
            size_t end = i + 1;
            while (end < captions.size() && shares(i, end))
                ++end;
            if (end - i > 1) {
                const QString shared = captions[i].lines[0];
                const double from = left_[i] + Padding, to = left_[end - 1] + width_[end - 1] - Padding;
                text((from + to - bold_.measure.width(shared)) / 2, y_ + bold_.ascent(), shared, boldFont_);
                rule(y_ + bold_.lineSpacing() - 1, from, to);
                for (size_t k = i; k < end; ++k)
                    captions[k].lines[0].clear();
            }
            i = end;
        }
        cells(captions, bold_, boldFont_);
    }

    // Writes a row of cells at y_ and moves below it.
    void cells(const std::vector<Cell>& row, const Fonts& fonts, int font)
    {
        int lines = 1;
        for (size_t i = 0; i < row.size(); ++i) {
            const Cell& cell = row[i];
            lines = std::max(lines, int(cell.lines.size()));
            for (int k = 0; k < cell.lines.size(); ++k) {
                const QString& s = cell.lines[k];
                double x = left_[i] + Padding;
                if (cell.align & (Qt::AlignRight | Qt::AlignHCenter)) {
                    const double room = width_[i] - 2 * Padding - fonts.measure.width(s);
                    x += (cell.align & Qt::AlignRight) ? room : room / 2;
                }
                text(x, y_ + fonts.ascent() + k * fonts.lineSpacing(), s, font);
            }
        }
        y_ += lines * fonts.lineSpacing() + RowGap;
    }

    std::vector<Cell> detailCells(const Row& row) const
    {
        std::vector<Cell> out;
        for (size_t i = 0; i < report_.columns.size(); ++i) {
            const TemplateColumn& c = report_.columns[i];
            QStringList lines;
            for (const QString& part : c.text.evaluate(row).split('\n'))
                lines << wrapText(part, width_[i] - 2 * Padding, body_.measure);
            out.push_back({lines, c.align});
        }
        return out;
    }

    static double heightOf(const std::vector<Cell>& row, const Fonts& fonts)
    {
        int lines = 1;
        for (const Cell& c : row)
            lines = std::max(lines, int(c.lines.size()));
        return lines * fonts.lineSpacing() + RowGap;
    }

    QString groupTitle(const Row& row) const
    {
        const TemplateGroup& g = *report_.group;
        if (!g.emptyHeader.isEmpty() && isEmptyKey(row[in_.groupColumn]))
            return g.emptyHeader.evaluate(row);
        return g.header.evaluate(row);
    }

    void groupHeader(const Row& row)
    {
        groupTitle_ = groupTitle(row);
        const double needed = group_.lineSpacing() + 4 + heightOf(detailCells(row), body_);
        if (y_ + needed > bodyBottom())
            newPage();
        else
            y_ += 4;
        writeGroupTitle(groupTitle_);
    }

    void writeGroupTitle(const QString& title)
    {
        text(margin_ + Padding, y_ + group_.ascent(), title, doc_.addFont(group_.font));
        y_ += group_.lineSpacing() + 2;
    }

    void detailRow(const Row& row)
    {
        const std::vector<Cell> cellsOfRow = detailCells(row);
        if (y_ + heightOf(cellsOfRow, body_) > bodyBottom()) {
            newPage();
            if (in_.groupColumn >= 0)
                writeGroupTitle(groupTitle_ + QStringLiteral(" (continued)"));
        }
        cells(cellsOfRow, body_, bodyFont_);
        for (size_t i = 0; i < report_.columns.size(); ++i) {
            const TemplateColumn& c = report_.columns[i];
            if (c.total == TemplateColumn::Total::None)
                continue;
            const TextPattern::Piece* field = c.text.singleField();
            const QVariant value = field ? row[field->column] : QVariant();
            const QString shown = cellsOfRow[i].lines.join(QString());
            groupTotals_[i].add(value, shown);
            grandTotals_[i].add(value, shown);
        }
    }

    bool hasTotals() const
    {
        return std::any_of(report_.columns.begin(), report_.columns.end(),
                           [](const TemplateColumn& c) { return c.total != TemplateColumn::Total::None; });
    }

    bool isAmount(const TextPattern::Piece& field) const
    {
        return field.column >= 0 && size_t(field.column) < in_.columnTypes.size() &&
               in_.columnTypes[field.column] == store::FieldType::Currency;
    }

    void totalsRow(std::vector<ColumnTotal>& totals, const QString& caption)
    {
        if (!hasTotals()) {
            totals.assign(totals.size(), ColumnTotal());
            return;
        }
        std::vector<Cell> row;
        for (size_t i = 0; i < report_.columns.size(); ++i) {
            const TemplateColumn& c = report_.columns[i];
            QString shown;
            if (c.total == TemplateColumn::Total::Sum)
                shown =
                    formatValue(totals[i].sum(isAmount(*c.text.singleField())), c.text.singleField()->text);
            else if (c.total == TemplateColumn::Total::Count)
                shown = QLocale().toString(totals[i].count());
            else if (i == 0)
                shown = caption;
            row.push_back({{shown}, c.total == TemplateColumn::Total::None ? c.align : Qt::AlignRight});
        }
        if (y_ + heightOf(row, bold_) + 2 > bodyBottom())
            newPage();
        rule(y_, margin_, right_);
        y_ += 2;
        cells(row, bold_, boldFont_);
        totals.assign(totals.size(), ColumnTotal());
    }

    void pageNumbers()
    {
        const int count = int(doc_.pages.size());
        const int font = doc_.addFont(footer_.font);
        for (int i = 0; i < count; ++i) {
            const QString s = QStringLiteral("Page %1 of %2").arg(i + 1).arg(count);
            doc_.pages[i].texts.push_back(
                {QPointF((doc_.size.width() - footer_.measure.width(s)) / 2, doc_.size.height() - margin_), s,
                 font});
        }
    }

    const LayoutInput& in_;
    const ReportTemplate& report_;
    ReportPages doc_;
    Page* page_ = nullptr;
    Fonts body_, bold_, heading_, title_, group_, footer_;
    int bodyFont_ = 0, boldFont_ = 0;
    double margin_ = 36, right_ = 0, y_ = 0;
    std::vector<double> left_, width_;
    std::vector<ColumnTotal> groupTotals_, grandTotals_;
    QString groupTitle_;
};

// Fonts of a label sheet: the chosen font, and smaller copies for labels that need them.
class LabelFonts {
public:
    LabelFonts(ReportPages& doc, const QFont& font) : doc_(doc), font_(pageFont(font)), measure_(font) {}
    const TextMeasure& measure() const { return measure_; }
    // The font scaled by `scale` (at most 1), rounded down to a hundredth so it still fits.
    int scaled(double scale)
    {
        const int hundredths = std::clamp(int(scale * 100), 1, 100);
        auto found = byScale_.find(hundredths);
        if (found != byScale_.end())
            return found->second;
        QFont f = font_;
        f.setPointSizeF(font_.pointSizeF() * hundredths / 100.0);
        return byScale_[hundredths] = doc_.addFont(f);
    }

private:
    ReportPages& doc_;
    QFont font_;
    TextMeasure measure_;
    std::map<int, int> byScale_;
};

// Writes the lines of one label inside `box`, scaled down when they would not fit.
void layoutLabel(Page& page, const QRectF& box, double margin, const QStringList& lines, LabelFonts& fonts)
{
    page.labels.push_back(box);
    if (lines.isEmpty())
        return;
    const QRectF inner = box.adjusted(margin, margin, -margin, -margin);
    const TextMeasure& m = fonts.measure();
    double widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, m.width(line));
    const double height = lines.size() * m.lineSpacing();
    double scale = 1.0;
    if (widest > inner.width())
        scale = std::min(scale, inner.width() / widest);
    if (height > inner.height())
        scale = std::min(scale, inner.height() / height);
    const int font = fonts.scaled(scale);
    scale = std::floor(std::clamp(scale, 0.01, 1.0) * 100) / 100;
    const double top = inner.top() + (inner.height() - height * scale) / 2;
    for (int k = 0; k < lines.size(); ++k)
        page.texts.push_back(
            {QPointF(inner.left(), top + (m.ascent() + k * m.lineSpacing()) * scale), lines[k], font});
}

}  // namespace

ReportPages layoutList(const LayoutInput& input)
{
    return ListLayout(input).run();
}

ReportPages layoutLabels(const LayoutInput& input)
{
    const TemplateLabels& spec = *input.report.labels;
    ReportPages doc;
    setPaper(doc, input.report);
    LabelFonts fonts(doc, input.detailFont.value_or(input.report.font));
    const int perSheet = spec.geometry.labelsPerSheet();
    doc.pages.resize(std::max<size_t>(1, (input.rows.size() + perSheet - 1) / perSheet));
    for (size_t i = 0; i < input.rows.size(); ++i) {
        QStringList lines;
        for (const TextPattern& pattern : spec.lines) {
            const QString line = pattern.evaluate(input.rows[i]).trimmed();
            if (!line.isEmpty())
                lines << line;
        }
        const QRectF inches = spec.geometry.labelRect(int(i % perSheet));
        const QRectF box(inches.topLeft() * PointsPerInch, inches.size() * PointsPerInch);
        layoutLabel(doc.pages[i / perSheet], box, spec.margin * PointsPerInch, lines, fonts);
    }
    doc.rowCount = int(input.rows.size());
    return doc;
}

}  // namespace reports
