#include "store/Currency.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace store {

namespace {

// Rounds a raw amount to `decimals` (0..4) places, half away from zero.
int64_t roundRaw(int64_t raw, int decimals)
{
    int64_t unit = 1;
    for (int i = decimals; i < 4; ++i)
        unit *= 10;
    if (unit == 1)
        return raw;
    const int64_t half = unit / 2;
    const int64_t magnitude = raw < 0 ? -raw : raw;
    const int64_t rounded = (magnitude + half) / unit * unit;
    return raw < 0 ? -rounded : rounded;
}

}  // namespace

std::optional<Currency> Currency::parse(const QString& text)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;

    bool negative = false;
    if (s.startsWith('(') && s.endsWith(')')) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    const QString symbol = QLocale().currencySymbol();
    auto stripSymbol = [&](QString& t) {
        if (t.startsWith('$'))
            t = t.mid(1).trimmed();
        else if (!symbol.isEmpty() && t.startsWith(symbol))
            t = t.mid(symbol.size()).trimmed();
    };
    stripSymbol(s);
    if (s.startsWith('-') || s.startsWith('+')) {
        if (s.startsWith('-'))
            negative = !negative;
        s = s.mid(1).trimmed();
    }
    stripSymbol(s);
    if (s.isEmpty())
        return std::nullopt;

    // Digits with optional grouping commas, an optional point and decimals.
    int64_t whole = 0;
    int64_t fraction = 0;  // ten-thousandths
    int fractionDigits = 0;
    bool roundUp = false;
    bool seenPoint = false;
    bool seenDigit = false;
    constexpr int64_t maxWhole = std::numeric_limits<int64_t>::max() / Scale - 1;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            const int digit = c.unicode() - '0';
            seenDigit = true;
            if (!seenPoint) {
                if (whole > (maxWhole - digit) / 10)
                    return std::nullopt;
                whole = whole * 10 + digit;
            } else if (fractionDigits < 4) {
                fraction = fraction * 10 + digit;
                ++fractionDigits;
            } else if (fractionDigits == 4) {
                roundUp = digit >= 5;
                ++fractionDigits;
            }
        } else if (c == ',' && !seenPoint && seenDigit) {
            continue;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit)
        return std::nullopt;
    for (int i = std::min(fractionDigits, 4); i < 4; ++i)
        fraction *= 10;
    int64_t raw = whole * Scale + fraction + (roundUp ? 1 : 0);
    return fromRaw(negative ? -raw : raw);
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        return Currency();
    return fromRaw(static_cast<int64_t>(std::llround(value * double(Scale))));
}

QString Currency::toString(int decimals) const
{
    decimals = std::clamp(decimals, 0, 4);
    const int64_t rounded = roundRaw(raw_, decimals);
    const bool negative = rounded < 0;
    const uint64_t magnitude = negative ? uint64_t(-(rounded + 1)) + 1 : uint64_t(rounded);
    QString text = QString::number(magnitude / uint64_t(Scale));
    if (decimals > 0) {
        QString frac = QString::number(magnitude % uint64_t(Scale)).rightJustified(4, '0');
        text += '.' + frac.left(decimals);
    }
    return negative ? '-' + text : text;
}

}  // namespace store
