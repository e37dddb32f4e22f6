#include "exchange/CsvFile.h"

#include "exchange/GuestFields.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <csv.h>
#include <iconv.h>

#include <algorithm>
#include <map>

namespace exchange {

QString encodingName(Encoding encoding)
{
    switch (encoding) {
        case Encoding::Utf8:
            return QStringLiteral("UTF-8");
        case Encoding::Utf8Bom:
            return QStringLiteral("UTF-8 with BOM");
        case Encoding::Utf16Le:
            return QStringLiteral("UTF-16 (little-endian)");
        case Encoding::Utf16Be:
            return QStringLiteral("UTF-16 (big-endian)");
        case Encoding::Windows1252:
            return QStringLiteral("Western (Windows-1252)");
    }
    return {};
}

namespace {

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> prefix)
{
    if (bytes.size() < qsizetype(prefix.size()))
        return false;
    int i = 0;
    for (unsigned char c : prefix)
        if (static_cast<unsigned char>(bytes[i++]) != c)
            return false;
    return true;
}

bool isValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        const int follow = c < 0x80           ? 0
                           : (c >> 5) == 0x6  ? 1
                           : (c >> 4) == 0xE  ? 2
                           : (c >> 3) == 0x1E ? 3
                                              : -1;
        if (follow < 0 || (follow == 1 && c < 0xC2))
            return false;
        for (int k = 1; k <= follow; ++k)
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
        i += follow + 1;
    }
    return true;
}

// Windows-1252 through iconv; a byte the code page leaves undefined becomes U+FFFD.
QString decodeWindows1252(const QByteArray& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw ExchangeError(QStringLiteral("This system cannot read Windows-1252 text."));
    QByteArray out(bytes.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = bytes.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        const char replacement[] = "\xEF\xBF\xBD";
        if (outLeft < 3)
            break;
        std::copy(replacement, replacement + 3, dst);
        dst += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    out.truncate(dst - out.data());
    return QString::fromUtf8(out);
}

// UTF-16 without a BOM shows as many zero bytes on one side of each pair.
std::optional<Encoding> zeroBytePattern(const QByteArray& bytes)
{
    const qsizetype n = std::min<qsizetype>(bytes.size(), 512) & ~qsizetype(1);
    if (n < 4)
        return std::nullopt;
    int evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < n; i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    if (oddZeros > n / 4 && evenZeros == 0)
        return Encoding::Utf16Le;
    if (evenZeros > n / 4 && oddZeros == 0)
        return Encoding::Utf16Be;
    return std::nullopt;
}

}  // namespace

Encoding detectEncoding(const QByteArray& bytes)
{
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return Encoding::Utf8Bom;
    if (startsWith(bytes, {0xFF, 0xFE}))
        return Encoding::Utf16Le;
    if (startsWith(bytes, {0xFE, 0xFF}))
        return Encoding::Utf16Be;
    if (auto utf16 = zeroBytePattern(bytes))
        return *utf16;
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

QString decodeText(const QByteArray& bytes, Encoding encoding)
{
    switch (encoding) {
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            return QString::fromUtf8(startsWith(bytes, {0xEF, 0xBB, 0xBF}) ? bytes.mid(3) : bytes);
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: {
            const bool le = encoding == Encoding::Utf16Le;
            const bool bom = startsWith(bytes, le ? std::initializer_list<unsigned char>{0xFF, 0xFE}
                                                  : std::initializer_list<unsigned char>{0xFE, 0xFF});
            QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
            return decoder.decode(bom ? bytes.mid(2) : bytes);
        }
        case Encoding::Windows1252:
            return decodeWindows1252(bytes);
    }
    return {};
}

QString separatorName(char separator)
{
    switch (separator) {
        case ',':
            return QStringLiteral("Comma");
        case ';':
            return QStringLiteral("Semicolon");
        case '\t':
            return QStringLiteral("Tab");
    }
    return QString(QChar(separator));
}

namespace {

struct ParseState {
    QList<QStringList> records;
    QStringList current;
    int maxRows = -1;
};

void onField(void* data, size_t length, void* state)
{
    auto* s = static_cast<ParseState*>(state);
    s->current << QString::fromUtf8(static_cast<const char*>(data), qsizetype(length)).trimmed();
}

void onRecord(int, void* state)
{
    auto* s = static_cast<ParseState*>(state);
    const bool blank =
        std::all_of(s->current.cbegin(), s->current.cend(), [](const QString& f) { return f.isEmpty(); });
    if (!blank && (s->maxRows < 0 || s->records.size() < s->maxRows))
        s->records << s->current;
    s->current.clear();
}

// Blanks are trimmed afterwards, as text; libcsv is told that nothing is a blank so that
// a tab separator is never taken for one.
int noSpace(unsigned char)
{
    return 0;
}

}  // namespace

QList<QStringList> parseCsv(const QString& text, char separator, int maxRows)
{
    csv_parser parser;
    if (csv_init(&parser, 0) != 0)
        throw ExchangeError(QStringLiteral("Not enough memory to read the file."));
    csv_set_delim(&parser, static_cast<unsigned char>(separator));
    csv_set_space_func(&parser, noSpace);
    ParseState state;
    state.maxRows = maxRows;
    const QByteArray utf8 = text.toUtf8();
    // A preview needs only the first records: read in blocks and stop once they are in.
    const qsizetype block = maxRows < 0 ? utf8.size() : 16384;
    for (qsizetype at = 0; at < utf8.size(); at += block) {
        const size_t n = size_t(std::min(block, utf8.size() - at));
        if (csv_parse(&parser, utf8.constData() + at, n, onField, onRecord, &state) != n) {
            csv_free(&parser);
            throw ExchangeError(QStringLiteral("The file cannot be read as CSV text."));
        }
        if (maxRows >= 0 && state.records.size() >= maxRows)
            break;
    }
    csv_fini(&parser, onField, onRecord, &state);
    csv_free(&parser);
    return state.records;
}

char detectSeparator(const QString& text)
{
    const QString head = text.left(65536);
    char best = ',';
    double bestScore = 0;
    for (char sep : Separators) {
        const QList<QStringList> records = parseCsv(head, sep, 20);
        if (records.isEmpty())
            continue;
        std::map<qsizetype, int> widths;
        for (const QStringList& r : records)
            ++widths[r.size()];
        const auto common = std::max_element(widths.begin(), widths.end(),
                                             [](auto& a, auto& b) { return a.second < b.second; });
        if (common->first < 2)
            continue;
        // Many columns, on most records alike.
        const double score = double(common->first) * common->second / records.size();
        if (score > bestScore) {
            bestScore = score;
            best = sep;
        }
    }
    return best;
}

namespace {

bool hasDigit(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

bool looksLikeHeader(const QList<QStringList>& records)
{
    if (records.isEmpty())
        return false;
    const QStringList& first = records.first();
    int known = 0;
    for (const QString& cell : first)
        known += guessField(cell) != GuestField::NotImported;
    if (known > 0)
        return true;
    // Unknown names: a header has text in every column and no figures where the next
    // record has some.
    if (records.size() < 2)
        return false;
    const QStringList& second = records[1];
    bool figuresBelow = false;
    for (qsizetype i = 0; i < first.size(); ++i) {
        if (first[i].isEmpty() || hasDigit(first[i]))
            return false;
        figuresBelow |= i < second.size() && hasDigit(second[i]);
    }
    return figuresBelow;
}

CsvTable readCsv(const QByteArray& bytes, const CsvOptions& options)
{
    CsvTable table;
    table.encoding = options.encoding.value_or(detectEncoding(bytes));
    const QString text = decodeText(bytes, table.encoding);
    table.separator = options.separator.value_or(detectSeparator(text));
    QList<QStringList> records = parseCsv(text, table.separator);
    table.headerRow = options.headerRow.value_or(looksLikeHeader(records));
    qsizetype width = 0;
    for (const QStringList& r : records)
        width = std::max(width, r.size());
    if (table.headerRow && !records.isEmpty())
        table.headers = records.takeFirst();
    for (qsizetype i = table.headers.size(); i < width; ++i)
        table.headers << QStringLiteral("Column %1").arg(i + 1);
    for (qsizetype i = 0; i < table.headers.size(); ++i)
        if (table.headers[i].isEmpty())
            table.headers[i] = QStringLiteral("Column %1").arg(i + 1);
    const int offset = table.headerRow ? 2 : 1;
    for (qsizetype i = 0; i < records.size(); ++i) {
        QStringList& r = records[i];
        while (r.size() < width)
            r << QString();
        table.rows << r;
        table.rowNumbers << int(i) + offset;
    }
    return table;
}

QByteArray readImportFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ExchangeError(QStringLiteral("The file \"%1\" does not exist.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ExchangeError(
            QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    const bool zip = bytes.startsWith("PK\x03\x04");
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (zip || suffix == QLatin1String("xlsx") || suffix == QLatin1String("xls"))
        throw ExchangeError(
            QStringLiteral(
                "\"%1\" is a spreadsheet workbook. Orvane reads guest lists saved as CSV: open the workbook "
                "in "
                "your spreadsheet program, choose Save As (or Download) and the type \"CSV UTF-8 (comma "
                "delimited)\", then import that file.")
                .arg(QFileInfo(path).fileName()));
    return bytes;
}

CsvTable readCsvFile(const QString& path, const CsvOptions& options)
{
    return readCsv(readImportFile(path), options);
}

QByteArray csvLine(const QStringList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const QByteArray raw = fields[i].toUtf8();
        const bool quote = raw.contains(',') || raw.contains('"') || raw.contains('\n') ||
                           raw.contains('\r') || raw.contains(';') || raw.contains('\t') ||
                           raw.startsWith(' ') || raw.endsWith(' ');
        if (!quote) {
            line += raw;
            continue;
        }
        QByteArray quoted(raw.size() * 2 + 2, '\0');
        quoted.truncate(qsizetype(csv_write(quoted.data(), quoted.size(), raw.constData(), raw.size())));
        line += quoted;
    }
    line += "\r\n";
    return line;
}

}  // namespace exchange
