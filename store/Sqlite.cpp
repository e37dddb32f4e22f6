#include "store/Sqlite.h"

#include "store/Dialect.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace store::sql {

namespace {

QString shortText(const QString& text)
{
    const QString s = text.simplified();
    return s.size() > 200 ? s.left(200) + "..." : s;
}

// "UNIQUE constraint failed: CityList.City" -> "CityList.City"
QString afterColon(const QString& message)
{
    const int colon = message.indexOf(':');
    return colon < 0 ? message : message.mid(colon + 1).trimmed();
}

}  // namespace

void raise(int number, const QString& description)
{
    StoreError error(number, description);
    Workspace& ws = Workspace::defaultWorkspace();
    ws.clearErrors();
    ws.recordError(error);
    throw error;
}

void fail(sqlite3* db, int rc, const QString& context)
{
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const QString where = context.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(shortText(context));
    switch (rc & 0xff) {
        case SQLITE_CONSTRAINT:
            if (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY ||
                extended == SQLITE_CONSTRAINT_ROWID)
                raise(err::DuplicateKey,
                      QStringLiteral("The change was not saved because it would create a duplicate value in "
                                     "%1, which must be unique.")
                          .arg(afterColon(message)));
            if (extended == SQLITE_CONSTRAINT_NOTNULL)
                raise(err::RequiredValue, QStringLiteral("The field %1 cannot be empty: it requires a value.")
                                              .arg(afterColon(message)));
            if (extended == SQLITE_CONSTRAINT_CHECK &&
                message.contains(QLatin1String("length"), Qt::CaseInsensitive))
                raise(err::FieldTooLong,
                      QStringLiteral("A text is too long for its field (%1).").arg(afterColon(message)));
            raise(err::ValidationRule,
                  QStringLiteral("The change was not saved because a value breaks a rule of the table (%1).")
                      .arg(afterColon(message)));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            raise(err::FileLocked,
                  QStringLiteral("The wedding file is locked by another program, so it cannot be changed "
                                 "now%1. Close the other program and try again.")
                      .arg(where));
        case SQLITE_READONLY:
            raise(err::FileReadOnly,
                  QStringLiteral("The wedding file is read-only and cannot be changed%1.").arg(where));
        case SQLITE_CORRUPT:
            raise(err::Damaged,
                  QStringLiteral("The database file is damaged (%1). Repair the database.").arg(message));
        case SQLITE_NOTADB:
            raise(err::NotADatabase,
                  QStringLiteral("The file is not a database in a format this program can read."));
        case SQLITE_FULL:
            raise(
                err::IoError,
                QStringLiteral("The disk is full, so the change could not be saved%1. Make room on the disk "
                               "and try again.")
                    .arg(where));
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
        case SQLITE_PROTOCOL:
            raise(err::IoError, QStringLiteral("Disk or input/output error: %1%2.").arg(message, where));
        case SQLITE_TOOBIG:
            raise(err::FieldTooLong, QStringLiteral("A value is too large to be stored%1.").arg(where));
        case SQLITE_MISMATCH:
            raise(err::TypeMismatch, QStringLiteral("Type mismatch: %1%2.").arg(message, where));
        case SQLITE_RANGE:
            raise(err::General, QStringLiteral("Wrong number of parameter values%1.").arg(where));
        case SQLITE_ERROR: {
            if (message.startsWith(QLatin1String("no such table")))
                raise(err::UnknownObject,
                      QStringLiteral("There is no table or query named '%1'.").arg(afterColon(message)));
            if (message.startsWith(QLatin1String("no such column")))
                raise(err::UnknownField,
                      QStringLiteral("There is no field named '%1'%2.").arg(afterColon(message), where));
            if (message.contains(QLatin1String("syntax error")) ||
                message.startsWith(QLatin1String("near ")) || message.contains(QLatin1String("misuse of")) ||
                message.contains(QLatin1String("no such function")) ||
                message.contains(QLatin1String("wrong number of arguments")) ||
                message.contains(QLatin1String("ambiguous column")) ||
                message.contains(QLatin1String("incomplete input")))
                raise(err::SyntaxError, QStringLiteral("Syntax error: %1%2.").arg(message, where));
            raise(err::General, QStringLiteral("The database engine reported: %1%2.").arg(message, where));
        }
        default:
            raise(err::General, QStringLiteral("The database engine reported: %1%2.").arg(message, where));
    }
}

// ---------------------------------------------------------------------------------------

Statement::Statement(sqlite3* db, const QString& sql) : db_(db), sql_(sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        fail(db, rc);
    }
    if (tail && *tail) {
        const QString rest = QString::fromUtf8(tail).trimmed();
        if (!rest.isEmpty() && rest != ";") {
            finalize();
            raise(err::SyntaxError, QStringLiteral("Syntax error: only one statement is allowed."));
        }
    }
    if (!stmt_)
        raise(err::SyntaxError, QStringLiteral("Syntax error: the statement is empty."));
}

Statement::~Statement()
{
    finalize();
}

Statement::Statement(Statement&& o) noexcept : db_(o.db_), stmt_(o.stmt_), sql_(std::move(o.sql_))
{
    o.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        finalize();
        db_ = o.db_;
        stmt_ = o.stmt_;
        sql_ = std::move(o.sql_);
        o.stmt_ = nullptr;
    }
    return *this;
}

void Statement::finalize()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

void Statement::reset()
{
    if (stmt_)
        sqlite3_reset(stmt_);
}

void Statement::bind(int index, const QVariant& v)
{
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (v.metaType().id()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt_, index, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Long:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(stmt_, index, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt_, index, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob64(stmt_, index, b.constData(), sqlite3_uint64(b.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString s = v.toString();
                rc = sqlite3_bind_text16(stmt_, index, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
                break;
            }
        }
    }
    if (rc != SQLITE_OK)
        fail(db_, rc);
}

void Statement::bindAll(const QVariantList& values, int first)
{
    const int count = sqlite3_bind_parameter_count(stmt_);
    if (values.size() + first - 1 != count)
        raise(err::General, QStringLiteral("The statement needs %1 parameter values but was given %2.")
                                .arg(count - first + 1)
                                .arg(values.size()));
    for (int i = 0; i < values.size(); ++i)
        bind(first + i, values[i]);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(stmt_);
    if (rc == SQLITE_DONE)
        return false;
    fail(db_, rc);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QVariant Statement::column(int i) const
{
    // One call into the connection; the value's own accessors need no lock.
    sqlite3_value* v = sqlite3_column_value(stmt_, i);
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_value_int64(v)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_value_double(v));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
            return QVariant(QString::fromUtf8(text, sqlite3_value_bytes(v)));
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_value_blob(v));
            return QVariant(QByteArray(data, sqlite3_value_bytes(v)));
        }
        default:
            return QVariant();
    }
}

void exec(sqlite3* db, const QString& sqlText)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sqlText.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(db, rc);
}

// ---------------------------------------------------------------------------------------
// Values

namespace {

// The size a declared type gives in parentheses ("TEXT(50)", "TEXT ( 50 )"); 0 when it gives
// none. Read by hand: every open of a table reads its fields, start-up included.
int declaredSize(const QString& type)
{
    const qsizetype open = type.indexOf(QLatin1Char('('));
    const qsizetype close = open < 0 ? -1 : type.indexOf(QLatin1Char(')'), open);
    if (close < 0)
        return 0;
    const QString digits = type.mid(open + 1, close - open - 1).trimmed();
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return 0;
    bool ok = false;
    const int size = digits.toInt(&ok);
    return ok ? size : 0;
}

}  // namespace

FieldInfo fieldInfoFromDeclared(const QString& name, const QString& declaredType)
{
    FieldInfo f;
    f.name = name;
    switch (dialect::kindOfDeclaredType(declaredType)) {
        case dialect::Kind::Text:
            f.type = FieldType::Text;
            break;
        case dialect::Kind::Bool:
            f.type = FieldType::YesNo;
            break;
        case dialect::Kind::Currency:
            f.type = FieldType::Currency;
            break;
        case dialect::Kind::Date:
            f.type = FieldType::DateTime;
            break;
        case dialect::Kind::Number:
            f.type = FieldType::Number;
            break;
        default:
            f.type = FieldType::Unknown;
            break;
    }
    if (f.type == FieldType::Text)
        f.size = declaredSize(declaredType);
    const QString upper = declaredType.trimmed().toUpper();
    f.autoNumber =
        upper.startsWith(QLatin1String("COUNTER")) || upper.startsWith(QLatin1String("AUTOINCREMENT"));
    return f;
}

QVariant toRead(const QVariant& stored, FieldType type)
{
    const int id = stored.typeId();
    // Text and whole numbers read as they are stored are copied as their own type: a plain
    // QVariant copy goes through the type's registered copy function, which a walk over
    // thousands of rows feels.
    if (id == QMetaType::QString && (type == FieldType::Text || type == FieldType::Unknown))
        return QVariant(*static_cast<const QString*>(stored.constData()));
    if (id == QMetaType::LongLong) {
        const qint64 n = *static_cast<const qint64*>(stored.constData());
        if (type == FieldType::Number || type == FieldType::Unknown)
            return QVariant(n);
        if (type == FieldType::Currency)
            return QVariant::fromValue(Currency::fromRaw(n));
    }
    if (id == QMetaType::UnknownType || stored.isNull())
        return QVariant();
    switch (type) {
        case FieldType::Text:
            return id == QMetaType::QString ? stored : QVariant(stored.toString());
        case FieldType::YesNo:
            if (id == QMetaType::QString) {
                const QString s = stored.toString().trimmed().toLower();
                return QVariant(!(s.isEmpty() || s == "0" || s == "false" || s == "no" || s == "off"));
            }
            return QVariant(stored.toDouble() != 0.0);
        case FieldType::Currency:
            if (id == QMetaType::LongLong)
                return QVariant::fromValue(Currency::fromRaw(stored.toLongLong()));
            if (id == QMetaType::Double)
                return QVariant::fromValue(Currency::fromRaw(std::llround(stored.toDouble())));
            if (auto c = Currency::parse(stored.toString()))
                return QVariant::fromValue(Currency::fromRaw(c->raw() / Currency::Scale));
            return stored;
        case FieldType::DateTime:
            if (id == QMetaType::QString) {
                const QString s = stored.toString();
                QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                if (!dt.isValid()) {
                    if (auto parsed = dialect::parseDateTimeText(s))
                        dt = *parsed;
                }
                return dt.isValid() ? QVariant(dt) : stored;
            }
            return stored;
        case FieldType::Number:
            if (id == QMetaType::LongLong)
                return stored;
            if (id == QMetaType::Double)
                return QVariant(qint64(std::llround(stored.toDouble())));
            return stored;
        case FieldType::Unknown:
            return stored;
    }
    return stored;
}

namespace {

[[noreturn]] void mismatch(const QVariant& value, const FieldInfo& field, const char* what)
{
    QString shown = value.toString();
    if (shown.size() > 60)
        shown = shown.left(60) + "...";
    raise(err::TypeMismatch, QStringLiteral("Type mismatch: '%1' is not a valid %2 for the field '%3'.")
                                 .arg(shown, QLatin1String(what), field.name));
}

bool isIntegral(int id)
{
    return id == QMetaType::Int || id == QMetaType::UInt || id == QMetaType::LongLong ||
           id == QMetaType::ULongLong || id == QMetaType::Long || id == QMetaType::Short ||
           id == QMetaType::UShort || id == QMetaType::Char || id == QMetaType::SChar ||
           id == QMetaType::UChar;
}

bool isFloating(int id)
{
    return id == QMetaType::Double || id == QMetaType::Float;
}

std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    double d = QLocale::c().toDouble(text, &ok);
    if (!ok)
        d = QLocale().toDouble(text, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

}  // namespace

QVariant toStored(const QVariant& value, const FieldInfo& field)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int id = value.metaType().id();
    const bool isText = id == QMetaType::QString;
    const QString text = isText ? value.toString().trimmed() : QString();
    if (field.type != FieldType::Text && field.type != FieldType::Unknown && isText && text.isEmpty())
        return QVariant();  // an empty text in a non-text field is Null
    const bool isCurrency = id == qMetaTypeId<Currency>();

    switch (field.type) {
        case FieldType::Text: {
            QString s;
            if (isCurrency)
                s = value.value<Currency>().toString(2);
            else if (id == QMetaType::QDateTime)
                s = dialect::storedDateText(value.toDateTime());
            else if (id == QMetaType::QDate)
                s = value.toDate().toString(Qt::ISODate);
            else if (id == QMetaType::Bool)
                s = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            else if (value.canConvert<QString>())
                s = value.toString();
            else
                mismatch(value, field, "text");
            if (field.size > 0 && s.size() > field.size)
                raise(err::FieldTooLong,
                      QStringLiteral(
                          "The text is too long for the field '%1': %2 characters, at most %3 allowed.")
                          .arg(field.name)
                          .arg(s.size())
                          .arg(field.size));
            return s;
        }
        case FieldType::YesNo:
            if (id == QMetaType::Bool)
                return qint64(value.toBool() ? 1 : 0);
            if (isIntegral(id) || isFloating(id))
                return qint64(value.toDouble() != 0.0 ? 1 : 0);
            if (isText) {
                const QString s = text.toLower();
                if (s == "true" || s == "yes" || s == "on" || s == "-1" || s == "1")
                    return qint64(1);
                if (s == "false" || s == "no" || s == "off" || s == "0")
                    return qint64(0);
            }
            mismatch(value, field, "Yes/No value");
        case FieldType::Currency:
            if (isCurrency)
                return qint64(value.value<Currency>().raw());
            if (isIntegral(id))
                return qint64(Currency::fromUnits(value.toLongLong()).raw());
            if (isFloating(id) && std::isfinite(value.toDouble()) && std::fabs(value.toDouble()) < 9e14)
                return qint64(Currency::fromDouble(value.toDouble()).raw());
            if (isText)
                if (auto c = Currency::parse(text))
                    return qint64(c->raw());
            mismatch(value, field, "amount");
        case FieldType::DateTime:
            if (id == QMetaType::QDateTime && value.toDateTime().isValid())
                return dialect::storedDateText(value.toDateTime());
            if (id == QMetaType::QDate && value.toDate().isValid())
                return dialect::storedDateText(QDateTime(value.toDate(), QTime(0, 0)));
            if (isText)
                if (auto dt = dialect::parseDateTimeText(text))
                    return dialect::storedDateText(*dt);
            mismatch(value, field, "date");
        case FieldType::Number:
            if (id == QMetaType::Bool)
                return qint64(value.toBool() ? 1 : 0);
            if (isIntegral(id))
                return value.toLongLong();
            if (isFloating(id) && std::isfinite(value.toDouble()) && std::fabs(value.toDouble()) < 9e18)
                return qint64(std::llround(value.toDouble()));
            if (isCurrency)
                return qint64(std::llround(value.value<Currency>().toDouble()));
            if (isText) {
                bool ok = false;
                const qint64 n = text.toLongLong(&ok);
                if (ok)
                    return n;
                if (auto d = parseNumber(text); d && std::fabs(*d) < 9e18)
                    return qint64(std::llround(*d));
            }
            mismatch(value, field, "number");
        case FieldType::Unknown:
            return parameterValue(value);
    }
    return parameterValue(value);
}

QVariant parameterValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int id = value.metaType().id();
    if (id == qMetaTypeId<Currency>())
        return qint64(value.value<Currency>().raw());
    if (id == QMetaType::QDateTime)
        return dialect::storedDateText(value.toDateTime());
    if (id == QMetaType::QDate)
        return dialect::storedDateText(QDateTime(value.toDate(), QTime(0, 0)));
    if (id == QMetaType::Bool)
        return qint64(value.toBool() ? 1 : 0);
    return value;
}

}  // namespace store::sql

namespace store {

QString engineVersion()
{
    return QString::fromLatin1(sqlite3_libversion());
}

}  // namespace store
