#include "exchange/CsvFile.h"

#include "exchange/GuestFields.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <csv.h>
#include <iconv.h>

#include <algorithm>
#include <limits>
#include <map>
#include <new>

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

// Windows-1252 through iconv into UTF-8; a byte the code page leaves undefined becomes U+FFFD.
QByteArray windows1252ToUtf8(QByteArrayView bytes)
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
    return out;
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

namespace {

// The text of the bytes as UTF-8: the bytes themselves when they are UTF-8 already (a
// list of many megabytes is not copied), else converted.
struct Utf8Text {
    QByteArray converted;
    QByteArrayView view;
};

Utf8Text utf8Text(const QByteArray& bytes, Encoding encoding)
{
    Utf8Text text;
    switch (encoding) {
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            text.view = QByteArrayView(bytes).sliced(startsWith(bytes, {0xEF, 0xBB, 0xBF}) ? 3 : 0);
            return text;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: {
            const bool le = encoding == Encoding::Utf16Le;
            const bool bom = startsWith(bytes, le ? std::initializer_list<unsigned char>{0xFF, 0xFE}
                                                  : std::initializer_list<unsigned char>{0xFE, 0xFF});
            QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
            text.converted = QString(decoder.decode(QByteArrayView(bytes).sliced(bom ? 2 : 0))).toUtf8();
            break;
        }
        case Encoding::Windows1252:
            text.converted = windows1252ToUtf8(bytes);
            break;
    }
    text.view = text.converted;
    return text;
}

}  // namespace

QString decodeText(const QByteArray& bytes, Encoding encoding)
{
    return QString::fromUtf8(utf8Text(bytes, encoding).view);
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

// ---- the rows of a table -----------------------------------------------------------

QString CsvRows::cell(qsizetype row, qsizetype column) const
{
    const qsizetype r = row + first_;
    const qsizetype firstCell = rowStarts_[r];
    if (column < 0 || column >= rowStarts_[r + 1] - firstCell)
        return {};
    const qsizetype index = firstCell + column;
    const quint32 begin = index == 0 ? 0 : cellEnds_[index - 1];
    return QString::fromUtf8(text_.constData() + begin, qsizetype(cellEnds_[index] - begin));
}

QStringList CsvRows::operator[](qsizetype row) const
{
    QStringList cells = cellsAsRead(row);
    cells.reserve(width_);
    while (cells.size() < width_)
        cells << QString();
    return cells;
}

QList<QStringList> CsvRows::allAsRead() const
{
    QList<QStringList> rows;
    rows.reserve(size());
    for (qsizetype r = 0; r < size(); ++r)
        rows << cellsAsRead(r);
    return rows;
}

QStringList CsvRows::cellsAsRead(qsizetype row) const
{
    const qsizetype r = row + first_;
    QStringList cells;
    for (qsizetype c = 0; c < rowStarts_[r + 1] - rowStarts_[r]; ++c)
        cells << cell(row, c);
    return cells;
}

void CsvRows::addCell(const char* utf8, qsizetype length)
{
    if (quint64(text_.size()) + quint64(length) > std::numeric_limits<quint32>::max())
        throw ExchangeError(QStringLiteral("The file is too large to be read as a guest list."));
    text_.append(utf8, length);
    cellEnds_ << quint32(text_.size());
}

void CsvRows::endRow()
{
    width_ = std::max(width_, cellsInRow());
    rowStarts_ << quint32(cellEnds_.size());
}

void CsvRows::dropRow()
{
    const quint32 start = rowStarts_.last();
    text_.truncate(start == 0 ? 0 : cellEnds_[start - 1]);
    cellEnds_.resize(start);
}

bool CsvRows::rowIsBlank() const
{
    const quint32 start = rowStarts_.last();
    return text_.size() == (start == 0 ? 0 : qsizetype(cellEnds_[start - 1]));
}

// ---- reading records ------------------------------------------------------------------

namespace {

// The field without surrounding blanks, as QString::trimmed() removes them; most fields
// begin and end with a printable ASCII character and are kept as they are.
void addTrimmed(CsvRows& rows, const char* data, size_t length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto plain = [](unsigned char c) { return c > 0x20 && c < 0x7F; };
    if (length == 0 || (plain(p[0]) && plain(p[length - 1]))) {
        rows.addCell(data, qsizetype(length));
        return;
    }
    const QByteArray trimmed = QString::fromUtf8(data, qsizetype(length)).trimmed().toUtf8();
    rows.addCell(trimmed.constData(), trimmed.size());
}

struct Reader {
    CsvRows& rows;
    int maxRows = -1;
    int fieldsEnded = 0;  // by the current line
};

void onField(void* data, size_t length, void* state)
{
    auto* reader = static_cast<Reader*>(state);
    addTrimmed(reader->rows, static_cast<const char*>(data), length);
    ++reader->fieldsEnded;
}

void onRecord(int, void* state)
{
    auto* reader = static_cast<Reader*>(state);
    const bool full = reader->maxRows >= 0 && reader->rows.size() >= reader->maxRows;
    if (reader->rows.rowIsBlank() || full)
        reader->rows.dropRow();
    else
        reader->rows.endRow();
}

// Blanks are trimmed afterwards, as text; libcsv is told that nothing is a blank so that
// a tab separator is never taken for one.
int noSpace(unsigned char)
{
    return 0;
}

// The length of the line that starts the text, with its end (LF, CRLF or CR).
qsizetype lineLength(QByteArrayView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            return i + 1;
        if (text[i] == '\r')
            return i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return text.size();
}

class Parser {
public:
    explicit Parser(char separator)
    {
        if (csv_init(&parser_, 0) != 0)
            throw std::bad_alloc();
        csv_set_delim(&parser_, static_cast<unsigned char>(separator));
        csv_set_space_func(&parser_, noSpace);
    }
    ~Parser() { csv_free(&parser_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    void feed(QByteArrayView bytes, Reader& reader)
    {
        if (csv_parse(&parser_, bytes.data(), size_t(bytes.size()), onField, onRecord, &reader) !=
            size_t(bytes.size())) {
            if (csv_error(&parser_) == CSV_ENOMEM)
                throw std::bad_alloc();
            throw ExchangeError(QStringLiteral("The file cannot be read as CSV text."));
        }
    }
    void finish(Reader& reader) { csv_fini(&parser_, onField, onRecord, &reader); }
    bool inQuotedField() const { return parser_.quoted != 0; }
    // The text of the open field up to its first line end.
    QByteArrayView openFieldFirstLine() const
    {
        const QByteArrayView open(reinterpret_cast<const char*>(parser_.entry_buf),
                                  qsizetype(parser_.entry_pos));
        const qsizetype n = lineLength(open);
        return open.first(n).trimmed();
    }

private:
    csv_parser parser_;
};

// Reads the records of UTF-8 text, one line at a time so that a quoted field that is never
// closed is known by the line that opens it: that record then ends with the rest of its
// line, is listed in faults (by row index), and reading goes on at the next line instead
// of taking every later row into the one field.
void readRecords(QByteArrayView text, char separator, int maxRows, CsvRows& rows,
                 QMap<qsizetype, QString>* faults)
{
    Reader reader{rows, maxRows};
    qsizetype at = 0;
    int line = 1;
    for (;;) {
        Parser parser(separator);
        int openLine = 0;
        qsizetype afterOpenLine = 0;
        bool full = false;
        while (at < text.size() && !full) {
            const qsizetype n = lineLength(text.sliced(at));
            const bool wasQuoted = parser.inQuotedField();
            reader.fieldsEnded = 0;
            parser.feed(text.sliced(at, n), reader);
            if (parser.inQuotedField() && (!wasQuoted || reader.fieldsEnded > 0)) {
                openLine = line;
                afterOpenLine = at + n;
            }
            at += n;
            ++line;
            full = maxRows >= 0 && rows.size() >= maxRows;
        }
        if (!full && !text.isEmpty() && text.back() != '\n' && text.back() != '\r')
            parser.feed("\n", reader);
        if (!full && parser.inQuotedField()) {
            const QByteArrayView rest = parser.openFieldFirstLine();
            rows.addCell(rest.data(), rest.size());
            rows.endRow();
            if (faults)
                faults->insert(rows.size() - 1,
                               QStringLiteral("The quotation mark that opens a field on line %1 is never "
                                              "closed; the row was read to the end of that line only.")
                                   .arg(openLine));
            at = afterOpenLine;
            line = openLine + 1;
            if (maxRows >= 0 && rows.size() >= maxRows)
                return;
            continue;
        }
        parser.finish(reader);
        return;
    }
}

QList<QStringList> recordsOf(const CsvRows& rows)
{
    QList<QStringList> records;
    records.reserve(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r)
        records << rows.cellsAsRead(r);
    return records;
}

constexpr qsizetype SeparatorSample = 65536;

char detectSeparatorOf(QByteArrayView head)
{
    char best = ',';
    double bestScore = 0;
    for (char sep : Separators) {
        CsvRows rows;
        readRecords(head, sep, 20, rows, nullptr);
        if (rows.isEmpty())
            continue;
        std::map<qsizetype, int> widths;
        for (qsizetype r = 0; r < rows.size(); ++r)
            ++widths[rows.cellsAsRead(r).size()];
        const auto common = std::max_element(widths.begin(), widths.end(),
                                             [](auto& a, auto& b) { return a.second < b.second; });
        if (common->first < 2)
            continue;
        // Many columns, on most records alike.
        const double score = double(common->first) * common->second / double(rows.size());
        if (score > bestScore) {
            bestScore = score;
            best = sep;
        }
    }
    return best;
}

}  // namespace

QList<QStringList> parseCsv(const QString& text, char separator, int maxRows)
{
    const QByteArray utf8 = text.toUtf8();
    CsvRows rows;
    readRecords(utf8, separator, maxRows, rows, nullptr);
    return recordsOf(rows);
}

char detectSeparator(const QString& text)
{
    return detectSeparatorOf(text.left(SeparatorSample).toUtf8());
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

namespace {

QString sizeText(qint64 bytes)
{
    constexpr double Kb = 1024, Mb = Kb * 1024, Gb = Mb * 1024;
    if (bytes < Kb)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < Mb)
        return QStringLiteral("%1 KB").arg(QString::number(double(bytes) / Kb, 'f', 0));
    if (bytes < Gb)
        return QStringLiteral("%1 MB").arg(QString::number(double(bytes) / Mb, 'f', 1));
    return QStringLiteral("%1 GB").arg(QString::number(double(bytes) / Gb, 'f', 1));
}

// subject: the file's name in quotation marks, or how the list is known.
ExchangeError tooLarge(const QString& subject, qint64 size, qint64 limit)
{
    return ExchangeError(QStringLiteral("%1 is %2, more than the %3 a guest list may have, so it was not "
                                        "read. Is it the right file? A list of thousands of guests takes "
                                        "well under a megabyte.")
                             .arg(subject, sizeText(size), sizeText(limit)));
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

ExchangeError workbook(const QString& name)
{
    return ExchangeError(
        QStringLiteral(
            "\"%1\" is a spreadsheet workbook. Orvane reads guest lists saved as CSV: open the workbook in "
            "your spreadsheet program, choose Save As (or Download) and the type \"CSV UTF-8 (comma "
            "delimited)\", then import that file.")
            .arg(name));
}

ExchangeError outOfMemory()
{
    return ExchangeError(QStringLiteral("There is not enough memory to read this guest list."));
}

// Replaces the characters that are no text by U+FFFD, as unreadable bytes show.
QString visibleText(QString text)
{
    for (QChar& c : text)
        if (isBinaryCode(c.unicode()))
            c = QChar::ReplacementCharacter;
    return text;
}

}  // namespace

QString shortenText(const QString& text, qsizetype maxChars)
{
    if (text.size() <= maxChars)
        return text;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(int(std::max<qsizetype>(maxChars, 0)));
    qsizetype cut = graphemes.isAtBoundary() ? graphemes.position() : graphemes.toPreviousBoundary();
    if (cut < 0)
        cut = 0;
    return text.left(cut);
}

bool isBinaryCode(char16_t c)
{
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f') || c == 0x7F;
}

bool holdsBinaryCode(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isBinaryCode(c.unicode()); });
}

CsvTable readCsv(const QByteArray& bytes, const CsvOptions& options)
{
    if (bytes.size() > MaxImportBytes)
        throw tooLarge(QStringLiteral("The guest list"), bytes.size(), MaxImportBytes);
    try {
        CsvTable table;
        table.encoding = options.encoding.value_or(detectEncoding(bytes));
        const Utf8Text text = utf8Text(bytes, table.encoding);
        table.separator = options.separator.value_or(
            detectSeparatorOf(text.view.first(std::min(text.view.size(), SeparatorSample))));
        table.rows.reserveText(text.view.size());
        QMap<qsizetype, QString> faults;
        readRecords(text.view, table.separator, -1, table.rows, &faults);
        QList<QStringList> firstRecords;
        for (qsizetype r = 0; r < std::min<qsizetype>(table.rows.size(), 2); ++r)
            firstRecords << table.rows.cellsAsRead(r);
        table.headerRow = options.headerRow.value_or(looksLikeHeader(firstRecords));
        const qsizetype width = table.rows.width();
        const int skipped = table.headerRow && !table.rows.isEmpty() ? 1 : 0;
        if (skipped) {
            table.headers = table.rows.cellsAsRead(0);
            table.rows.dropFirst();
        }
        for (qsizetype i = table.headers.size(); i < width; ++i)
            table.headers << QString();
        // A header is a column's name: it is shown, matched and remembered, so control codes
        // are made visible and a text of pages is cut to a name's length.
        for (qsizetype i = 0; i < table.headers.size(); ++i)
            table.headers[i] = table.headers[i].isEmpty() ? QStringLiteral("Column %1").arg(i + 1)
                                                          : visibleText(shortenText(table.headers[i], 255));
        for (auto it = faults.cbegin(); it != faults.cend(); ++it)
            if (it.key() >= skipped)
                table.rowFaults.insert(it.key() - skipped, it.value());
        const int offset = table.headerRow ? 2 : 1;
        table.rowNumbers.reserve(table.rows.size());
        for (qsizetype i = 0; i < table.rows.size(); ++i)
            table.rowNumbers << int(i) + offset;
        return table;
    } catch (const std::bad_alloc&) {
        throw outOfMemory();
    }
}

namespace {

struct Signature {
    QByteArrayView magic;
    const char* what;
};

// The openings of the files most often picked by mistake.
const Signature BinarySignatures[] = {
    {QByteArrayView("SQLite format 3\0", 16), "a database, such as a wedding file"},
    {"\x7F"
     "ELF",
     "a program"},
    {"\x89PNG\r\n\x1A\n", "a picture"},
    {"\xFF\xD8\xFF", "a picture"},
    {"GIF87a", "a picture"},
    {"GIF89a", "a picture"},
    {"%PDF-", "a PDF document"},
    {"\x1F\x8B", "a compressed file"},
};

// Control characters in the opening of the file: a few may be stray, one in twenty is
// binary data.
bool holdsBinaryData(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(65536);
    const Encoding encoding = detectEncoding(head);
    qsizetype codes = 0, total = 0;
    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
        const QString text = decodeText(head, encoding);
        total = text.size();
        for (QChar c : text)
            codes += isBinaryCode(c.unicode());
    } else {
        total = head.size();
        for (char c : head)
            codes += isBinaryCode(char16_t(static_cast<unsigned char>(c)));
    }
    return codes >= 4 && codes * 20 >= total;
}

}  // namespace

void checkTextFile(const QByteArray& bytes, const QString& name)
{
    const bool zip = bytes.startsWith("PK\x03\x04");
    const bool oldWorkbook = bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    if (zip || oldWorkbook)
        throw workbook(name);
    QString what;
    for (const Signature& s : BinarySignatures)
        if (QByteArrayView(bytes).startsWith(s.magic))
            what = QString::fromLatin1(s.what);
    if (what.isEmpty() && holdsBinaryData(bytes))
        what = QStringLiteral("binary data");
    if (!what.isEmpty())
        throw ExchangeError(QStringLiteral("\"%1\" is not a text file (it holds %2), so it is no guest list. "
                                           "Choose a guest list saved as CSV or text.")
                                .arg(name, what));
}

QByteArray readImportFile(const QString& path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw ExchangeError(QStringLiteral("The file \"%1\" does not exist.").arg(path));
    if (info.isDir())
        throw ExchangeError(
            QStringLiteral("\"%1\" is a folder, not a file. Choose the guest list file in it.").arg(path));
    if (!info.isFile())
        throw ExchangeError(
            QStringLiteral("\"%1\" is not a regular file (it is a device, a pipe or a socket). "
                           "Choose a guest list saved as CSV or text.")
                .arg(path));
    if (info.size() > maxBytes)
        throw tooLarge(quoted(info.fileName()), info.size(), maxBytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ExchangeError(
            QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
    QByteArray bytes;
    try {
        // The size again: a file that grows while it is read stops at the limit too.
        bytes = file.read(maxBytes + 1);
    } catch (const std::bad_alloc&) {
        throw outOfMemory();
    }
    if (bytes.size() > maxBytes)
        throw tooLarge(quoted(info.fileName()), std::max(info.size(), qint64(bytes.size())), maxBytes);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xls"))
        throw workbook(info.fileName());
    checkTextFile(bytes, info.fileName());
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
