// The program's style: the platform's default style with a few pictures of our own.
#pragma once

#include <QProxyStyle>

namespace app {

class AppStyle : public QProxyStyle {
    Q_OBJECT
public:
    AppStyle() = default;
    // The menu bar's overflow arrows are drawn here rather than read from image files:
    // reading them makes Qt load every image-format plugin while the main window is built.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Installs AppStyle as the application's style (once).
void installAppStyle();

}  // namespace app
