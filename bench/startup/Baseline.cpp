// The yardstick of the start-up benchmark: a Qt Widgets program that shows one window and
// quits once it has been painted, exactly as the program does under ORVANE_QUIT_WHEN_SHOWN.
#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace {
class Window : public QLabel {
public:
    Window() : QLabel(QStringLiteral("Hello")) { resize(800, 580); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        if (!quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
    }

private:
    bool quitting_ = false;
};
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window window;
    window.show();
    return app.exec();
}
