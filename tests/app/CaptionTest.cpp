// The caption label measures as QLabel does, with one text layout per change, and the
// main window's background and shapes look as drawn directly.
#include "app/NavLabel.h"
#include "shell/Artwork.h"
#include "shell/CaptionLabel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

struct Look {
    const char* name;
    QString text;
    int pointSize = 0;
    bool italic = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int margin = 0;
    int indent = -1;
    QFrame::Shape frame = QFrame::NoFrame;
    QMargins contents;
    QSize least;
};

void apply(QLabel& label, const Look& look)
{
    label.setText(look.text);
    if (look.pointSize > 0) {
        QFont font = label.font();
        font.setPointSize(look.pointSize);
        font.setItalic(look.italic);
        label.setFont(font);
    }
    label.setAlignment(look.alignment);
    label.setMargin(look.margin);
    label.setIndent(look.indent);
    label.setFrameShape(look.frame);
    label.setContentsMargins(look.contents);
    if (look.least.isValid())
        label.setMinimumSize(look.least);
}

TEST(CaptionLabel, GivesTheSizeHintsOfALabel)
{
    const QString mixed = QStringLiteral("Zoë O'Brien-Łukasz 😀 شريف 李");
    const Look looks[] = {
        {"plain", QStringLiteral("Guest List Manager")},
        {"large italic centred", QStringLiteral("Emma and James"), 24, true, Qt::AlignCenter},
        {"empty", QString()},
        {"lines broken by hand", QStringLiteral("The Wedding\nof two people")},
        {"other scripts and emoji", mixed, 15, true},
        {"right to left text", QStringLiteral("شريف وليلى"), 0, false, Qt::AlignLeft},
        {"margin and indent", QStringLiteral("Vendors"), 0, false, Qt::AlignRight | Qt::AlignTop, 5, 9},
        {"frame without indent", QStringLiteral("Budget"), 0, false, Qt::AlignLeft, 2, -1, QFrame::Box},
        {"contents margins", QStringLiteral("Seating"), 0, false, Qt::AlignCenter, 0, -1, QFrame::NoFrame,
         QMargins(3, 4, 11, 6)},
        {"minimum size", QStringLiteral("X"), 0, false, Qt::AlignCenter, 0, -1, QFrame::NoFrame, QMargins(),
         QSize(120, 40)},
    };
    for (const Look& look : looks) {
        SCOPED_TRACE(look.name);
        QLabel label;
        shell::CaptionLabel caption;
        apply(label, look);
        apply(caption, look);
        EXPECT_EQ(caption.sizeHint(), label.sizeHint());
        EXPECT_EQ(caption.minimumSizeHint(), label.minimumSizeHint());
    }
}

TEST(CaptionLabel, MeasuresAgainAfterEveryChange)
{
    QLabel label(QStringLiteral("Short"));
    shell::CaptionLabel caption(QStringLiteral("Short"));
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());

    label.setText(QStringLiteral("A much longer caption than before"));
    caption.setText(QStringLiteral("A much longer caption than before"));
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());

    QFont larger = caption.font();
    larger.setPointSize(larger.pointSize() * 2);
    label.setFont(larger);
    caption.setFont(larger);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());

    label.setMargin(7);
    caption.setMargin(7);
    label.setMinimumWidth(900);
    caption.setMinimumWidth(900);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());
    EXPECT_EQ(caption.minimumSizeHint(), label.minimumSizeHint());
}

// What the one-layout measure does not cover is measured by QLabel itself.
TEST(CaptionLabel, LeavesWrappedRichAndPictureLabelsToTheLabel)
{
    const QString longText = QStringLiteral("Reception Seating Manager and every other window of the program");
    QLabel label(longText);
    shell::CaptionLabel caption(longText);
    label.setWordWrap(true);
    caption.setWordWrap(true);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());
    EXPECT_EQ(caption.minimumSizeHint(), label.minimumSizeHint());
    EXPECT_LT(caption.minimumSizeHint().width(), caption.sizeHint().width());

    label.setWordWrap(false);
    caption.setWordWrap(false);
    label.setText(QStringLiteral("<b>Guests</b> and <i>tables</i>"));
    caption.setText(QStringLiteral("<b>Guests</b> and <i>tables</i>"));
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());

    label.setText(QStringLiteral("&Vendors"));
    caption.setText(QStringLiteral("&Vendors"));
    label.setBuddy(&caption);
    caption.setBuddy(&label);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());

    // Selectable text is measured as a document.
    label.setBuddy(nullptr);
    caption.setBuddy(nullptr);
    label.setText(QStringLiteral("Émilie O'Brien 💍"));
    caption.setText(QStringLiteral("Émilie O'Brien 💍"));
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    caption.setTextInteractionFlags(Qt::TextSelectableByMouse);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());
    EXPECT_EQ(caption.minimumSizeHint(), label.minimumSizeHint());

    QPixmap picture(64, 32);
    picture.fill(Qt::red);
    label.setPixmap(picture);
    caption.setPixmap(picture);
    EXPECT_EQ(caption.sizeHint(), label.sizeHint());
    EXPECT_EQ(caption.sizeHint(), QSize(64, 32));
}

QImage painted(QSize size, const std::function<void(QPainter&)>& paint)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p);
    p.end();
    return image;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return largest;
}

// The bands of one colour each give the gradient's picture, to the rounding of a colour
// step, over the whole area and over a part of it painted on its own.
TEST(HubBackground, LooksAsTheGradientItBands)
{
    for (const QSize size : {QSize(800, 580), QSize(320, 1), QSize(90, 2000)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        const QImage banded = painted(size, [&](QPainter& p) { shell::paintHubBackground(p, QRect(QPoint(), size)); });
        const QImage gradient = painted(size, [&](QPainter& p) {
            QLinearGradient ground(0, 0, 0, size.height());
            ground.setColorAt(0.0, QColor(255, 251, 245));
            ground.setColorAt(0.6, QColor(252, 236, 236));
            ground.setColorAt(1.0, QColor(246, 222, 228));
            p.fillRect(QRect(QPoint(), size), ground);
        });
        EXPECT_LE(largestDifference(banded, gradient), 1);
    }
    // Every row of the area is covered, and nothing outside it.
    const QImage part = painted(QSize(50, 50), [](QPainter& p) { shell::paintHubBackground(p, QRect(10, 5, 30, 40)); });
    EXPECT_EQ(part.pixel(9, 20), qRgb(255, 255, 255));
    EXPECT_EQ(part.pixel(40, 20), qRgb(255, 255, 255));
    EXPECT_EQ(part.pixel(20, 4), qRgb(255, 255, 255));
    EXPECT_EQ(part.pixel(20, 45), qRgb(255, 255, 255));
    EXPECT_NE(part.pixel(10, 5), qRgb(255, 255, 255));
    EXPECT_NE(part.pixel(39, 44), qRgb(255, 255, 255));
}

// A shape copies the look it drew once: two shapes of one size and colour paint alike, a
// shape that changes colour or size paints its new look.
TEST(NavigationShape, PaintsItsOwnColourAndSize)
{
    // Rendered without the window's background, so that what the shape leaves clear shows.
    auto grab = [](NavShape& shape) {
        QImage image(shape.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        shape.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    NavShape first(QStringLiteral("Shape1"));
    NavShape second(QStringLiteral("Shape2"));
    first.resize(290, 58);
    second.resize(290, 58);
    const QImage rest = grab(first);
    EXPECT_EQ(grab(second), rest);
    EXPECT_EQ(rest.pixelColor(145, 29), app::colourFromValue(app::RestColour));

    second.setFillColor(app::HighlightColour);
    const QImage lit = grab(second);
    EXPECT_EQ(lit.pixelColor(145, 29), QColor(Qt::red));
    EXPECT_EQ(grab(first), rest);

    second.resize(200, 44);
    const QImage smaller = grab(second);
    EXPECT_EQ(smaller.size(), QSize(200, 44));
    EXPECT_EQ(smaller.pixelColor(100, 22), QColor(Qt::red));
    EXPECT_EQ(smaller.pixelColor(0, 0).alpha(), 0);  // the rounded corner is left clear
}

}  // namespace
