// The font of a report section set from outside, as one text:
//   DETAIL;Times New Roman;14.25;True;True;False;False
// section; font name; point size in the system's number format; italic; bold;
// underline; strikethrough.
#pragma once

#include <QFont>
#include <QString>

namespace reports {

struct SectionFont {
    QString section;  // "DETAIL"
    QFont font;
};

QString sectionFontText(const QString& section, const QFont& font);
// Throws ReportError when the text cannot be read.
SectionFont parseSectionFont(const QString& text);

}  // namespace reports
