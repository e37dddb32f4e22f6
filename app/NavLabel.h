// The main window's navigation: caption labels over coloured rectangles.
#pragma once

#include "shell/CaptionLabel.h"

#include <QColor>
#include <QWidget>

namespace app {
// Rectangle colours as the platform writes them, red in the low byte.
inline constexpr int HighlightColour = 255;  // pure red, under the pointer
inline constexpr int RestColour = 12632319;  // pale pink (255, 192, 192)
QColor colourFromValue(int value);
int colourValue(const QColor& colour);
}  // namespace app

// A rectangle filled with one colour (the shapes behind the navigation labels).
class NavShape : public QWidget {
    Q_OBJECT
public:
    explicit NavShape(const QString& name, QWidget* parent = nullptr);
    void setFillColor(int value);
    int fillColor() const { return fill_; }
    // The size the shape takes when there is room (it may shrink to its minimum size).
    void setPreferredSize(const QSize& size) { preferred_ = size; }
    QSize sizeHint() const override { return preferred_.expandedTo(minimumSize()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fill_ = app::RestColour;
    QSize preferred_;
};

// A caption label that reports the pointer moving over it and a click.
class NavLabel : public shell::CaptionLabel {
    Q_OBJECT
public:
    NavLabel(const QString& name, const QString& caption, QWidget* parent = nullptr);
    // White text over the red highlight, the ink colour otherwise.
    void setHighlighted(bool highlighted);

signals:
    void mouseMoved();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    bool highlighted_ = false;
};
