#include "controls/FailureReason.h"

#include "controls/CellFormat.h"

#include <QDate>
#include <QRegularExpression>

namespace controls {

QString captionOfFieldName(const QString& field)
{
    QString caption;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c == QLatin1Char('_')) {
            caption += QLatin1Char(' ');
            continue;
        }
        if (i > 0 && c.isUpper() && field.at(i - 1).isLower())
            caption += QLatin1Char(' ');
        caption += c;
    }
    return caption.simplified();
}

QString expectedValueText(store::FieldType type)
{
    switch (type) {
        case store::FieldType::Currency:
            return QStringLiteral("an amount, such as ") +
                   formatCell(QVariant::fromValue(store::Currency::fromRaw(125000)), CellFormat::AsEntered);
        case store::FieldType::Number:
            return QStringLiteral("a whole number, such as 4");
        case store::FieldType::DateTime:
            return QStringLiteral("a date, such as ") +
                   formatCell(QDate(2027, 8, 15), CellFormat::MediumDate);
        case store::FieldType::YesNo:
            return QStringLiteral("Yes or No");
        case store::FieldType::Text:
        case store::FieldType::Unknown:
            break;
    }
    return QStringLiteral("text");
}

namespace {

QString withCaption(const QString& caption, const QString& text)
{
    return caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
}

}  // namespace

QString failureReason(int number, const QString& description, const QString& caption, store::FieldType type)
{
    namespace err = store::err;
    const QString name = caption.simplified();
    switch (number) {
        case err::FieldTooLong: {
            static const QRegularExpression most(QStringLiteral("at most (\\d+)"));
            const auto match = most.match(description);
            if (!name.isEmpty() && match.hasMatch())
                return QStringLiteral("%1 takes at most %2 characters.").arg(name, match.captured(1));
            return withCaption(name, QStringLiteral("The value is too long to be stored."));
        }
        case err::TypeMismatch:
            if (!name.isEmpty() && type != store::FieldType::Text && type != store::FieldType::Unknown)
                return QStringLiteral("%1 takes %2.").arg(name, expectedValueText(type));
            break;
        case err::FileLocked:
            return QStringLiteral("The database is locked by another program.");
        case err::FileReadOnly:
            return QStringLiteral("The database file is read-only.");
        case err::IoError:
            if (description.contains(QLatin1String("full"), Qt::CaseInsensitive))
                return QStringLiteral("The disk is full.");
            return QStringLiteral("The disk could not be written to.");
        case err::RequiredValue:
            if (!name.isEmpty())
                return QStringLiteral("%1 must be filled in.").arg(name);
            break;
        case err::DuplicateKey:
            if (!name.isEmpty())
                return QStringLiteral("Another row already holds this %1.").arg(name);
            break;
        case err::UnknownField:
            return QStringLiteral("The database lacks a field this window needs: ") + description;
        default:
            break;
    }
    return withCaption(name, description);
}

}  // namespace controls
