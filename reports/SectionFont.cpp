#include "reports/SectionFont.h"

#include "reports/ReportError.h"

#include <QLocale>
#include <QStringList>

namespace reports {

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

[[noreturn]] void unreadable(const QString& text, const QString& what)
{
    throw ReportError(
        QStringLiteral("The section font \"%1\" cannot be read: %2.").arg(text.left(200), what));
}

bool readFlag(const QString& text, const QString& part)
{
    if (part.trimmed().compare("True", Qt::CaseInsensitive) == 0)
        return true;
    if (part.trimmed().compare("False", Qt::CaseInsensitive) == 0)
        return false;
    unreadable(text, QStringLiteral("'%1' is neither True nor False").arg(part.left(40)));
}

double readSize(const QString& text, const QString& part)
{
    bool ok = false;
    double size = QLocale().toDouble(part.trimmed(), &ok);
    if (!ok)
        size = QLocale::c().toDouble(part.trimmed(), &ok);
    if (!ok || size < 1 || size > 1638)
        unreadable(text, QStringLiteral("'%1' is not a point size").arg(part.left(40)));
    return size;
}

}  // namespace

QString sectionFontText(const QString& section, const QFont& font)
{
    return QStringList{section,
                       font.family(),
                       QLocale().toString(font.pointSizeF(), 'g', QLocale::FloatingPointShortest),
                       flag(font.italic()),
                       flag(font.bold()),
                       flag(font.underline()),
                       flag(font.strikeOut())}
        .join(';');
}

SectionFont parseSectionFont(const QString& text)
{
    // A font name could hold a semicolon: the name is whatever lies between the section
    // and the last five parts.
    const QStringList parts = text.split(';');
    if (parts.size() < 7)
        unreadable(text, QStringLiteral("it needs seven parts separated by semicolons"));
    const QString section = parts.first().trimmed().toUpper();
    if (section != "DETAIL")
        unreadable(text, QStringLiteral("the section '%1' is not known").arg(parts.first().left(40)));
    const QString family = parts.mid(1, parts.size() - 6).join(';').trimmed();
    if (family.isEmpty())
        unreadable(text, QStringLiteral("the font name is missing"));
    const int n = int(parts.size());
    QFont font(family);
    font.setPointSizeF(readSize(text, parts[n - 5]));
    font.setItalic(readFlag(text, parts[n - 4]));
    font.setBold(readFlag(text, parts[n - 3]));
    font.setUnderline(readFlag(text, parts[n - 2]));
    font.setStrikeOut(readFlag(text, parts[n - 1]));
    return {section, font};
}

}  // namespace reports
