#include "shell/Help.h"

#include "shell/HelpViewer.h"
#include "shell/Paths.h"
#include "shell/Program.h"

#include <QApplication>
#include <QPointer>
#include <QShortcut>

namespace shell {

namespace {

QPointer<HelpViewer>& viewer()
{
    static QPointer<HelpViewer> instance;
    return instance;
}

const char* const HelpContextProperty = "orvaneHelpContext";
const char* const HelpKeyObject = "orvaneHelpKey";

QString helpFilePath()
{
    if (program().HelpFilePath.isEmpty())
        return shell::helpFilePath();
    return program().HelpFilePath;
}

// Shows the viewer over whatever window is in front. While a modal window is open, the
// viewer must be modal too, or the modal window would block it.
void showViewerAt(QWidget* owner, const QString& key)
{
    Q_UNUSED(owner);
    if (!viewer()) {
        viewer() = new HelpViewer;
        viewer()->setAttribute(Qt::WA_DeleteOnClose);
    }
    HelpViewer* v = viewer();
    const Qt::WindowModality wanted =
        QApplication::activeModalWidget() && QApplication::activeModalWidget() != v ? Qt::ApplicationModal
                                                                                    : Qt::NonModal;
    if (v->windowModality() != wanted) {
        v->hide();
        v->setWindowModality(wanted);
    }
    v->openAt(helpFilePath(), key);
    v->show();
    v->raise();
    v->activateWindow();
}

}  // namespace

HelpViewer* currentHelpViewer()
{
    return viewer();
}

void setupHelp(QWidget* mainWindow)
{
    program().HelpOwnerWindow = mainWindow;
    program().HelpFilePath = shell::helpFilePath();
}

void setHelpContext(QWidget* widget, int contextNumber)
{
    if (contextNumber != HelpOfOwner)
        widget->setProperty(HelpContextProperty, contextNumber);
    QWidget* window = widget->window();
    if (window->findChild<QShortcut*>(QLatin1String(HelpKeyObject), Qt::FindDirectChildrenOnly))
        return;
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setObjectName(QLatin1String(HelpKeyObject));
    QObject::connect(key, &QShortcut::activated, window, [window] {
        QWidget* from = QApplication::focusWidget();
        if (!from || from->window() != window)
            from = window;
        showHelp(window, helpContextOf(from));
    });
}

int helpContextOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant number = w->property(HelpContextProperty);
        if (number.isValid())
            return number.toInt();
    }
    return HelpContents;
}

void showHelp(QWidget* owner, int contextNumber)
{
    showViewerAt(owner ? owner : program().HelpOwnerWindow.data(), QString::number(contextNumber));
}

void showHelpOnHelp(QWidget* owner)
{
    showViewerAt(owner ? owner : program().HelpOwnerWindow.data(), HelpOnHelpKey);
}

void quitHelp()
{
    if (viewer())
        viewer()->close();
}

}  // namespace shell
