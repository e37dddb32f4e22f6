// A report template: a small text file that says what a report reads and how it is
// laid out (docs/report-templates.md). Templates are data: they name tables, fields and
// a layout, never SQL, so an edited or damaged template cannot change the wedding.
#pragma once

#include "reports/LabelGeometry.h"
#include "reports/TextPattern.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <optional>
#include <vector>

namespace reports {

struct TemplateJoin {
    QString table;   // the table joined to the rows of the source
    FieldName from;  // a field of the tables before it
    FieldName to;    // a field of the joined table
    int line = 0;
};

struct TemplateSortKey {
    FieldName field;
    bool descending = false;
};

struct TemplateColumn {
    enum class Total { None, Sum, Count };
    QString caption;
    double width = 0;  // inches
    TextPattern text;
    Qt::Alignment align = Qt::AlignLeft;
    Total total = Total::None;
    int line = 0;  // of the section
};

struct TemplateGroup {
    FieldName key;            // rows with the same value form one group
    TextPattern header;       // printed above each group
    TextPattern emptyHeader;  // for the group whose key is empty or 0 (when given)
    QString footer;           // caption of the group's totals
    int line = 0;
};

struct TemplateLabels {
    QString stock;  // the label stock, as the user knows it
    LabelGeometry geometry;
    double margin = 0.0625;  // inner margin of a label, inches
    std::vector<TextPattern> lines;
    int line = 0;
};

struct ReportTemplate {
    QString path;
    QString title;
    QString source;  // the table or saved query whose rows the report prints
    std::vector<TemplateJoin> joins;
    QString select;  // the template's own selection formula
    std::vector<TemplateSortKey> sort;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize::PageSizeId paper = QPageSize::Letter;
    TextPattern heading;  // first line of every page header
    QFont font;           // of the rows (and of the labels, unless set from outside)
    QString totalCaption = QStringLiteral("Grand Total");
    std::vector<TemplateColumn> columns;
    std::optional<TemplateGroup> group;
    std::optional<TemplateLabels> labels;

    // Line numbers of the keys that name fields, for messages about them.
    int sourceLine = 0, selectLine = 0, sortLine = 0, headingLine = 0;

    bool isLabels() const { return labels.has_value(); }
    QStringList tables() const;  // the source and the joined tables
    QSizeF paperInches() const;  // as oriented
};

// Reads a template file. Throws ReportError naming the file (and the line).
ReportTemplate readTemplate(const QString& path);
// Reads template text; `path` names it in messages.
ReportTemplate parseTemplate(const QString& text, const QString& path);

// "Error in the report template PATH, line N: WHAT." (line 0: without the line).
QString templateError(const QString& path, int line, const QString& what);

}  // namespace reports
