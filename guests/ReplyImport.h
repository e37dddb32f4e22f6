// Replies from a file (a reply form's export saved as CSV): each row names one member and says
// whether they attend (the reception, or each event in a column of its own), their meal and
// their needs. Rows are matched to members by name, blind to case, accents, punctuation and
// surrounding blanks; a row that matches nobody, or more than one member, changes nothing and
// is listed by its name. The rows are handed over as read (exchange/CsvFile.h reads the file),
// so the command line and the File menu run the same review and import.
//
//     const guests::ReplyReview review = guests::reviewReplies(people, table.headers, rows, lines);
//     guests::importReplies(db, review);   // a backup, then every matched row in one transaction
#pragma once

#include "guests/MemberStore.h"

#include <QList>
#include <QStringList>

#include <array>
#include <vector>

namespace guests {

// Which column holds what, by the headers reply forms use ("Name", "Full Name", "First Name" and
// "Last Name"; "Attending", "RSVP", "Reception", "Ceremony", ...; "Meal", "Entrée"; "Dietary
// Needs", "Allergies"). -1: none.
struct ReplyColumns {
    int name = -1;
    int firstName = -1;
    int lastName = -1;
    std::array<int, 4> events{-1, -1, -1, -1};  // by Event
    int meal = -1;
    int needs = -1;
    bool hasName() const { return name >= 0 || firstName >= 0 || lastName >= 0; }
    bool hasAnswers() const;
};
ReplyColumns replyColumns(const QStringList& headers);

struct ReplyRow {
    int line = 0;  // the row's record number in the file
    QString name;  // as the file writes it
    MemberChange change;
    QString member;  // the member's name as the wedding has it
};

struct ReplyReview {
    ReplyColumns columns;
    std::vector<ReplyRow> matched;
    QStringList unmatched;  // "line 4: Jane Doe"
    QStringList ambiguous;  // "line 9: Sam Lee (2 members of that name)"
    QStringList refused;    // rows whose values cannot be read, with why; nothing of them changes
    QStringList notes;      // values passed over (a reply for an event the party is not invited to)
};

// Throws nothing; a file without a name column or without any answer column reviews with every
// row refused and says so in refused.
ReplyReview reviewReplies(const WeddingPeople& people, const QStringList& headers,
                          const QList<QStringList>& rows, const QList<int>& lines);

struct ReplyImportResult {
    int applied = 0;
    QString backupPath;  // empty when nothing was applied
};
// Makes a backup of the wedding file, then applies every matched row in one transaction with the
// parties' counts. Nothing is done (and no backup made) when no row matched.
ReplyImportResult importReplies(store::Database& db, const ReplyReview& review);

// The review in words, as orvane-cli prints it and the File menu shows it.
QString reviewText(const ReplyReview& review);

}  // namespace guests
