// The one seam through which windows show message boxes and input boxes, beep, and end
// the program. Production shows real Qt dialogs; tests install a scripted fake that
// records every call and answers it.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace controls {

class Printer;

// Message-box style flags, combined with |, as the windows name them.
namespace mb {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton1 = 0;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
// Answers.
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;

inline int buttonsOf(int style)
{
    return style & 0x0F;
}
inline int iconOf(int style)
{
    return style & 0xF0;
}
inline int defaultOf(int style)
{
    return style & 0xF00;
}
}  // namespace mb

// What a message box or input box was asked to show (recorded by the fake).
struct DialogCall {
    enum class Kind { MessageBox, InputBox, Beep, EndProgram, OpenFile, SaveFile, Print } kind = Kind::MessageBox;
    QString text;  // message or prompt; file and print dialogs: the caption
    QString title;
    int style = 0;        // message boxes: mb flags
    QString defaultText;  // input boxes; file dialogs: the folder or file they start at
    QString informative;  // message boxes: the reason, shown under the text
};

// The implementation behind the seam.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    virtual int messageBox(QWidget* parent, const QString& text, int style, const QString& title,
                           const QString& informative) = 0;
    // Returns false when the user cancelled; otherwise the text typed.
    virtual bool inputBox(QWidget* parent, const QString& prompt, const QString& title,
                          const QString& defaultText, QString* answer) = 0;
    // A file to open or to save to (filter as QFileDialog takes it); empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter) = 0;
    // The print dialog over a printer the caller has set up: true when the user chose to print
    // (the printer then carries the choices), false when cancelled.
    virtual bool choosePrinter(QWidget* parent, const QString& caption, Printer& printer) = 0;
    virtual void beep() = 0;
    // Ends the program at once (production: closes every window and quits the event loop).
    virtual void endProgram() = 0;
};

// Shows a message box; returns the answer (mb::OK, mb::Yes, ...). Title empty -> "Orvane".
// informative, when given, is shown under the text: why it happened and what to do. The
// box is always wide enough to show its whole title.
int MsgBox(const QString& text, int style = mb::OKOnly, const QString& title = QString(),
           QWidget* parent = nullptr, const QString& informative = QString());
// The same with the explanation first (a reason, a file's path), for boxes that always carry one.
int ExplainedMsgBox(const QString& text, const QString& informativeText, int style = mb::OKOnly,
                    const QString& title = QString(), QWidget* parent = nullptr);
// Shows an input box; returns the typed text, or an empty text when cancelled
// (cancelled is set when given).
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString(), bool* cancelled = nullptr,
                 QWidget* parent = nullptr);
// Asks for a file to open, or a file to save to (the save dialog asks before replacing a
// file); returns its path, or an empty text when cancelled.
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter);
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& start, const QString& filter);
// Asks where and how to print (the print dialog); false when cancelled.
bool ChoosePrinter(QWidget* parent, const QString& caption, Printer& printer);
void Beep();
void EndProgram();

// Shows a window modally (QDialog::exec() for dialogs; a local event loop until the
// window hides for other widgets) and returns the dialog's result. Tests replace it
// so that a modal window does not block: the hook sees the window, may drive it, and
// returns a result.
using ModalHook = std::function<int(QWidget* window)>;
int ShowModal(QWidget* window);
// Installs a hook (tests); an empty hook restores the real modal loop. Returns the previous.
ModalHook setModalHook(ModalHook hook);

// Installs a provider (tests); null restores the real Qt dialogs. Returns the previous one.
std::shared_ptr<DialogProvider> setDialogProvider(std::shared_ptr<DialogProvider> provider);

// A scripted fake for tests: records every call; answers message boxes and input boxes
// from queues (default answers when the queue is empty: the box's default button, and
// a cancelled input box). onShow, when set, runs before answering (e.g. to inspect state).
class FakeDialogs : public DialogProvider {
public:
    std::vector<DialogCall> calls;
    std::vector<int> messageAnswers;                     // consumed front first
    std::vector<std::pair<bool, QString>> inputAnswers;  // (accepted, text), front first
    std::vector<QString> fileAnswers;                    // paths (empty: cancelled), front first
    // Print dialogs: a PDF file the printer is pointed at (empty: cancelled), front first. With
    // none left the dialog is cancelled.
    std::vector<QString> printAnswers;
    int endProgramCount = 0;
    std::function<void(const DialogCall&)> onShow;

    int messageBox(QWidget* parent, const QString& text, int style, const QString& title,
                   const QString& informative) override;
    bool inputBox(QWidget* parent, const QString& prompt, const QString& title, const QString& defaultText,
                  QString* answer) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& start,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& start,
                         const QString& filter) override;
    bool choosePrinter(QWidget* parent, const QString& caption, Printer& printer) override;
    void beep() override;
    void endProgram() override;

    // Convenience for assertions.
    std::vector<DialogCall> messages() const;  // message boxes only
    int beepCount() const;
    void clear();
};

// Installs a FakeDialogs for the lifetime of the guard (tests).
class ScopedFakeDialogs {
public:
    ScopedFakeDialogs();
    ~ScopedFakeDialogs();
    FakeDialogs& operator*() { return *fake_; }
    FakeDialogs* operator->() { return fake_.get(); }

private:
    std::shared_ptr<FakeDialogs> fake_;
    std::shared_ptr<DialogProvider> previous_;
};

}  // namespace controls
