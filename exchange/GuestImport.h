// Importing a guest list: each row of a read CSV table becomes a party record through
// the column mapping; the review sorts the rows into new parties, likely duplicates (of
// parties already in the list or of earlier rows) and problems; the import writes what
// the review decided in one transaction, after a backup of the wedding file.
//
//   GuestList list = loadGuestList(db);
//   ImportReview review = reviewImport(table, {mapping, bride, groom}, list);
//   review.rows[3].duplicateAction = DuplicateAction::Fill;       // the user's choices
//   ImportResult result = runImport(db, review);
#pragma once

#include "exchange/CsvFile.h"
#include "exchange/GuestFields.h"

#include "shell/PeopleImport.h"
#include "store/Store.h"

#include <QHash>
#include <QMap>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace exchange {

// The parties already in the list, as the duplicate check needs them, and the sizes of
// the Guests text fields.
struct ExistingParty {
    store::Bookmark bookmark = 0;
    QString firstName, lastName, address, prefix;
};
struct GuestList {
    std::vector<ExistingParty> parties;
    QHash<QString, int> fieldSizes;          // Guests column -> maximum characters (0 = no limit)
    std::vector<shell::KnownPerson> people;  // the members of the parties, when asked for
};
// people: the members' side, for a list of people (their names are then read too).
GuestList loadGuestList(store::Database& database, const shell::PeopleImport* people = nullptr);

enum class ProblemKind {
    NoLastName,
    TooLong,
    Unreadable,
    NotText,  // a character no text holds (a zero byte, an escape): the value is never stored
    BadRow,   // the file's row itself is broken (a quotation mark never closed)
};
struct Problem {
    ProblemKind kind;
    QString column;  // the Guests column (or the mapped field's key) concerned
    QString caption;
    QString value;
    int size = 0;          // the field's size, for TooLong
    QString text() const;  // "Last name is longer than 20 characters: "..."", ... (long values shortened)
};

// A text as a list or message shows it: control characters made visible and, when
// longer than maxChars, cut with an ellipsis.
QString shownText(const QString& text, qsizetype maxChars = 100);

struct Duplicate {
    bool ofExisting = true;
    store::Bookmark existing = 0;  // ofExisting: the party in the list
    int earlierRow = -1;           // otherwise: the index of the earlier row in the review
    QString matchedName;           // the other party's name as shown in the review
    QString reason;                // "same name", "same last name and address"
};

enum class DuplicateAction { Skip, Add, Fill };
enum class ProblemAction { Skip, Fix };  // Fix: shorten long texts, leave unreadable values out

struct ImportSettings {
    std::vector<GuestField> mapping;  // one per column of the table
    QString brideName, groomName;     // the couple's names, for side texts that use them
    // What every party gets unless a column of the file says it: invited to these events
    // (Ceremony, Reception, Shower, Rehearsal), and this side ("Bride", "Groom", "Both").
    std::vector<GuestField> inviteTo;
    QString side;
    // The members' side: needed for a mapping that groups people into parties (groupsPeople).
    const shell::PeopleImport* people = nullptr;
};

// A row read into Guests values (column -> text, bool or qint64), with its problems.
struct RowReading {
    QMap<QString, QVariant> values;
    std::vector<Problem> problems;
    // In a list of people: the person of the row (its name also in values), the texts of the
    // group and plus-one columns.
    shell::ImportedPerson person;
    QString group, plusOne;
    QString name() const;  // the envelope line, else title, first and last name
};

// What the rows of a review were read from: the table (its rows are shared, not copied)
// and the settings.
struct ReviewSource {
    CsvTable table;
    ImportSettings settings;
    QHash<QString, int> fieldSizes;
};

struct ReviewRow {
    int rowNumber = 0;  // record number in the file
    std::vector<Problem> problems;
    std::optional<Duplicate> duplicate;
    DuplicateAction duplicateAction = DuplicateAction::Skip;
    ProblemAction problemAction = ProblemAction::Skip;
    // The row of the table it stands for. Its values are read again when asked for, so
    // that the review of a long list keeps no more than its verdicts.
    std::shared_ptr<const ReviewSource> source;
    qsizetype tableRow = -1;
    // In a list of people, the rows of the party's people in the file's order (the first is
    // tableRow); the party takes its address, side and invitations from the first.
    std::vector<qsizetype> personRows;

    QMap<QString, QVariant> values() const;             // Guests column -> value read (text, bool or qint64)
    std::vector<shell::ImportedPerson> people() const;  // the party's people, as read
    bool fixable() const;  // every problem can be mended (a missing last name or a broken row cannot)
    QString name() const;  // title, first and last name as read, shortened for showing
};

struct ImportReview {
    std::vector<ReviewRow> rows;
    QStringList notImported;  // headers of the columns left out
    // The file's header row and the mapping used, remembered by the import for the next
    // file with the same header (empty headers: a file without a header row).
    QStringList headers;
    std::vector<GuestField> mapping;
    int newCount() const;
    int duplicateCount() const;
    int problemCount() const;
};

// Reads every row into a party record and sorts it. Never writes.
ImportReview reviewImport(const CsvTable& table, const ImportSettings& settings, const GuestList& list);

// A row read into Guests values, with its problems (exposed for tests and the review).
RowReading readRow(const QStringList& cells, const std::vector<GuestField>& mapping,
                   const ImportSettings& settings, const QHash<QString, int>& fieldSizes);

struct ImportResult {
    int added = 0;
    int updated = 0;
    int skipped = 0;
    int people = 0;       // members added to the parties
    QStringList reasons;  // "12 likely duplicates skipped", ...
    QString backupPath;
    QString summary() const;
};

// Makes the safety copy of the wedding file before an import (a backup in the backups
// folder beside it); returns its path. Throws
// ExchangeError when no copy can be made (then nothing is imported).
using BackupFunction = std::function<QString(const QString& databasePath)>;
QString keepCopyOfFile(const QString& databasePath);

// Writes the review's decisions into the database open in the default workspace, in one
// transaction after the backup. On any failure everything is rolled back and the
// failure is thrown (StoreError or ExchangeError); nothing is half imported.
ImportResult runImport(store::Database& database, const ImportReview& review,
                       const BackupFunction& backup = keepCopyOfFile);
// What runImport would do, without writing anything (the command line's --dry-run).
ImportResult planSummary(const ImportReview& review);

}  // namespace exchange
