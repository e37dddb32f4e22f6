// A report laid out into pages: every text with its font and baseline, every rule and,
// on label sheets, where each label lies. Positions are in points (1/72 inch) from the
// top left corner of the paper. The same pages are painted into the preview, onto the
// printer and into a PDF file.
#pragma once

#include "reports/ReportTemplate.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <optional>
#include <vector>

namespace reports {

struct PageText {
    QPointF baseline;  // left end of the text's baseline
    QString text;
    int font = 0;  // index into ReportPages::fonts
};

struct Page {
    std::vector<PageText> texts;
    std::vector<QLineF> rules;
    std::vector<QRectF> labels;  // label sheets: the outline of each label printed
    // Texts painted upside down: turned half a turn about the left end of their baseline, so
    // they run to the left of it (the upper half of a folded tent card).
    std::vector<PageText> turned;
};

struct ReportPages {
    QString title;
    QPageSize::PageSizeId paper = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF size;  // of a page, points, as oriented
    std::vector<QFont> fonts;
    std::vector<Page> pages;
    int rowCount = 0;  // rows the report printed

    int addFont(const QFont& font);
    // The texts of a page line by line: texts on one baseline, left to right, joined by " | ".
    QStringList lines(int page) const;
    // The texts of one label of a label sheet, top to bottom.
    QStringList labelLines(int page, int label) const;
};

// Widths and heights of text in points, measured as the pages are painted (unhinted).
class TextMeasure {
public:
    explicit TextMeasure(const QFont& font);
    double width(const QString& text) const;
    double ascent() const { return ascent_; }
    double lineSpacing() const { return lineSpacing_; }

private:
    QFontMetricsF metrics_;
    double ascent_ = 0, lineSpacing_ = 0;
};

// A font as the pages use it: outlines without hinting, so that measuring and painting agree.
QFont pageFont(const QFont& font);

struct LayoutInput {
    const ReportTemplate& report;
    const std::vector<Row>& rows;
    int groupColumn = -1;
    QString heading;                            // first line of each page header
    QDate printDate;                            // shown in each page header
    std::optional<QFont> detailFont;            // set from outside; used by label sheets
    std::vector<store::FieldType> columnTypes;  // of the values of a row
};

ReportPages layoutList(const LayoutInput& input);
ReportPages layoutLabels(const LayoutInput& input);

}  // namespace reports
