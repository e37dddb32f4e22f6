#include "shell/CaptionLabel.h"

#include <QStyle>
#include <QTextDocument>

namespace shell {

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

bool CaptionLabel::measuresItself() const
{
    if (wordWrap() || !pixmap().isNull() || movie() || !picture().isNull())
        return false;
    // Selectable text is laid out as a document, which measures differently.
    if (textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard))
        return false;
    const QString shown = text();
    if (shown.isEmpty())  // a label that never had a text measures as one without any
        return false;
    if (shown.contains(QLatin1Char('&')))  // a mnemonic changes the measure when a buddy is set
        return false;
    switch (textFormat()) {
    case Qt::PlainText:
        return true;
    case Qt::AutoText:
        return !Qt::mightBeRichText(shown);
    default:
        return false;
    }
}

// The size QLabel gives a plain, unwrapped text: the text's bounds in the label's font, with
// the margin, the indent (or, with a frame and no indent, the width of an "x") and the
// contents margins around it, and never under the minimum size.
QSize CaptionLabel::measure() const
{
    const QFontMetrics metrics = fontMetrics();
    int across = 2 * margin();
    int down = across;
    // Left and right follow the direction of the text itself, as QLabel takes them.
    const Qt::LayoutDirection direction = text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const Qt::Alignment align = QStyle::visualAlignment(direction, alignment());
    int inset = indent();
    if (inset < 0 && frameWidth())
        inset = metrics.horizontalAdvance(QLatin1Char('x')) - margin() * 2;
    if (inset > 0) {
        if (align & (Qt::AlignLeft | Qt::AlignRight))
            across += inset;
        if (align & (Qt::AlignTop | Qt::AlignBottom))
            down += inset;
    }
    const QMargins contents = contentsMargins();
    const int flags = int(align & ~(Qt::AlignVCenter | Qt::AlignHCenter));
    const int width = 2000 - (across + contents.left() + contents.right());
    const QRect bounds = metrics.boundingRect(0, 0, width, 2000, flags, text());
    const QSize size(bounds.width() + across + contents.left() + contents.right(),
                     bounds.height() + down + contents.top() + contents.bottom());
    return size.expandedTo(minimumSize());
}

QSize CaptionLabel::sizeHint() const
{
    if (!measuresItself())
        return QLabel::sizeHint();
    ensurePolished();
    Measured now;
    now.text = text();
    now.font = font();
    now.contents = contentsMargins();
    now.least = minimumSize();
    now.alignment = alignment();
    now.margin = margin();
    now.indent = indent();
    now.frame = frameWidth();
    const Measured& was = measured_;
    const bool same = was.valid && was.text == now.text && was.font == now.font &&
                      was.contents == now.contents && was.least == now.least &&
                      was.alignment == now.alignment &&
                      was.margin == now.margin && was.indent == now.indent && was.frame == now.frame;
    if (!same) {
        now.size = measure();
        now.valid = true;
        measured_ = now;
    }
    return measured_.size;
}

// Unwrapped, the text is as wide at any width as at its natural one.
QSize CaptionLabel::minimumSizeHint() const
{
    return measuresItself() ? sizeHint() : QLabel::minimumSizeHint();
}

}  // namespace shell
