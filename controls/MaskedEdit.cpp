#include "controls/MaskedEdit.h"

#include <QRegularExpression>

namespace controls {

MaskedEdit::MaskedEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskedEdit::setMask(const QString& mask)
{
    const QString current = text();
    mask_ = mask;
    setText(current);
}

void MaskedEdit::applyMask()
{
    if (inputMask() != mask_)
        setInputMask(mask_);
}

// Does a text read back unchanged through the mask? (A mask drops characters that do not
// fit its positions.)
bool MaskedEdit::fits(const QString& value) const
{
    if (mask_.isEmpty() || value.isEmpty())
        return true;
    QLineEdit probe;
    probe.setInputMask(mask_);
    probe.setText(value);
    return probe.text() == value;
}

QString MaskedEdit::text() const
{
    if (inputMask().isEmpty())
        return QLineEdit::text();
    return clipText().isEmpty() ? QString() : QLineEdit::text();
}

void MaskedEdit::setText(const QString& value)
{
    if (fits(value))
        applyMask();
    else
        setInputMask(QString());  // keep a text of another form as it is
    QLineEdit::setText(value);
}

QString MaskedEdit::clipText() const
{
    if (inputMask().isEmpty())
        return QLineEdit::text();
    // displayText() shows every position of the mask (blanks as the blank character), so
    // its positions line up with the mask's: keep what was typed at the input positions.
    const QString maskPart = mask_.section(';', 0, 0);
    const QString blankPart = mask_.section(';', 1, 1);
    const QChar blank = blankPart.isEmpty() ? QChar(' ') : blankPart.at(0);
    const QString shown = displayText();
    QString result;
    int pos = 0;
    for (int i = 0; i < maskPart.size() && pos < shown.size(); ++i) {
        const QChar m = maskPart.at(i);
        if (QStringLiteral("<>!").contains(m))
            continue;
        if (m == '\\') {
            ++i;  // an escaped literal
        } else if (QStringLiteral("AaNnXx90Dd#HhBb").contains(m) && shown.at(pos) != blank) {
            result += shown.at(pos);
        }
        ++pos;
    }
    return result;
}

}  // namespace controls
