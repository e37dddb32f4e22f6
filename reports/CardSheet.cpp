#include "reports/CardSheet.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <map>

namespace reports {

namespace {

constexpr double PointsPerInch = 72.0;
constexpr double CardMargin = 0.15 * PointsPerInch;  // kept clear inside the card's edge
constexpr double LineGap = 4;                        // between the lines of a card

// The fonts of the cards' lines by their place on the card (name, then the rest), and smaller
// copies for lines that would not fit the card's width.
class CardFonts {
public:
    explicit CardFonts(ReportPages& doc) : doc_(doc)
    {
        QFont name(QStringLiteral("Times New Roman"), 22);
        name.setItalic(true);
        QFont table(QStringLiteral("Helvetica"), 12);
        QFont mark(QStringLiteral("Helvetica"), 10);
        mark.setBold(true);
        for (const QFont& f : {name, table, mark}) {
            fonts_.push_back(pageFont(f));
            measures_.emplace_back(f);
        }
    }
    size_t roleOf(int line) const { return size_t(std::min(line, int(fonts_.size()) - 1)); }
    // The width of a line at the role's full size; the lines that repeat from card to card
    // (tables, meal marks) are measured once.
    double width(size_t role, const QString& text)
    {
        if (role == 0)
            return measures_[0].width(text);
        auto found = widths_[role].constFind(text);
        if (found != widths_[role].cend())
            return *found;
        return *widths_[role].insert(text, measures_[role].width(text));
    }
    struct Scaled {
        int font;  // index into the pages' fonts
        TextMeasure measure;
    };
    // The role's font at `hundredths` of its size (1 to 100), measured as it is painted.
    const Scaled& scaled(size_t role, int hundredths)
    {
        const int h = std::clamp(hundredths, 1, 100);
        auto found = byScale_.find({role, h});
        if (found != byScale_.end())
            return found->second;
        QFont f = fonts_[role];
        f.setPointSizeF(f.pointSizeF() * h / 100.0);
        return byScale_.emplace(std::pair{role, h}, Scaled{doc_.addFont(f), TextMeasure(f)}).first->second;
    }

private:
    ReportPages& doc_;
    std::vector<QFont> fonts_;
    std::vector<TextMeasure> measures_;
    QHash<QString, double> widths_[3];
    std::map<std::pair<size_t, int>, Scaled> byScale_;
};

// Writes the lines centred in `face`, each shrunk to the face's width where it is wider; on a
// folded card also turned half a turn about the card's centre onto the upper half.
void layoutCard(Page& page, const QRectF& card, bool folded, const QStringList& lines, CardFonts& fonts)
{
    page.labels.push_back(card);
    QRectF face = card;
    if (folded)
        face.setTop(card.center().y());
    face.adjust(CardMargin, CardMargin, -CardMargin, -CardMargin);

    struct Placed {
        QString text;
        int font;
        double width, ascent, height;
    };
    std::vector<Placed> placed;
    double total = 0;
    int index = 0;
    for (const QString& raw : lines) {
        const QString text = raw.simplified();
        if (text.isEmpty())
            continue;
        const size_t role = fonts.roleOf(index++);
        // Shrunk in proportion first, then a hundredth at a time while the font's own
        // measure (hinting aside, not quite proportional) still finds it too wide.
        double width = fonts.width(role, text);
        int hundredths = 100;
        const CardFonts::Scaled* f = &fonts.scaled(role, hundredths);
        if (width > face.width()) {
            hundredths = int(std::floor(face.width() / width * 100));
            f = &fonts.scaled(role, hundredths);
            width = f->measure.width(text);
            while (hundredths > 1 && width > face.width()) {
                f = &fonts.scaled(role, --hundredths);
                width = f->measure.width(text);
            }
        }
        placed.push_back({text, f->font, width, f->measure.ascent(), f->measure.lineSpacing()});
        total += placed.back().height;
    }
    if (placed.empty())
        return;
    total += LineGap * double(placed.size() - 1);
    double y = face.top() + std::max(0.0, (face.height() - total) / 2);
    const QPointF centre = card.center();
    for (const Placed& p : placed) {
        const QPointF baseline(face.left() + (face.width() - p.width) / 2, y + p.ascent);
        page.texts.push_back({baseline, p.text, p.font});
        if (folded)
            page.turned.push_back({2 * centre - baseline, p.text, p.font});
        y += p.height + LineGap;
    }
}

}  // namespace

const std::vector<CardStock>& cardStocks()
{
    // Tent cards: 3½ × 4 in, folded to 3½ × 2 in, two across and two down, centred on the sheet.
    // Flat cards: the common 3½ × 2 in card stock, two across and five down, edge to edge.
    static const std::vector<CardStock> stocks = {
        {QStringLiteral("tent"),
         QStringLiteral("Tent cards, 3½ × 2 in folded, 4 per sheet"),
         {3.5, 4, 2, 2, 0.75, 1.5, 3.5, 4},
         true},
        {QStringLiteral("flat"),
         QStringLiteral("Flat cards, 3½ × 2 in, 10 per sheet"),
         {3.5, 2, 2, 5, 0.75, 0.5, 3.5, 2},
         false},
    };
    return stocks;
}

const CardStock* cardStockOf(const QString& key)
{
    for (const CardStock& stock : cardStocks())
        if (stock.key == key)
            return &stock;
    return nullptr;
}

ReportPages layoutCards(const std::vector<QStringList>& cards, const CardStock& stock, const QString& title)
{
    ReportPages doc;
    doc.title = title;
    doc.paper = QPageSize::Letter;
    doc.orientation = QPageLayout::Portrait;
    doc.size = QPageSize(QPageSize::Letter).size(QPageSize::Point);
    CardFonts fonts(doc);
    const size_t perSheet = size_t(stock.geometry.labelsPerSheet());
    doc.pages.resize(std::max<size_t>(1, (cards.size() + perSheet - 1) / perSheet));
    for (size_t i = 0; i < cards.size(); ++i) {
        const QRectF inches = stock.geometry.labelRect(int(i % perSheet));
        const QRectF box(inches.topLeft() * PointsPerInch, inches.size() * PointsPerInch);
        layoutCard(doc.pages[i / perSheet], box, stock.folded, cards[i], fonts);
    }
    doc.rowCount = int(cards.size());
    return doc;
}

namespace {

CardSource& source()
{
    static CardSource s;
    return s;
}

}  // namespace

void setCardSource(CardSource s)
{
    source() = std::move(s);
}

const CardSource& cardSource()
{
    return source();
}

}  // namespace reports
