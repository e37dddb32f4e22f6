// An exact amount of money: a fixed-point number with four decimals, held as an integer
// count of ten-thousandths. Money is never accumulated in double.
#pragma once

#include <QMetaType>
#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

namespace store {

class Currency {
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t tenThousandths)
    {
        Currency c;
        c.raw_ = tenThousandths;
        return c;
    }
    static constexpr Currency fromUnits(int64_t whole) { return fromRaw(whole * Scale); }
    // Parses "1234.5", "-0.10", "1,234.50", "$12.50", "(12.50)"; rounds half away from zero
    // past four decimals. Empty or non-numeric text gives nullopt.
    static std::optional<Currency> parse(const QString& text);
    // Rounds to four decimals; for values that come from outside as floating point only.
    static Currency fromDouble(double value);

    constexpr int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / double(Scale); }
    // Plain text with the given number of decimals (rounded half away from zero), "-" for negative,
    // no grouping: "1234.50".
    QString toString(int decimals = 2) const;

    constexpr Currency operator+(Currency o) const { return fromRaw(raw_ + o.raw_); }
    constexpr Currency operator-(Currency o) const { return fromRaw(raw_ - o.raw_); }
    constexpr Currency operator-() const { return fromRaw(-raw_); }
    constexpr Currency operator*(int64_t n) const { return fromRaw(raw_ * n); }
    Currency& operator+=(Currency o)
    {
        raw_ += o.raw_;
        return *this;
    }
    Currency& operator-=(Currency o)
    {
        raw_ -= o.raw_;
        return *this;
    }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    int64_t raw_ = 0;
};

}  // namespace store

Q_DECLARE_METATYPE(store::Currency)
