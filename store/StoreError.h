// Errors of the store: a number and a description, as the windows show them.
#pragma once

#include <QString>

#include <stdexcept>

namespace store {

// Stable error numbers. The windows branch on some of them and show all of them.
namespace err {
constexpr int ObjectNotSet = 91;         // a record set used before it was opened
constexpr int NoCurrentRecord = 3021;    // "No current record."
constexpr int UpdateWithoutEdit = 3020;  // Update or CancelUpdate without AddNew or Edit
constexpr int NotInEditMode = 3027;      // field written outside Edit/AddNew, or set not updatable
constexpr int DuplicateKey = 3022;       // duplicate value in a unique index
constexpr int FieldTooLong = 3163;       // text longer than its field
constexpr int TypeMismatch = 13;         // value of the wrong type for its field
constexpr int FileNotFound = 3024;       // database file missing
constexpr int NotADatabase = 3343;       // unrecognised or empty database format
constexpr int FileReadOnly = 3051;       // file cannot be opened for writing
constexpr int FileLocked = 3045;         // file in use by another program
constexpr int UnknownObject = 3078;      // unknown table or query
constexpr int UnknownField = 3265;       // item not found in this collection (field)
constexpr int SyntaxError = 3075;        // syntax error in a condition, sort or SQL text
constexpr int NoTransaction = 3034;      // commit or rollback without BeginTrans
constexpr int Damaged = 3049;            // damaged file, or integrity check failed
constexpr int InvalidBookmark = 3159;    // not a valid bookmark
constexpr int RequiredValue = 3314;      // a required field is empty
constexpr int IoError = 3043;            // disk or network error
constexpr int General = 3000;            // any other engine failure
constexpr int InvalidArgument = 3001;    // a position or argument out of range
constexpr int FieldNotUpdatable = 3164;  // a computed or auto-number field written
constexpr int RecordDeleted = 3167;      // the current row was deleted meanwhile
constexpr int DatabaseExists = 3204;     // compaction destination already exists
constexpr int InvalidOperation = 3219;   // operation not valid for this kind of set or source
constexpr int NotSupported = 3251;       // e.g. sorting a table-type set
constexpr int ValidationRule = 3317;     // a value breaks a rule (CHECK) of the table
constexpr int UnknownIndex = 3800;       // no such index on the table
}  // namespace err

class StoreError : public std::runtime_error {
public:
    StoreError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description)
    {
    }
    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

}  // namespace store
