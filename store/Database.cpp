// A database file: opening it, its tables, queries and indexes, record sets over them,
// statements run on it, and the names it knows.
#include "store/Engine.h"
#include "store/Handle.h"
#include "store/Log.h"
#include "store/RecordsetImpl.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace store {

using sql::raise;

dialect::Kind kindOf(FieldType type)
{
    switch (type) {
        case FieldType::Text:
            return dialect::Kind::Text;
        case FieldType::YesNo:
            return dialect::Kind::Bool;
        case FieldType::Currency:
            return dialect::Kind::Currency;
        case FieldType::DateTime:
            return dialect::Kind::Date;
        case FieldType::Number:
            return dialect::Kind::Number;
        case FieldType::Unknown:
            return dialect::Kind::Unknown;
    }
    return dialect::Kind::Unknown;
}

namespace {

// `+` of the dialect when the kinds are not known beforehand: numbers add, texts join,
// and a Null part makes the whole Null.
void plusFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int a = sqlite3_value_type(argv[0]);
    const int b = sqlite3_value_type(argv[1]);
    if (a == SQLITE_NULL || b == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool numericA = a == SQLITE_INTEGER || a == SQLITE_FLOAT;
    const bool numericB = b == SQLITE_INTEGER || b == SQLITE_FLOAT;
    if (numericA && numericB) {
        if (a == SQLITE_INTEGER && b == SQLITE_INTEGER) {
            sqlite3_int64 r = 0;
            if (!__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &r)) {
                sqlite3_result_int64(ctx, r);
                return;
            }
        }
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
        return;
    }
    QByteArray joined(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                      sqlite3_value_bytes(argv[0]));
    joined.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])), sqlite3_value_bytes(argv[1]));
    sqlite3_result_text(ctx, joined.constData(), int(joined.size()), SQLITE_TRANSIENT);
}

// `&` of the dialect: joins texts, a Null part counts as empty; Null only when both are.
void ampFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL && sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QByteArray joined;
    for (int i = 0; i < 2; ++i)
        if (sqlite3_value_type(argv[i]) != SQLITE_NULL)
            joined.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[i])),
                          sqlite3_value_bytes(argv[i]));
    sqlite3_result_text(ctx, joined.constData(), int(joined.size()), SQLITE_TRANSIENT);
}

bool startsWithWord(const QString& text, const char* word)
{
    const QString t = text.trimmed();
    const int n = int(qstrlen(word));
    return t.size() >= n && t.left(n).compare(QLatin1String(word), Qt::CaseInsensitive) == 0 &&
           (t.size() == n || !(t.at(n).isLetterOrNumber() || t.at(n) == '_'));
}

QString unbracket(const QString& name)
{
    const QString t = name.trimmed();
    if (t.size() >= 2 && t.startsWith('[') && t.endsWith(']'))
        return t.mid(1, t.size() - 2);
    return t;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Database::Impl

Database::Impl::~Impl()
{
    closeConnection();
}

void Database::Impl::finishStatements()
{
    for (RecordsetImpl* rs : sets)
        rs->finishStatements();
    if (db) {
        sqlite3_stmt* stmt = nullptr;
        while ((stmt = sqlite3_next_stmt(db, stmt)) != nullptr)
            sqlite3_reset(stmt);
    }
}

void Database::Impl::closeConnection()
{
    const auto open = sets;
    for (RecordsetImpl* rs : open)
        rs->detach();
    sets.clear();
    if (db) {
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        findStatement.finalize();
        tableInfoStatement.finalize();
        sqlite3_stmt* stmt = nullptr;
        while ((stmt = sqlite3_next_stmt(db, nullptr)) != nullptr)
            sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
    db = nullptr;
    depth = 0;
    schemas.clear();
    viewColumnTypes.reset();
}

void Database::Impl::checkOpen() const
{
    if (!db)
        raise(err::ObjectNotSet, QStringLiteral("The database is not open."));
}

std::optional<std::pair<QString, bool>> Database::Impl::findObject(const QString& name) const
{
    sql::Statement& st = findStatement;
    if (!st)
        st = sql::Statement(db, QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table', "
                                               "'view') AND name = ?1 COLLATE NOCASE"));
    st.reset();  // a look-up that failed half-way left it unfinished
    st.bind(1, name);
    if (!st.step())
        return std::nullopt;
    std::pair<QString, bool> result{st.column(0).toString(),
                                    st.column(1).toString() == QLatin1String("view")};
    st.reset();
    return result;
}

std::shared_ptr<const ObjectSchema> Database::Impl::schema(const QString& name)
{
    const QString key = name.toLower();
    if (auto it = schemas.constFind(key); it != schemas.cend())
        return *it;
    const auto object = findObject(name);
    if (!object)
        raise(err::UnknownObject, QStringLiteral("There is no table or query named '%1'.").arg(name));
    auto s = std::make_shared<ObjectSchema>();
    s->name = object->first;
    s->isView = object->second;
    sql::Statement& info = tableInfoStatement;
    if (!info)
        info = sql::Statement(
            db, QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?1)"));
    info.reset();
    info.bind(1, s->name);
    struct Column {
        QString name, type, dflt;
        int pk;
    };
    std::vector<Column> columns;
    int pkCount = 0;
    while (info.step()) {
        columns.push_back({info.column(0).toString(), info.column(1).toString(), info.column(3).toString(),
                           int(info.columnInt(4))});
        pkCount += columns.back().pk > 0 ? 1 : 0;
    }
    for (const Column& c : columns) {
        FieldInfo f = sql::fieldInfoFromDeclared(c.name, c.type);
        // INTEGER PRIMARY KEY is the row's key: assigned by the store.
        if (c.pk > 0 && pkCount == 1 &&
            c.type.trimmed().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            f.autoNumber = true;
        s->byLower.insert(c.name.toLower(), int(s->fields.size()));
        s->fields << f;
        s->defaults << c.dflt;
    }
    schemas.insert(key, s);
    return s;
}

QString Database::Impl::viewColumnType(const QString& view, const QString& column)
{
    if (!viewColumnTypes) {
        viewColumnTypes.emplace();
        if (findObject(QStringLiteral("orv_columns"))) {
            sql::Statement st(db, QStringLiteral("SELECT object, name, type FROM orv_columns"));
            while (st.step())
                viewColumnTypes->insert(
                    st.column(0).toString().toLower() + '\n' + st.column(1).toString().toLower(),
                    st.column(2).toString());
        }
    }
    return viewColumnTypes->value(view.toLower() + '\n' + column.toLower());
}

dialect::Resolver Database::Impl::statementResolver()
{
    return [this](const QStringList& tables, const QString& qualifier, const QString& name) {
        try {
            QStringList candidates;
            if (!qualifier.isEmpty() && findObject(qualifier))
                candidates << qualifier;
            else
                candidates = tables;
            for (const QString& t : candidates) {
                if (!findObject(t))
                    continue;
                const auto s = schema(t);
                const int i = s->field(name);
                if (i >= 0)
                    return kindOf(s->fields[i].type);
            }
        } catch (const StoreError& ignored) {
            logIgnored("reading a column's type", ignored);
        }
        return dialect::Kind::Unknown;
    };
}

// ---------------------------------------------------------------------------------------
// Database

Database::Database() : d(std::make_unique<Impl>())
{
    d->owner = this;
}

Database::~Database() = default;

QString Database::path() const
{
    return d->path;
}
bool Database::isOpen() const
{
    return d->db != nullptr;
}
void Database::close()
{
    d->closeConnection();
}
sqlite3* handleOf(const Database& db)
{
    return db.impl().db;
}

namespace {

// The functions the dialect translator's SQL calls.
void registerFunctions(sqlite3* db)
{
    sqlite3_create_function_v2(db, "orv_add", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, plusFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "orv_amp", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, ampFunction,
                               nullptr, nullptr, nullptr);
}

}  // namespace

std::unique_ptr<Database> Database::openFile(const QString& path, OpenMode mode)
{
    const bool readOnly = mode == OpenMode::ReadOnly;
    const QFileInfo fi(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!path.isEmpty() && fi.isSymLink() && !fi.exists())
        raise(err::FileNotFound,
              QStringLiteral("The database file '%1' is a link to '%2', which does not exist.")
                  .arg(shown, QDir::toNativeSeparators(fi.symLinkTarget())));
    if (path.isEmpty() || !fi.exists())
        raise(err::FileNotFound, QStringLiteral("Could not find the database file '%1'.").arg(shown));
    if (fi.isDir())
        raise(err::NotADatabase, QStringLiteral("'%1' is a folder, not a database file.").arg(shown));
    if (!fi.isFile())
        raise(
            err::NotADatabase,
            QStringLiteral("'%1' is not a regular file (it is a device, a pipe or a socket), so it is not a "
                           "database file.")
                .arg(shown));
    if (fi.size() == 0)
        raise(err::NotADatabase, QStringLiteral("The file '%1' is empty; it is not a database.").arg(shown));
    // The owner may not bypass a read-only file: its write bits decide, not only access().
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!readOnly && (!fi.isWritable() || !(fi.permissions() & writeBits)))
        raise(err::FileReadOnly,
              QStringLiteral("The database file '%1' is read-only; it must be writable to be opened.")
                  .arg(shown));
    const QFileInfo dir(QFileInfo(fi.canonicalFilePath()).absolutePath());
    if (!readOnly && !dir.isWritable())
        raise(err::FileReadOnly,
              QStringLiteral(
                  "The folder of the database file '%1' is read-only; the database cannot be changed.")
                  .arg(shown));

    std::unique_ptr<Database> database(new Database());
    Impl& d = *database->d;
    d.path = fi.absoluteFilePath();
    // A linked file is opened where it really lies, so that its journal is written beside it.
    const QString real = fi.canonicalFilePath();
    // The program uses each connection from one thread only, so the engine need not lock
    // the connection around every call (row reads make several calls per value).
    const int rc = sqlite3_open_v2(QFile::encodeName(real).constData(), &d.db,
                                   (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                                       SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const QString message = d.db ? QString::fromUtf8(sqlite3_errmsg(d.db)) : QString();
        sqlite3_close(d.db);
        d.db = nullptr;
        raise(err::IoError, QStringLiteral("Could not open the database file '%1': %2.").arg(shown, message));
    }
    sqlite3_extended_result_codes(d.db, 1);
    // A double-quoted name that matches no column is an error, never a string.
    sqlite3_db_config(d.db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_busy_timeout(d.db, 250);
    try {
        // Reading the schema tells a database from any other file and finds a foreign lock.
        const int check = sqlite3_exec(d.db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if ((check & 0xff) == SQLITE_NOTADB || (check & 0xff) == SQLITE_CORRUPT) {
            raise(check == SQLITE_NOTADB ? err::NotADatabase : err::Damaged,
                  check == SQLITE_NOTADB
                      ? QStringLiteral("The file '%1' is not a database in a format this program can read.")
                            .arg(shown)
                      : QStringLiteral("The database file '%1' is damaged. Repair the database.").arg(shown));
        }
        if ((check & 0xff) == SQLITE_BUSY || (check & 0xff) == SQLITE_LOCKED)
            raise(err::FileLocked,
                  QStringLiteral("The database file '%1' is in use by another program.").arg(shown));
        if (check != SQLITE_OK)
            sql::fail(d.db, check, QStringLiteral("opening %1").arg(shown));
        if (readOnly) {
            sqlite3_busy_timeout(d.db, 2000);
            registerFunctions(d.db);
            return database;
        }
        const int lock = sqlite3_exec(d.db, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr);
        if ((lock & 0xff) == SQLITE_BUSY || (lock & 0xff) == SQLITE_LOCKED)
            raise(err::FileLocked,
                  QStringLiteral("The database file '%1' is in use by another program.").arg(shown));
        if ((lock & 0xff) == SQLITE_READONLY)
            raise(err::FileReadOnly,
                  QStringLiteral("The database file '%1' is read-only; it must be writable to be opened.")
                      .arg(shown));
        if (lock != SQLITE_OK)
            sql::fail(d.db, lock, QStringLiteral("opening %1").arg(shown));
        // A rollback journal, written through to the disk before a commit returns.
        sql::exec(d.db, QStringLiteral("PRAGMA journal_mode=DELETE"));
        sql::exec(d.db, QStringLiteral("PRAGMA synchronous=FULL"));
        sql::exec(d.db, QStringLiteral("PRAGMA foreign_keys=OFF"));
        sqlite3_busy_timeout(d.db, 2000);
        registerFunctions(d.db);
    } catch (...) {
        d.closeConnection();
        throw;
    }
    return database;
}

QStringList Database::tableNames() const
{
    d->checkOpen();
    QStringList names;
    sql::Statement st(
        d->db,
        QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
            "AND name NOT LIKE 'orv\\_%' ESCAPE '\\' ORDER BY name COLLATE NOCASE"));
    while (st.step())
        names << st.column(0).toString();
    return names;
}

QStringList Database::queryNames() const
{
    d->checkOpen();
    QStringList names;
    sql::Statement st(d->db,
                      QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view' "
                                     "AND name NOT LIKE 'orv\\_%' ESCAPE '\\' ORDER BY name COLLATE NOCASE"));
    while (st.step())
        names << st.column(0).toString();
    return names;
}

QList<FieldInfo> Database::tableFields(const QString& table) const
{
    d->checkOpen();
    return d->schema(unbracket(table))->fields;
}

QStringList Database::indexNames(const QString& table) const
{
    d->checkOpen();
    const auto s = d->schema(unbracket(table));
    QStringList names;
    sql::Statement st(
        d->db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 "
                              "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name COLLATE NOCASE"));
    st.bind(1, s->name);
    while (st.step())
        names << st.column(0).toString();
    return names;
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& source, RecordsetType type)
{
    d->checkOpen();
    RecordSource src;
    src.text = source;
    if (startsWithWord(source, "SELECT")) {
        const dialect::Translation tr = dialect::translateStatement(source, d->statementResolver());
        if (type == RecordsetType::Table)
            raise(err::InvalidOperation,
                  QStringLiteral("A table-type record set opens a table by name, not an SQL statement."));
        src.resultKinds = tr.resultKinds;
        sql::Statement(d->db, tr.sql);  // reports unknown names and syntax as the whole statement
        const auto object = tr.simple ? d->findObject(tr.simple->table) : std::nullopt;
        if (tr.simple && object && !object->second) {
            src.table = object->first;
            src.qualifier = dialect::quoteIdentifier(tr.simple->qualifier);
            src.selectList = tr.simple->selectList;
            src.selectItems = tr.simple->items;
            src.from = dialect::quoteIdentifier(tr.simple->table);
            if (tr.simple->qualifier.compare(tr.simple->table, Qt::CaseSensitive) != 0)
                src.from += " AS " + src.qualifier;
            src.where = tr.simple->where;
            src.orderBy = tr.simple->orderBy;
        } else {
            src.sql = tr.sql;
        }
        return makeRecordset(*this, std::move(src), type);
    }
    if (startsWithWord(source, "INSERT") || startsWithWord(source, "UPDATE") ||
        startsWithWord(source, "DELETE"))
        raise(err::InvalidOperation,
              QStringLiteral("A record set needs a table, a query or a SELECT statement."));
    const QString name = unbracket(source);
    const auto object = d->findObject(name);
    if (!object)
        raise(err::UnknownObject, QStringLiteral("There is no table or query named '%1'.").arg(name));
    if (object->second) {
        if (type == RecordsetType::Table)
            raise(
                err::InvalidOperation,
                QStringLiteral("'%1' is a query; a table-type record set needs a table.").arg(object->first));
        src.view = object->first;
        src.sql = "SELECT * FROM " + dialect::quoteIdentifier(object->first);
    } else {
        src.table = object->first;
        src.qualifier = dialect::quoteIdentifier(object->first);
        src.selectList = QStringLiteral("*");
        src.from = src.qualifier;
    }
    return makeRecordset(*this, std::move(src), type);
}

namespace {

// Binds the values (as the store keeps them) and runs the statement to its end.
void runBound(sql::Statement& st, const QVariantList& params)
{
    QVariantList values;
    for (const QVariant& v : params)
        values << sql::parameterValue(v);
    st.bindAll(values);
    while (st.step()) {
    }
}

QString valueLiteral(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("Null");
    switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return QString::number(value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = value.toDouble();
            if (!std::isfinite(d))
                break;
            return QString::number(d, 'g', 17);
        }
        case QMetaType::QString:
            return quoteText(value.toString());
        case QMetaType::QDate:
            if (value.toDate().isValid())
                return '#' + value.toDate().toString(Qt::ISODate) + '#';
            break;
        case QMetaType::QDateTime:
            if (value.toDateTime().isValid())
                return '#' + value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + '#';
            break;
        default:
            break;
    }
    raise(err::InvalidArgument,
          QStringLiteral("A value of the kind %1 cannot be given to a query.").arg(value.typeName()));
}

// The statement with each "?" outside quotes, brackets and date marks replaced by its value.
QString withValues(const QString& statement, const QVariantList& values)
{
    QString out;
    out.reserve(statement.size() + 16 * int(values.size()));
    qsizetype places = 0;
    QChar closing;
    for (const QChar c : statement) {
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
        } else if (c == '\'' || c == '"' || c == '#') {
            closing = c;
        } else if (c == '[') {
            closing = QLatin1Char(']');
        } else if (c == '?') {
            if (places < values.size())
                out += valueLiteral(values[places]);
            ++places;
            continue;
        }
        out += c;
    }
    if (places != values.size())
        raise(err::InvalidArgument, QStringLiteral("The query has room for %1 values but was given %2.")
                                        .arg(places)
                                        .arg(values.size()));
    return out;
}

}  // namespace

std::unique_ptr<Recordset> Database::openRecordset(const QString& source, const QVariantList& values,
                                                   RecordsetType type)
{
    return openRecordset(withValues(source, values), type);
}

int Database::execute(const QString& sqlText, const QVariantList& params)
{
    d->checkOpen();
    const dialect::Translation tr = dialect::translateStatement(sqlText, d->statementResolver());
    sql::Statement st(d->db, tr.sql);
    const bool readOnly = sqlite3_stmt_readonly(st.get()) != 0;
    runBound(st, params);
    if (readOnly)
        return 0;
    d->changed();
    return sqlite3_changes(d->db);
}

int Database::executeEach(const QString& sqlText, const std::vector<QVariantList>& paramRows)
{
    d->checkOpen();
    const dialect::Translation tr = dialect::translateStatement(sqlText, d->statementResolver());
    sql::Statement st(d->db, tr.sql);
    int changed = 0;
    for (const QVariantList& params : paramRows) {
        runBound(st, params);
        changed += sqlite3_changes(d->db);
    }
    d->changed();
    return changed;
}

// ---------------------------------------------------------------------------------------

QString translateSql(const QString& dialectSql)
{
    return dialect::translateStatement(dialectSql).sql;
}
QString translateCondition(const QString& dialectCondition)
{
    return dialect::translateCondition(dialectCondition);
}
QString translateSort(const QString& dialectSort)
{
    return dialect::translateSort(dialectSort);
}
QString quoteText(const QString& text)
{
    return dialect::quoteLiteral(text);
}

}  // namespace store
