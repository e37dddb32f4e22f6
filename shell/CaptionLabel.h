// A label for a caption: one line of plain text (or several lines broken by hand), never
// wrapped. It gives the same size hints as QLabel, measured with one text layout per change
// of its text or look: QLabel lays the text out three times for them (at no width, at its
// natural width and at the widest), which a label that never wraps does not need, and the
// windows that show first are mostly captions.
#pragma once

#include <QFont>
#include <QLabel>
#include <QMargins>

namespace shell {

class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& text = QString(), QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    // Whether the one-layout measure applies: plain text without a mnemonic, no picture, no wrap.
    bool measuresItself() const;
    QSize measure() const;

    struct Measured {
        QString text;
        QFont font;
        QMargins contents;
        QSize least;
        Qt::Alignment alignment;
        int margin = 0;
        int indent = 0;
        int frame = 0;
        QSize size;
        bool valid = false;
    };
    mutable Measured measured_;
};

}  // namespace shell
