#include "shell/HelpViewer.h"

#include "shell/Help.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Orvane Help"));
    resize(760, 520);

    lstTopics = new QListWidget;
    lstTopics->setObjectName(QStringLiteral("lstTopics"));
    txtTopic = new QTextBrowser;
    txtTopic->setObjectName(QStringLiteral("txtTopic"));
    txtTopic->setOpenLinks(false);
    cmdClose = new QPushButton(QStringLiteral("&Close"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(QStringLiteral("Topics")));
    leftLayout->addWidget(lstTopics);

    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(txtTopic);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({220, 540});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons);

    connect(lstTopics, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < topics_.size() && topics_[row].key != currentKey_)
            showTopic(topics_[row].key);
    });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
    // F1 in the help window explains the help window.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { shell::showHelpOnHelp(this); });
}

void HelpViewer::openAt(const QString& helpFilePath, const QString& key)
{
    topics_.clear();
    lstTopics->clear();
    currentKey_.clear();
    QFile file(helpFilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        showProblem(QStringLiteral("The help file could not be found.\n\nOrvane looks for it at:\n%1\n\n"
                                   "Reinstall the program or copy Orvane.HLP into the program's folder.")
                        .arg(helpFilePath));
        return;
    }
    topics_ = shell::parseHelpFile(QString::fromUtf8(file.readAll()));
    for (const shell::HelpTopic& topic : topics_)
        lstTopics->addItem(topic.title);
    showTopic(key);
}

void HelpViewer::showTopic(const QString& key)
{
    const std::optional<shell::HelpTopic> topic = shell::findTopic(topics_, key);
    if (!topic) {
        showProblem(QStringLiteral("The help file has no topic for this window (%1).\n\n"
                                   "Choose a topic from the list on the left.")
                        .arg(key));
        return;
    }
    currentKey_ = topic->key;
    txtTopic->setHtml(shell::topicHtml(*topic));
    for (int row = 0; row < topics_.size(); ++row) {
        if (topics_[row].key == currentKey_)
            lstTopics->setCurrentRow(row);
    }
}

void HelpViewer::showProblem(const QString& text)
{
    txtTopic->setPlainText(text);
}

QString HelpViewer::shownHtml() const
{
    return txtTopic->toHtml();
}

QStringList HelpViewer::topicTitles() const
{
    QStringList titles;
    for (const shell::HelpTopic& topic : topics_)
        titles << topic.title;
    return titles;
}
