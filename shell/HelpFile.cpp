#include "shell/HelpFile.h"

#include <QRegularExpression>
#include <QStringList>

namespace shell {

namespace {

const QString TopicMark = QStringLiteral("== ");

// "== 1000 General Information" -> key "1000", title "General Information".
HelpTopic topicFromHeader(const QString& line)
{
    const QString rest = line.mid(TopicMark.size()).trimmed();
    const qsizetype gap = rest.indexOf(QLatin1Char(' '));
    HelpTopic topic;
    topic.key = (gap < 0 ? rest : rest.left(gap)).toLower();
    topic.title = gap < 0 ? topic.key : rest.mid(gap + 1).trimmed();
    return topic;
}

QString inlineHtml(const QString& text)
{
    static const QRegularExpression bold(QStringLiteral("\\*\\*(.+?)\\*\\*"));
    return text.toHtmlEscaped().replace(bold, QStringLiteral("<b>\\1</b>"));
}

}  // namespace

QList<HelpTopic> parseHelpFile(const QString& text)
{
    QList<HelpTopic> topics;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        QString line = raw;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(TopicMark)) {
            topics.append(topicFromHeader(line));
            continue;
        }
        if (!topics.isEmpty())
            topics.last().body += line + QLatin1Char('\n');
    }
    for (HelpTopic& topic : topics)
        topic.body = topic.body.trimmed();
    return topics;
}

std::optional<HelpTopic> findTopic(const QList<HelpTopic>& topics, const QString& key)
{
    for (const HelpTopic& topic : topics) {
        if (topic.key.compare(key, Qt::CaseInsensitive) == 0)
            return topic;
    }
    return std::nullopt;
}

QString topicHtml(const HelpTopic& topic)
{
    QString html = QStringLiteral("<h2>%1</h2>").arg(topic.title.toHtmlEscaped());
    const QStringList blocks =
        topic.body.split(QRegularExpression(QStringLiteral("\\n\\s*\\n")), Qt::SkipEmptyParts);
    for (const QString& block : blocks) {
        const QStringList lines = block.split(QLatin1Char('\n'));
        if (lines.first().trimmed().startsWith(QLatin1String("- "))) {
            html += QStringLiteral("<ul>");
            for (const QString& l : lines) {
                const QString item = l.trimmed();
                html += QStringLiteral("<li>%1</li>")
                            .arg(inlineHtml(item.startsWith(QLatin1String("- ")) ? item.mid(2) : item));
            }
            html += QStringLiteral("</ul>");
        } else {
            QStringList joined;
            for (const QString& l : lines)
                joined << l.trimmed();
            html += QStringLiteral("<p>%1</p>").arg(inlineHtml(joined.join(QLatin1Char(' '))));
        }
    }
    return html;
}

}  // namespace shell
