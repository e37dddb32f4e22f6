#include "checklist/CheckRules.h"

namespace checklist {

int daysBeforeWedding(const QDate& today, const QDateTime& wedding)
{
    return int(today.daysTo(wedding.date()));
}

QString pickerCaption(const QString& columnCaption)
{
    return QStringLiteral("Enter ") + columnCaption;
}

std::optional<QString> pickedCellText(const QString& answer, const QString& cellText)
{
    const QString text = answer.trimmed();
    if (text.isEmpty() || text == cellText)
        return std::nullopt;
    return text;
}

}  // namespace checklist
