#include "shell/DateText.h"

#include "controls/CellFormat.h"

namespace shell {

QString dateText(const QDate& date)
{
    return controls::formatCell(date, controls::CellFormat::ShortDate);
}

QDate parseDateText(const QString& text)
{
    const QVariant value = controls::parseCell(text, store::FieldType::DateTime);
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : QDate();
}

}  // namespace shell
