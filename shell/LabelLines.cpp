#include "shell/LabelLines.h"

namespace shell {

namespace {

QString textOf(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

}  // namespace

QString partyName(const QVariant& prefix, const QVariant& firstName, const QVariant& lastName)
{
    return textOf(prefix) + QLatin1Char(' ') + textOf(firstName) + QLatin1Char(' ') + textOf(lastName);
}

QString showerLine(const QVariant& prefix, const QVariant& lastName)
{
    const QString title =
        textOf(prefix) == QLatin1String("Ms.") ? QStringLiteral("Ms.") : QStringLiteral("Mrs.");
    return title + QLatin1Char(' ') + textOf(lastName);
}

}  // namespace shell
