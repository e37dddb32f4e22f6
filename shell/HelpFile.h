// The help file: plain text topics, each with a context number or a name (format in
// app/help/README.md). Parsing and rendering are free of widgets.
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace shell {

struct HelpTopic {
    QString key;  // "1000" ... or a name such as "helponhelp"
    QString title;
    QString body;  // the topic's lines as written
};

// Topics in file order. Lines before the first topic and comment lines ("#") are skipped.
QList<HelpTopic> parseHelpFile(const QString& text);
// The topic with the key, if any.
std::optional<HelpTopic> findTopic(const QList<HelpTopic>& topics, const QString& key);
// HTML of one topic: the title as a heading, paragraphs separated by blank lines,
// "- " lines as a bulleted list, "**word**" in bold. Text is escaped.
QString topicHtml(const HelpTopic& topic);

// Key of the topic that explains how to use help.
inline const QString HelpOnHelpKey = QStringLiteral("helponhelp");

}  // namespace shell
