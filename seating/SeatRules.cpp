#include "seating/SeatRules.h"

#include "controls/CellFormat.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace seating {

namespace {

bool isNull(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

}  // namespace

std::optional<QString> partyDisplayText(const QVariant& prefix, const QVariant& firstName,
                                        const QVariant& lastName)
{
    if (isNull(lastName))
        return std::nullopt;
    QStringList parts;
    for (const QVariant* part : {&prefix, &firstName, &lastName}) {
        const QString text = isNull(*part) ? QString() : part->toString().trimmed();
        if (!text.isEmpty())
            parts << text;
    }
    return parts.join(QLatin1Char(' '));
}

QString partySizeWord(int people)
{
    return people == 1 ? QStringLiteral("Person") : QStringLiteral("People");
}

int freeSeats(int maxSeats, int assigned)
{
    return maxSeats - assigned;
}

QString partyListCaption(const QString& title, int count)
{
    return title + QStringLiteral("  (") + QString::number(count) + QLatin1Char(')');
}

QString tablesCaption(int count)
{
    return QStringLiteral("Tables ") + QStringLiteral(" (") + QString::number(count) + QLatin1Char(')');
}

QString seatPromptText(const QString& party, int free)
{
    return QStringLiteral("How many people in the group of") + QChar(10) + party +
           QStringLiteral(" to add?") + QChar(10) + QChar(10) + QStringLiteral("You have ") +
           QString::number(free) + QStringLiteral(" available seats at this table.");
}

QString seatPromptTitle(const QString& tableName)
{
    return QStringLiteral("Assign Guests to ") + tableName;
}

SeatAnswer readSeatAnswer(const QString& answer, int free)
{
    if (answer.isEmpty())
        return {SeatAnswer::Kind::Cancelled, 0};
    // Only a whole number of people counts; a sign, a decimal point or letters make the
    // answer unreadable, and the question is asked again.
    QString digits = answer.trimmed();
    if (digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1);
    if (digits.isEmpty() || !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        }))
        return {SeatAnswer::Kind::AskAgain, 0};
    bool ok = false;
    const qulonglong people = digits.toULongLong(&ok);
    if (ok && people == 0)
        return {SeatAnswer::Kind::Zero, 0};
    if (!ok || free < 0 || people > qulonglong(free))  // !ok: more digits than any count
        return {SeatAnswer::Kind::TooMany, 0};
    return {SeatAnswer::Kind::Accepted, int(people)};
}

bool numberBoxAccepts(int keyAscii)
{
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '$';
}

bool seatsGiven(const QString& text)
{
    const QVariant seats = controls::parseCell(text, store::FieldType::Number);
    return seats.typeId() == QMetaType::LongLong && seats.toLongLong() != 0;
}

std::optional<QString> seatCountProblem(const QString& caption, const QString& text)
{
    // Read as the store reads it; a run of digits too long for any number still counts.
    const QVariant value = controls::parseCell(text, store::FieldType::Number);
    QString digits = text.trimmed();
    digits.remove(QLatin1Char('$'));
    const bool allDigits =
        !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); });
    if (value.typeId() != QMetaType::LongLong && value.typeId() != QMetaType::Double && !allDigits)
        return std::nullopt;
    const double seats = allDigits ? digits.toDouble() : value.toDouble();
    if (seats > std::numeric_limits<qint16>::max())
        return caption + QStringLiteral(" can be at most %1.").arg(std::numeric_limits<qint16>::max());
    if (seats < std::numeric_limits<qint16>::min())
        return caption + QStringLiteral(" can be no less than %1.").arg(std::numeric_limits<qint16>::min());
    return std::nullopt;
}

}  // namespace seating
