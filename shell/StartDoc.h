// Opening documents and web addresses with the desktop's default handler.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace shell {

// Asks the desktop to open the document or web address ("https://...", a file path).
// Returns 1 when the desktop accepted it, 0 otherwise; callers need not look at it.
int StartDoc(const QString& address);

// The opener behind StartDoc (tests record the addresses instead of starting a browser).
// An empty function restores QDesktopServices::openUrl. Returns the previous opener.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener setUrlOpener(UrlOpener opener);

}  // namespace shell
