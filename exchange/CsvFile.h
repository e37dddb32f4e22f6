// Reading a guest list saved as CSV or text: the encoding (UTF-8 with or without BOM,
// UTF-16 with BOM, else Windows-1252), the separator (comma, semicolon, tab) and the
// header row are guessed and can each be overridden. Quoted fields may hold separators
// and line breaks; a quotation mark that is never closed spoils only the row it opens.
// Writing a CSV line for the exports.
#pragma once

#include "exchange/ExchangeError.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace exchange {

enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1252 };

// "UTF-8", "UTF-8 with BOM", "UTF-16 (little-endian)", ... as the wizard lists them.
QString encodingName(Encoding encoding);
inline const Encoding AllEncodings[] = {Encoding::Utf8, Encoding::Utf8Bom, Encoding::Utf16Le,
                                        Encoding::Utf16Be, Encoding::Windows1252};

Encoding detectEncoding(const QByteArray& bytes);
// The text of the bytes in the encoding (a BOM is dropped). Bytes that the encoding
// cannot read become U+FFFD, so a wrong guess shows as such in the preview.
QString decodeText(const QByteArray& bytes, Encoding encoding);

inline const char Separators[] = {',', ';', '\t'};
QString separatorName(char separator);  // "Comma", "Semicolon", "Tab"
char detectSeparator(const QString& text);

// Records of the text, each a list of fields with surrounding blanks removed. Lines
// without any text are left out. maxRows < 0: all.
QList<QStringList> parseCsv(const QString& text, char separator, int maxRows = -1);

struct CsvOptions {
    std::optional<Encoding> encoding;
    std::optional<char> separator;
    std::optional<bool> headerRow;
};

// The rows of a read table, kept as one block of UTF-8 text and the end of each cell in
// it: a list of a hundred thousand guests would take ten times its size as separate
// strings. Each row reads as wide as the widest (missing cells are empty).
class CsvRows {
public:
    qsizetype size() const { return rowStarts_.size() - 1 - first_; }
    bool isEmpty() const { return size() <= 0; }
    qsizetype width() const { return width_; }
    QString cell(qsizetype row, qsizetype column) const;
    QStringList operator[](qsizetype row) const;
    QStringList cellsAsRead(qsizetype row) const;  // without the empty cells that pad it
    QList<QStringList> allAsRead() const;          // every row, each as cellsAsRead gives it
    QStringList value(qsizetype row) const { return row >= 0 && row < size() ? (*this)[row] : QStringList(); }
    QStringList first() const { return (*this)[0]; }
    QStringList last() const { return (*this)[size() - 1]; }

    class const_iterator {
    public:
        const_iterator(const CsvRows* rows, qsizetype at) : rows_(rows), at_(at) {}
        QStringList operator*() const { return (*rows_)[at_]; }
        const_iterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return at_ != o.at_; }

    private:
        const CsvRows* rows_;
        qsizetype at_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Building (the reader): cells of the current row, then the row's end.
    void reserveText(qsizetype bytes) { text_.reserve(bytes); }
    void addCell(const char* utf8, qsizetype length);
    void endRow();
    void dropRow();  // forgets the cells added since the last row's end
    void dropFirst() { first_ += first_ < rowStarts_.size() - 1; }
    qsizetype cellsInRow() const { return cellEnds_.size() - rowStarts_.last(); }
    bool rowIsBlank() const;

private:
    QByteArray text_;
    QList<quint32> cellEnds_;         // where each cell ends in text_, row after row
    QList<quint32> rowStarts_ = {0};  // index of each row's first cell; one more than the rows
    qsizetype width_ = 0;
    qsizetype first_ = 0;  // rows taken off the front (the header row)
};

struct CsvTable {
    Encoding encoding = Encoding::Utf8;
    char separator = ',';
    bool headerRow = true;
    QStringList headers;    // the header row, or "Column 1", "Column 2", ... without one
    CsvRows rows;           // data rows, each as wide as headers
    QList<int> rowNumbers;  // each data row's record number in the file (1 = first record)
    // Rows read wrongly from the file, by index into rows: "The quotation mark that opens
    // a field on line 7 is never closed ...".
    QMap<qsizetype, QString> rowFaults;
};

// Whether the first record reads as column names rather than as a guest.
bool looksLikeHeader(const QList<QStringList>& records);

// A guest list larger than this is refused before it is read.
constexpr qint64 MaxImportBytes = 64 * 1024 * 1024;

CsvTable readCsv(const QByteArray& bytes, const CsvOptions& options = {});
// Throws ExchangeError for a file that cannot be read, is no regular file, is larger than
// maxBytes, is a spreadsheet workbook or is not text at all.
CsvTable readCsvFile(const QString& path, const CsvOptions& options = {});
QByteArray readImportFile(const QString& path, qint64 maxBytes = MaxImportBytes);
// A control character that no text of a guest list holds (a zero byte, an escape, ...);
// tabs, line ends and form feeds are text.
bool isBinaryCode(char16_t c);
bool holdsBinaryCode(const QString& text);

// The text cut to at most maxChars UTF-16 units (the store's measure of a text's length)
// at a character boundary: an emoji or a letter with its accent is never cut in half.
QString shortenText(const QString& text, qsizetype maxChars);

// Refuses bytes that cannot be a guest list saved as text (a workbook, a database, a
// program, a picture); name is the file's name for the message.
void checkTextFile(const QByteArray& bytes, const QString& name);

// One CSV line (CRLF ended) of the fields, quoted where needed.
QByteArray csvLine(const QStringList& fields);

}  // namespace exchange
