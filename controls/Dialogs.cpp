#include "controls/Dialogs.h"

#include "controls/Printer.h"
#include "controls/WaitCursor.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace controls {

namespace {

const QString ProductName = QStringLiteral("Orvane");

QString titleOr(const QString& title)
{
    return title.isEmpty() ? ProductName : title;
}

// The buttons of a style, in the order the style names them, with the answer of each.
std::vector<std::pair<QMessageBox::StandardButton, int>> buttonsOf(int style)
{
    using B = QMessageBox;
    switch (mb::buttonsOf(style)) {
        case mb::OKCancel:
            return {{B::Ok, mb::OK}, {B::Cancel, mb::Cancel}};
        case mb::AbortRetryIgnore:
            return {{B::Abort, mb::Abort}, {B::Retry, mb::Retry}, {B::Ignore, mb::Ignore}};
        case mb::YesNoCancel:
            return {{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}};
        case mb::YesNo:
            return {{B::Yes, mb::Yes}, {B::No, mb::No}};
        case mb::RetryCancel:
            return {{B::Retry, mb::Retry}, {B::Cancel, mb::Cancel}};
        default:
            return {{B::Ok, mb::OK}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (mb::iconOf(style)) {
        case mb::Critical:
            return QMessageBox::Critical;
        case mb::Question:
            return QMessageBox::Question;
        case mb::Exclamation:
            return QMessageBox::Warning;
        case mb::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// Index of the default button (0-based) within the buttons of the style.
size_t defaultIndexOf(int style, size_t buttonCount)
{
    const size_t index = size_t(mb::defaultOf(style) / mb::DefaultButton2);
    return index < buttonCount ? index : 0;
}

// The answer of a box closed without a button (Esc or the close box): Cancel when the
// box has one, No for Yes/No, else the only or first button.
int escapeAnswerOf(int style)
{
    for (const auto& b : buttonsOf(style))
        if (b.second == mb::Cancel)
            return mb::Cancel;
    return mb::buttonsOf(style) == mb::YesNo ? mb::No : buttonsOf(style).front().second;
}

// A message box sizes itself to its text; a short text would cut its title short in the
// title bar. A spacer in its layout keeps it as wide as the title (and the title bar's
// buttons) need.
void keepTitleReadable(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 180;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(),
                  0, 1, grid->columnCount());
}

class QtDialogs : public DialogProvider {
public:
    int messageBox(QWidget* parent, const QString& text, int style, const QString& title,
                   const QString& informative) override
    {
        QMessageBox box(iconOf(style), titleOr(title), text, QMessageBox::NoButton, parent);
        box.setInformativeText(informative);
        keepTitleReadable(box);
        const auto buttons = buttonsOf(style);
        std::vector<QPushButton*> made;
        for (const auto& b : buttons)
            made.push_back(box.addButton(b.first));
        box.setDefaultButton(made[defaultIndexOf(style, made.size())]);
        box.exec();
        for (size_t i = 0; i < made.size(); ++i)
            if (box.clickedButton() == made[i])
                return buttons[i].second;
        return escapeAnswerOf(style);
    }

    bool inputBox(QWidget* parent, const QString& prompt, const QString& title, const QString& defaultText,
                  QString* answer) override
    {
        bool ok = false;
        const QString text =
            QInputDialog::getText(parent, titleOr(title), prompt, QLineEdit::Normal, defaultText, &ok);
        if (answer)
            *answer = ok ? text : QString();
        return ok;
    }

    QString openFileName(QWidget* parent, const QString& caption, const QString& start,
                         const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, start, filter);
    }
    QString saveFileName(QWidget* parent, const QString& caption, const QString& start,
                         const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, start, filter);
    }
    bool choosePrinter(QWidget* parent, const QString& caption, Printer& printer) override
    {
        return printer.choose(parent, caption);
    }
    void beep() override { QApplication::beep(); }

    void endProgram() override
    {
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    }
};

std::shared_ptr<DialogProvider>& provider()
{
    static std::shared_ptr<DialogProvider> current = std::make_shared<QtDialogs>();
    return current;
}

ModalHook& modalHook()
{
    static ModalHook hook;
    return hook;
}

// Runs a widget that is not a QDialog as a modal window until it hides.
int runModalWidget(QWidget* window)
{
    const Qt::WindowModality before = window->windowModality();
    window->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    struct HideWatcher : QObject {
        QEventLoop* loop;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Hide || e->type() == QEvent::Destroy)
                loop->quit();
            return false;
        }
    } watcher;
    watcher.loop = &loop;
    QPointer<QWidget> guard(window);
    window->installEventFilter(&watcher);
    window->show();
    if (window->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard) {
        window->removeEventFilter(&watcher);
        window->setWindowModality(before);
    }
    return 0;
}

}  // namespace

int MsgBox(const QString& text, int style, const QString& title, QWidget* parent, const QString& informative)
{
    NormalPointer waitingForTheUser;
    return provider()->messageBox(parent, text, style, titleOr(title), informative);
}

int ExplainedMsgBox(const QString& text, const QString& informativeText, int style, const QString& title,
                    QWidget* parent)
{
    return MsgBox(text, style, title, parent, informativeText);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, bool* cancelled,
                 QWidget* parent)
{
    NormalPointer waitingForTheUser;
    QString answer;
    const bool accepted = provider()->inputBox(parent, prompt, titleOr(title), defaultText, &answer);
    if (cancelled)
        *cancelled = !accepted;
    return accepted ? answer : QString();
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter)
{
    NormalPointer waitingForTheUser;
    return provider()->openFileName(parent, caption, start, filter);
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter)
{
    NormalPointer waitingForTheUser;
    return provider()->saveFileName(parent, caption, start, filter);
}

bool ChoosePrinter(QWidget* parent, const QString& caption, Printer& printer)
{
    NormalPointer waitingForTheUser;
    return provider()->choosePrinter(parent, caption, printer);
}

void Beep()
{
    provider()->beep();
}

void EndProgram()
{
    provider()->endProgram();
}

int ShowModal(QWidget* window)
{
    if (!window)
        return 0;
    NormalPointer waitingForTheUser;
    if (modalHook())
        return modalHook()(window);
    if (auto* dialog = qobject_cast<QDialog*>(window))
        return dialog->exec();
    return runModalWidget(window);
}

ModalHook setModalHook(ModalHook hook)
{
    ModalHook previous = std::move(modalHook());
    modalHook() = std::move(hook);
    return previous;
}

std::shared_ptr<DialogProvider> setDialogProvider(std::shared_ptr<DialogProvider> replacement)
{
    std::shared_ptr<DialogProvider> previous = provider();
    provider() = replacement ? std::move(replacement) : std::make_shared<QtDialogs>();
    return previous;
}

// ---- FakeDialogs ------------------------------------------------------------------------

namespace {

// The answer of a box's default button.
int defaultAnswerOf(int style)
{
    const auto buttons = buttonsOf(style);
    return buttons[defaultIndexOf(style, buttons.size())].second;
}

}  // namespace

int FakeDialogs::messageBox(QWidget*, const QString& text, int style, const QString& title,
                            const QString& informative)
{
    DialogCall call{DialogCall::Kind::MessageBox, text, title, style, QString(), informative};
    calls.push_back(call);
    if (onShow)
        onShow(call);
    if (messageAnswers.empty())
        return defaultAnswerOf(style);
    const int answer = messageAnswers.front();
    messageAnswers.erase(messageAnswers.begin());
    return answer;
}

bool FakeDialogs::inputBox(QWidget*, const QString& prompt, const QString& title, const QString& defaultText,
                           QString* answer)
{
    DialogCall call{DialogCall::Kind::InputBox, prompt, title, 0, defaultText};
    calls.push_back(call);
    if (onShow)
        onShow(call);
    std::pair<bool, QString> reply{false, QString()};
    if (!inputAnswers.empty()) {
        reply = inputAnswers.front();
        inputAnswers.erase(inputAnswers.begin());
    }
    if (answer)
        *answer = reply.first ? reply.second : QString();
    return reply.first;
}

namespace {

QString nextFileAnswer(FakeDialogs& fake, DialogCall::Kind kind, const QString& caption, const QString& start)
{
    DialogCall call{kind, caption, QString(), 0, start};
    fake.calls.push_back(call);
    if (fake.onShow)
        fake.onShow(call);
    if (fake.fileAnswers.empty())
        return QString();
    QString answer = fake.fileAnswers.front();
    fake.fileAnswers.erase(fake.fileAnswers.begin());
    return answer;
}

}  // namespace

QString FakeDialogs::openFileName(QWidget*, const QString& caption, const QString& start, const QString&)
{
    return nextFileAnswer(*this, DialogCall::Kind::OpenFile, caption, start);
}

QString FakeDialogs::saveFileName(QWidget*, const QString& caption, const QString& start, const QString&)
{
    return nextFileAnswer(*this, DialogCall::Kind::SaveFile, caption, start);
}

bool FakeDialogs::choosePrinter(QWidget*, const QString& caption, Printer& printer)
{
    DialogCall call{DialogCall::Kind::Print, caption};
    calls.push_back(call);
    if (onShow)
        onShow(call);
    if (printAnswers.empty())
        return false;
    const QString file = printAnswers.front();
    printAnswers.erase(printAnswers.begin());
    if (file.isEmpty())
        return false;
    printer.printToPdf(file);
    return true;
}

void FakeDialogs::beep()
{
    calls.push_back({DialogCall::Kind::Beep, {}, {}, 0, {}});
}

void FakeDialogs::endProgram()
{
    ++endProgramCount;
    calls.push_back({DialogCall::Kind::EndProgram, {}, {}, 0, {}});
}

std::vector<DialogCall> FakeDialogs::messages() const
{
    std::vector<DialogCall> result;
    for (const auto& c : calls)
        if (c.kind == DialogCall::Kind::MessageBox)
            result.push_back(c);
    return result;
}

int FakeDialogs::beepCount() const
{
    int n = 0;
    for (const auto& c : calls)
        n += c.kind == DialogCall::Kind::Beep;
    return n;
}

void FakeDialogs::clear()
{
    calls.clear();
    messageAnswers.clear();
    inputAnswers.clear();
    endProgramCount = 0;
}

ScopedFakeDialogs::ScopedFakeDialogs() : fake_(std::make_shared<FakeDialogs>())
{
    previous_ = setDialogProvider(fake_);
}

ScopedFakeDialogs::~ScopedFakeDialogs()
{
    setDialogProvider(previous_);
}

}  // namespace controls
