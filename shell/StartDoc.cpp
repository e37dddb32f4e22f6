#include "shell/StartDoc.h"

#include <QDesktopServices>

namespace shell {

namespace {
UrlOpener& installedOpener()
{
    static UrlOpener opener;
    return opener;
}
}  // namespace

int StartDoc(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return 0;
    const bool started = installedOpener() ? installedOpener()(url) : QDesktopServices::openUrl(url);
    return started ? 1 : 0;
}

UrlOpener setUrlOpener(UrlOpener opener)
{
    UrlOpener previous = std::move(installedOpener());
    installedOpener() = std::move(opener);
    return previous;
}

}  // namespace shell
