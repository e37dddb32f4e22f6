// The help viewer: a window that lists the topics of the help file and shows one of them.
#pragma once

#include "shell/HelpFile.h"

#include <QWidget>

class QListWidget;
class QTextBrowser;
class QPushButton;

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Reads the help file (again) and shows the topic with the key ("1000", "helponhelp").
    // A missing file or topic is explained in the viewer itself.
    void openAt(const QString& helpFilePath, const QString& key);

    QString currentKey() const { return currentKey_; }
    QString shownHtml() const;
    QStringList topicTitles() const;

    QListWidget* lstTopics;
    QTextBrowser* txtTopic;
    QPushButton* cmdClose;

private:
    void showTopic(const QString& key);
    void showProblem(const QString& text);

    QList<shell::HelpTopic> topics_;
    QString currentKey_;
};

namespace shell {
// The open help viewer, or null (tests and quitHelp).
HelpViewer* currentHelpViewer();
}  // namespace shell
