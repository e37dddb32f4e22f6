// libFuzzer target for the guest-list reader with the mapping and the review behind it.
//
// Any input may be refused with an ExchangeError; nothing may crash, leak or hang, and
// what is read must hold together: every row as wide as the header, a record number for
// each row, faults only on rows that exist, no control character in a value that would be
// stored, and every shortened text within its field and made of whole characters.
#include "exchange/CsvFile.h"
#include "exchange/GuestImport.h"

#include <QHash>

#include <cstdint>
#include <cstdlib>

using namespace exchange;

namespace {

// The text fields of the Guests table and their sizes, as the delivered wedding has them.
const QHash<QString, int>& fieldSizes()
{
    static const QHash<QString, int> sizes = {
        {"Prefix", 20}, {"FirstName", 20},  {"LastName", 20}, {"Address", 40},   {"City", 50},
        {"State", 50},  {"PostalCode", 20}, {"Country", 20},  {"HomePhone", 20}, {"guestof", 10},
        {"wedlbl", 80}, {"showlbl", 80},    {"Invited", 0},   {"Confirmed", 0},  {"NumberAttending", 0},
    };
    return sizes;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The options the first byte chooses: guessed, or each setting forced as a user may.
CsvOptions optionsFrom(uint8_t b)
{
    CsvOptions options;
    if (b & 0x80) {
        options.encoding = AllEncodings[b % 5];
        options.separator = Separators[(b >> 3) % 3];
        options.headerRow = (b & 0x40) != 0;
    }
    return options;
}

// A mapping that gives each column the guessed field, or (chosen by the byte) a field of
// every kind in turn, so that each cell reader meets every column.
std::vector<GuestField> mappingFor(const QStringList& headers, uint8_t b)
{
    std::vector<GuestField> mapping = guessMapping(headers);
    if (b & 0x20) {
        const auto& fields = guestFields();
        for (size_t i = 0; i < mapping.size(); ++i)
            mapping[i] = fields[(i + b) % fields.size()].field;
    }
    return mapping;
}

void checkReview(const CsvTable& table, ImportReview& review)
{
    check(review.rows.size() == size_t(table.rows.size()));
    for (ReviewRow& row : review.rows) {
        const QMap<QString, QVariant> values = row.values();
        const bool fixable = row.fixable();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            if (it.value().typeId() == QMetaType::QString)
                check(!holdsBinaryCode(it.value().toString()));
        for (const Problem& p : row.problems) {
            check(!holdsBinaryCode(p.text()));
            if (p.kind == ProblemKind::TooLong) {
                const QString cut = shortenText(p.value, p.size);
                check(cut.size() <= p.size && cut.isValidUtf16() && p.value.startsWith(cut));
            }
        }
        check(row.name().size() <= 101);
        row.problemAction = fixable ? ProblemAction::Fix : ProblemAction::Skip;
        row.duplicateAction = DuplicateAction::Fill;
    }
    const ImportResult plan = planSummary(review);
    check(plan.added >= 0 && plan.skipped >= 0 && plan.added + plan.skipped <= int(review.rows.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        checkTextFile(bytes, QStringLiteral("guests.csv"));
    } catch (const ExchangeError&) {
        if (!(data[0] & 0x80))
            return 0;  // refused as the wizard refuses it; forced settings read it all the same
    }
    try {
        const CsvTable table = readCsv(bytes, optionsFrom(data[0]));
        check(table.rowNumbers.size() == table.rows.size());
        check(table.rows.isEmpty() || table.rows.width() <= table.headers.size());
        for (qsizetype r = 0; r < table.rows.size(); ++r)
            check(table.rows[r].size() == table.headers.size());
        for (auto it = table.rowFaults.cbegin(); it != table.rowFaults.cend(); ++it)
            check(it.key() >= 0 && it.key() < table.rows.size());
        for (const QString& header : table.headers)
            check(!header.isEmpty() && !holdsBinaryCode(header));
        ImportSettings settings;
        settings.mapping = mappingFor(table.headers, data[0]);
        settings.brideName = QStringLiteral("Emma Lund");
        settings.groomName = QStringLiteral("Noah Berg");
        GuestList list;
        list.fieldSizes = fieldSizes();
        list.parties.push_back({1, "Liam", "Okafor", "9 Old Mill Road", "Mr."});
        ImportReview review = reviewImport(table, settings, list);
        checkReview(table, review);
    } catch (const ExchangeError&) {
    }
    return 0;
}
