#include "reports/ReportTemplate.h"

#include "reports/ReportError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringConverter>

#include <functional>
#include <map>
#include <set>

namespace reports {

namespace {

// Templates are small; anything much larger is not a template.
constexpr qint64 MaxTemplateBytes = 256 * 1024;

struct Line {
    int number = 0;
    QString key;
    QString value;
};

class TemplateReader {
public:
    TemplateReader(const QString& path) : path_(path) { t_.path = path; }

    ReportTemplate read(const QString& text)
    {
        const QStringList lines = text.split('\n');
        for (int i = 0; i < lines.size(); ++i)
            readLine(i + 1, lines[i]);
        finishSection();
        if (!seenReport_)
            fail(0, QStringLiteral("the [report] section is missing"));
        if (t_.columns.empty() && !t_.labels)
            fail(0, QStringLiteral("a report needs [column] sections or a [labels] section"));
        return std::move(t_);
    }

private:
    [[noreturn]] void fail(int line, const QString& what) const
    {
        throw ReportError(templateError(path_, line, what));
    }

    void readLine(int number, QString text)
    {
        text = text.trimmed();
        if (text.isEmpty() || text.startsWith('#'))
            return;
        if (text.startsWith('[')) {
            if (!text.endsWith(']'))
                fail(number, QStringLiteral("a section name is written in brackets, as in [column]"));
            finishSection();
            startSection(number, text.mid(1, text.size() - 2).trimmed().toLower());
            return;
        }
        const qsizetype equals = text.indexOf('=');
        if (equals < 0)
            fail(number, QStringLiteral("a line is written key = value"));
        if (section_.isEmpty())
            fail(number, QStringLiteral("a key before the first section"));
        Line line{number, text.left(equals).trimmed().toLower(), text.mid(equals + 1).trimmed()};
        if (!repeatable().count(line.key) && seenKeys_.count(line.key))
            fail(number, QStringLiteral("the key '%1' is given twice in this section").arg(line.key));
        seenKeys_.insert(line.key);
        entries_.push_back(line);
    }

    std::set<QString> repeatable() const { return {"join", "line"}; }

    void startSection(int number, const QString& name)
    {
        static const QStringList known{"report", "column", "group", "labels"};
        if (!known.contains(name))
            fail(number, QStringLiteral("the section [%1] is not known").arg(name));
        if (name == "report" ? seenReport_ : !seenReport_)
            fail(number, seenReport_ ? QStringLiteral("there is only one [report] section")
                                     : QStringLiteral("the template begins with the [report] section"));
        if ((name == "group" && t_.group) || (name == "labels" && t_.labels))
            fail(number, QStringLiteral("there is only one [%1] section").arg(name));
        if ((name == "labels" && !t_.columns.empty()) || (name == "column" && t_.labels))
            fail(number, QStringLiteral("a template prints either columns or labels, not both"));
        section_ = name;
        sectionLine_ = number;
        seenReport_ = true;
    }

    void finishSection()
    {
        if (section_ == "report")
            finishReport();
        else if (section_ == "column")
            finishColumn();
        else if (section_ == "group")
            finishGroup();
        else if (section_ == "labels")
            finishLabels();
        section_.clear();
        entries_.clear();
        seenKeys_.clear();
    }

    // Hands every entry to `handle`, which returns false for a key it does not know.
    void eachEntry(const std::function<bool(const Line&)>& handle) const
    {
        for (const Line& line : entries_)
            if (!handle(line))
                fail(line.number,
                     QStringLiteral("the key '%1' is not known in [%2]").arg(line.key, section_));
    }

    void require(const QString& key) const
    {
        if (!seenKeys_.count(key))
            fail(sectionLine_, QStringLiteral("[%1] needs the key '%2'").arg(section_, key));
    }

    TextPattern pattern(const Line& line) const
    {
        try {
            return TextPattern::parse(line.value);
        } catch (const ReportError& e) {
            fail(line.number, e.description());
        }
    }

    FieldName fieldName(const Line& line, QString text) const
    {
        text = text.trimmed();
        if (!text.startsWith('{') || !text.endsWith('}'))
            fail(line.number, QStringLiteral("a field is written in braces, as in {Guests.LastName}"));
        FieldName name;
        const QString problem = readFieldName(text.mid(1, text.size() - 2), &name);
        if (!problem.isEmpty())
            fail(line.number, problem);
        return name;
    }

    double number(const Line& line, double low, double high) const
    {
        bool ok = false;
        const double value = line.value.toDouble(&ok);  // always with a point, whatever the locale
        if (!ok || value < low || value > high)
            fail(line.number,
                 QStringLiteral("'%1' needs a number from %2 to %3").arg(line.key).arg(low).arg(high));
        return value;
    }

    QString oneOf(const Line& line, const QStringList& choices) const
    {
        const QString value = line.value.toLower();
        if (!choices.contains(value))
            fail(line.number, QStringLiteral("'%1' is one of: %2").arg(line.key, choices.join(", ")));
        return value;
    }

    QFont font(const Line& line) const
    {
        const QStringList parts = line.value.split(',');
        bool ok = false;
        const double size = parts.size() >= 2 ? parts[1].trimmed().toDouble(&ok) : 0;
        if (!ok || size < 4 || size > 72 || parts[0].trimmed().isEmpty())
            fail(line.number, QStringLiteral("a font is written family, size [, bold] [, italic]"));
        QFont f(parts[0].trimmed());
        f.setPointSizeF(size);
        for (int i = 2; i < parts.size(); ++i) {
            const QString style = parts[i].trimmed().toLower();
            if (style == "bold")
                f.setBold(true);
            else if (style == "italic")
                f.setItalic(true);
            else
                fail(line.number, QStringLiteral("a font style is bold or italic"));
        }
        return f;
    }

    void finishReport()
    {
        t_.font = QFont(QStringLiteral("DejaVu Sans"));
        t_.font.setPointSizeF(9);
        eachEntry([this](const Line& l) {
            if (l.key == "title")
                t_.title = l.value;
            else if (l.key == "source") {
                t_.source = tableName(l);
                t_.sourceLine = l.number;
            } else if (l.key == "join")
                t_.joins.push_back(join(l));
            else if (l.key == "select") {
                t_.select = l.value;
                t_.selectLine = l.number;
            } else if (l.key == "sort") {
                t_.sort = sortKeys(l);
                t_.sortLine = l.number;
            } else if (l.key == "orientation")
                t_.orientation = oneOf(l, {"portrait", "landscape"}) == "landscape" ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait;
            else if (l.key == "paper")
                t_.paper = oneOf(l, {"letter", "legal", "a4"}) == "a4"
                               ? QPageSize::A4
                               : (l.value.toLower() == "legal" ? QPageSize::Legal : QPageSize::Letter);
            else if (l.key == "heading") {
                t_.heading = pattern(l);
                t_.headingLine = l.number;
            } else if (l.key == "font")
                t_.font = font(l);
            else if (l.key == "total-caption")
                t_.totalCaption = l.value;
            else
                return false;
            return true;
        });
        require("title");
        require("source");
    }

    QString tableName(const Line& line) const
    {
        static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_ ]{1,64}$"));
        if (!name.match(line.value).hasMatch())
            fail(line.number,
                 QStringLiteral("a table name holds only letters, digits, underscores and blanks"));
        return line.value;
    }

    // "Tables on {Guests.tableid} = {Tables.TableId}"
    TemplateJoin join(const Line& line) const
    {
        static const QRegularExpression form(
            QStringLiteral("^(.+?)\\s+on\\s+(\\{[^}]*\\})\\s*=\\s*(\\{[^}]*\\})$"),
            QRegularExpression::CaseInsensitiveOption);
        const auto match = form.match(line.value);
        if (!match.hasMatch())
            fail(line.number, QStringLiteral("a join is written Table on {Source.Field} = {Table.Field}"));
        Line tableLine = line;
        tableLine.value = match.captured(1).trimmed();
        return TemplateJoin{tableName(tableLine), fieldName(line, match.captured(2)),
                            fieldName(line, match.captured(3)), line.number};
    }

    std::vector<TemplateSortKey> sortKeys(const Line& line) const
    {
        std::vector<TemplateSortKey> keys;
        for (QString part : line.value.split(',')) {
            part = part.trimmed();
            bool descending = false;
            for (const QString& word : {QStringLiteral(" desc"), QStringLiteral(" asc")}) {
                if (part.endsWith(word, Qt::CaseInsensitive)) {
                    descending = word == " desc";
                    part.chop(word.size());
                }
            }
            keys.push_back({fieldName(line, part), descending});
        }
        return keys;
    }

    void finishColumn()
    {
        TemplateColumn column;
        column.line = sectionLine_;
        eachEntry([&](const Line& l) {
            if (l.key == "caption")
                column.caption = QString(l.value).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
            else if (l.key == "width")
                column.width = number(l, 0.1, 20);
            else if (l.key == "text")
                column.text = pattern(l);
            else if (l.key == "align") {
                const QString a = oneOf(l, {"left", "right", "center"});
                column.align = a == "right"    ? Qt::AlignRight
                               : a == "center" ? Qt::AlignHCenter
                                               : Qt::AlignLeft;
            } else if (l.key == "total") {
                const QString t = oneOf(l, {"none", "sum", "count"});
                column.total = t == "sum"     ? TemplateColumn::Total::Sum
                               : t == "count" ? TemplateColumn::Total::Count
                                              : TemplateColumn::Total::None;
            } else
                return false;
            return true;
        });
        require("width");
        require("text");
        if (column.total == TemplateColumn::Total::Sum && !column.text.singleField())
            fail(sectionLine_, QStringLiteral("a column with a sum shows exactly one field"));
        t_.columns.push_back(std::move(column));
    }

    void finishGroup()
    {
        TemplateGroup group;
        group.line = sectionLine_;
        group.footer = QStringLiteral("Total");
        eachEntry([&](const Line& l) {
            if (l.key == "by")
                group.key = fieldName(l, l.value);
            else if (l.key == "header")
                group.header = pattern(l);
            else if (l.key == "header-when-empty")
                group.emptyHeader = pattern(l);
            else if (l.key == "footer")
                group.footer = l.value;
            else
                return false;
            return true;
        });
        require("by");
        require("header");
        t_.group = std::move(group);
    }

    void finishLabels()
    {
        TemplateLabels labels;
        labels.line = sectionLine_;
        LabelGeometry& g = labels.geometry;
        eachEntry([&](const Line& l) {
            if (l.key == "stock")
                labels.stock = l.value;
            else if (l.key == "label-width")
                g.width = number(l, 0.1, 20);
            else if (l.key == "label-height")
                g.height = number(l, 0.1, 20);
            else if (l.key == "across")
                g.across = int(number(l, 1, 50));
            else if (l.key == "down")
                g.down = int(number(l, 1, 100));
            else if (l.key == "left")
                g.left = number(l, 0, 20);
            else if (l.key == "top")
                g.top = number(l, 0, 20);
            else if (l.key == "pitch-across")
                g.pitchAcross = number(l, 0, 20);
            else if (l.key == "pitch-down")
                g.pitchDown = number(l, 0, 20);
            else if (l.key == "margin")
                labels.margin = number(l, 0, 1);
            else if (l.key == "line")
                labels.lines.push_back(pattern(l));
            else
                return false;
            return true;
        });
        for (const char* key : {"label-width", "label-height", "across", "down", "left", "top", "line"})
            require(key);
        if (g.pitchAcross == 0)
            g.pitchAcross = g.width;
        if (g.pitchDown == 0)
            g.pitchDown = g.height;
        const QString problem = g.problem(t_.paperInches());
        if (!problem.isEmpty())
            fail(sectionLine_, problem);
        if (2 * labels.margin >= std::min(g.width, g.height))
            fail(sectionLine_, QStringLiteral("the margin leaves no room inside the label"));
        t_.labels = std::move(labels);
    }

    QString path_;
    ReportTemplate t_;
    QString section_;
    int sectionLine_ = 0;
    bool seenReport_ = false;
    std::vector<Line> entries_;
    std::set<QString> seenKeys_;
};

}  // namespace

QStringList ReportTemplate::tables() const
{
    QStringList names{source};
    for (const TemplateJoin& j : joins)
        names << j.table;
    return names;
}

QSizeF ReportTemplate::paperInches() const
{
    QSizeF size = QPageSize(paper).size(QPageSize::Inch);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QString templateError(const QString& path, int line, const QString& what)
{
    if (line <= 0)
        return QStringLiteral("Error in the report template %1: %2.").arg(path, what);
    return QStringLiteral("Error in the report template %1, line %2: %3.").arg(path).arg(line).arg(what);
}

ReportTemplate parseTemplate(const QString& text, const QString& path)
{
    return TemplateReader(path).read(text);
}

ReportTemplate readTemplate(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("The report template %1 does not exist.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(
            QStringLiteral("The report template %1 cannot be opened: %2.").arg(path, file.errorString()));
    if (file.size() > MaxTemplateBytes)
        throw ReportError(templateError(path, 0, QStringLiteral("the file is too large to be a template")));
    const QByteArray bytes = file.readAll();
    auto decode = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    if (decode.hasError() || bytes.contains('\0'))
        throw ReportError(templateError(path, 0, QStringLiteral("the file is not a text file in UTF-8")));
    return parseTemplate(text, path);
}

}  // namespace reports
