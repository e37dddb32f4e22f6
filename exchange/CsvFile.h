// Reading a guest list saved as CSV or text: the encoding (UTF-8 with or without BOM,
// UTF-16 with BOM, else Windows-1252), the separator (comma, semicolon, tab) and the
// header row are guessed and can each be overridden. Quoted fields may hold separators
// and line breaks. Writing a CSV line for the exports.
#pragma once

#include "exchange/ExchangeError.h"

#include <QByteArray>
#include <QList>
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

struct CsvTable {
    Encoding encoding = Encoding::Utf8;
    char separator = ',';
    bool headerRow = true;
    QStringList headers;      // the header row, or "Column 1", "Column 2", ... without one
    QList<QStringList> rows;  // data rows, each as wide as headers
    QList<int> rowNumbers;    // each data row's record number in the file (1 = first record)
};

// Whether the first record reads as column names rather than as a guest.
bool looksLikeHeader(const QList<QStringList>& records);

CsvTable readCsv(const QByteArray& bytes, const CsvOptions& options = {});
// Throws ExchangeError for a file that cannot be read or is a spreadsheet workbook.
CsvTable readCsvFile(const QString& path, const CsvOptions& options = {});
QByteArray readImportFile(const QString& path);

// One CSV line (CRLF ended) of the fields, quoted where needed.
QByteArray csvLine(const QStringList& fields);

}  // namespace exchange
