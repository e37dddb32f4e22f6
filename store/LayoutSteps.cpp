#include "store/LayoutSteps.h"

namespace store::layout {

namespace {

// The floor plan, the seating rules and the pinned parties.
//
// A guest party is referred to by its PartyKey, the rowid of its Guests row: the row's
// bookmark everywhere in the program. Compaction (VACUUM INTO, which keeps rowids because
// Guests has an index) and repair (which copies every row with its rowid) keep it.
// Removing a party removes its pins and its place in rules (a rule left with fewer than
// two parties goes too); removing a table removes its place on the floor plan and the
// reservations of it.
const char* const SeatingPlan = R"sql(
CREATE TABLE SeatingPins (
    PartyKey INTEGER PRIMARY KEY
);

CREATE TABLE SeatingRules (
    RuleId  INTEGER PRIMARY KEY AUTOINCREMENT,
    Kind    TEXT(20) COLLATE NOCASE NOT NULL
            CHECK (Kind IN ('Together', 'Apart', 'Reserved', 'SidesTogether', 'FillEvenly', 'FewestTables')),
    TableId NUMBER,
    Side    TEXT(10) COLLATE NOCASE
);

CREATE TABLE SeatingRuleParties (
    RuleId   NUMBER NOT NULL,
    PartyKey NUMBER NOT NULL,
    PRIMARY KEY (RuleId, PartyKey)
);
CREATE INDEX SeatingRulePartiesByParty ON SeatingRuleParties (PartyKey);

CREATE TABLE TablePlaces (
    TableId INTEGER PRIMARY KEY,
    X       NUMBER NOT NULL DEFAULT 0,
    Y       NUMBER NOT NULL DEFAULT 0,
    Shape   TEXT(10) COLLATE NOCASE NOT NULL DEFAULT 'Round' CHECK (Shape IN ('Round', 'Rectangle'))
);

CREATE TRIGGER SeatingPartyRemoved AFTER DELETE ON Guests BEGIN
    DELETE FROM SeatingPins WHERE PartyKey = old.rowid;
    DELETE FROM SeatingRuleParties WHERE PartyKey = old.rowid;
    DELETE FROM SeatingRules
     WHERE (Kind IN ('Together', 'Apart') AND
            (SELECT count(*) FROM SeatingRuleParties m WHERE m.RuleId = SeatingRules.RuleId) < 2)
        OR (Kind = 'Reserved' AND Side IS NULL AND
            NOT EXISTS (SELECT 1 FROM SeatingRuleParties m WHERE m.RuleId = SeatingRules.RuleId));
END;

CREATE TRIGGER SeatingRuleRemoved AFTER DELETE ON SeatingRules BEGIN
    DELETE FROM SeatingRuleParties WHERE RuleId = old.RuleId;
END;

CREATE TRIGGER SeatingTableRemoved AFTER DELETE ON Tables BEGIN
    DELETE FROM TablePlaces WHERE TableId = old.TableId;
    DELETE FROM SeatingRules WHERE Kind = 'Reserved' AND TableId = old.TableId;
END;
)sql";

// The column mapping of the last guest import per header row, so that the next file with
// the same columns is read the same way. Headers: the file's header row joined by tabs;
// Fields: the guest field of each column, joined by tabs ("" = not imported).
const char* const ImportMappings = R"sql(
CREATE TABLE ImportMappings (
    Headers TEXT COLLATE NOCASE PRIMARY KEY,
    Fields  TEXT COLLATE NOCASE NOT NULL,
    Saved   DATETIME
);
)sql";

// The budget's plan beside the expense list: the couple's spending categories with what each
// may cost, per expense its category, estimate and vendor, and its payments (a deposit and
// later payments, each due on a date and paid or not), and the budget of the whole wedding.
//
// An expense is referred to by its ExpenseKey, the rowid of its Expenses row: the row's
// bookmark everywhere in the program. Compaction (VACUUM INTO, which copies rowids as they
// are) and repair (which copies every row with its rowid) keep it. Removing an expense
// removes its plan and its payments; removing a category or a vendor leaves the items
// without one.
const char* const BudgetPlanning = R"sql(
CREATE TABLE PlanCategories (
    CategoryId INTEGER PRIMARY KEY AUTOINCREMENT,
    Name       TEXT(50) COLLATE NOCASE NOT NULL UNIQUE CHECK (trim(Name) <> ''),
    Planned    CURRENCY NOT NULL DEFAULT 0,
    SortOrder  NUMBER NOT NULL DEFAULT 0
);

CREATE TABLE PlanItems (
    ExpenseKey INTEGER PRIMARY KEY,
    CategoryId NUMBER,
    Estimate   CURRENCY,
    VendorKey  NUMBER,
    Notes      TEXT COLLATE NOCASE
);
CREATE INDEX PlanItemsByCategory ON PlanItems (CategoryId);

CREATE TABLE PlanPayments (
    PaymentId  INTEGER PRIMARY KEY AUTOINCREMENT,
    ExpenseKey NUMBER NOT NULL,
    Kind       TEXT(10) COLLATE NOCASE NOT NULL DEFAULT 'Payment' CHECK (Kind IN ('Deposit', 'Payment')),
    DueDate    DATETIME,
    Amount     CURRENCY NOT NULL DEFAULT 0,
    IsPaid     YESNO NOT NULL DEFAULT 0,
    PaidDate   DATETIME
);
CREATE INDEX PlanPaymentsByExpense ON PlanPayments (ExpenseKey);

CREATE TABLE PlanTotals (
    TotalsId    INTEGER PRIMARY KEY CHECK (TotalsId = 1),
    TotalBudget CURRENCY NOT NULL DEFAULT 0
);
INSERT INTO PlanTotals (TotalsId, TotalBudget) VALUES (1, 0);

INSERT INTO PlanCategories (Name, SortOrder) VALUES
    ('Venue', 1), ('Catering', 2), ('Photography & video', 3), ('Flowers & decoration', 4),
    ('Attire & beauty', 5), ('Music & entertainment', 6), ('Stationery', 7), ('Rings', 8),
    ('Cake', 9), ('Transport', 10), ('Officiant & fees', 11), ('Gifts & favours', 12),
    ('Honeymoon', 13), ('Other', 14);

CREATE TRIGGER PlanExpenseRemoved AFTER DELETE ON Expenses BEGIN
    DELETE FROM PlanPayments WHERE ExpenseKey = old.rowid;
    DELETE FROM PlanItems WHERE ExpenseKey = old.rowid;
END;

CREATE TRIGGER PlanCategoryRemoved AFTER DELETE ON PlanCategories BEGIN
    UPDATE PlanItems SET CategoryId = NULL WHERE CategoryId = old.CategoryId;
END;

CREATE TRIGGER PlanVendorRemoved AFTER DELETE ON Vendors BEGIN
    UPDATE PlanItems SET VendorKey = NULL WHERE VendorKey = old.rowid;
END;
)sql";

// The people of each party: its members in their order, the couple's menu and each member's
// reply per event. A party without members keeps its typed counts as before.
//
// A member is referred to by its MemberId, which is never reused (AUTOINCREMENT) and which
// compaction and repair copy as they are (repair copies sqlite_sequence too). A member points
// at its party by PartyKey (the Guests rowid) and, for the unnamed guest a member brings, at
// that member by PlusOneOf. Removing a party removes its members; removing a member removes
// its replies and the unnamed guest it brings (a plus-one who has been given a name stays, as
// a member of the party in their own right); removing a meal leaves its members without one.
// Needs holds the ticked common needs joined by ", ", NeedsNote what was written besides.
const char* const PartyMembers = R"sql(
CREATE TABLE GuestsMeals (
    MealId    INTEGER PRIMARY KEY AUTOINCREMENT,
    Name      TEXT(40) COLLATE NOCASE NOT NULL UNIQUE CHECK (trim(Name) <> ''),
    Mark      TEXT(6) COLLATE NOCASE,
    SortOrder NUMBER NOT NULL DEFAULT 0
);

CREATE TABLE GuestsMembers (
    MemberId  INTEGER PRIMARY KEY AUTOINCREMENT,
    PartyKey  NUMBER NOT NULL,
    SortOrder NUMBER NOT NULL DEFAULT 0,
    FirstName TEXT(30) COLLATE NOCASE,
    LastName  TEXT(30) COLLATE NOCASE,
    AgeGroup  TEXT(10) COLLATE NOCASE NOT NULL DEFAULT 'Adult' CHECK (AgeGroup IN ('Adult', 'Child', 'Infant')),
    PlusOneOf NUMBER,
    MealId    NUMBER,
    Needs     TEXT(200) COLLATE NOCASE,
    NeedsNote TEXT(255) COLLATE NOCASE,
    Email     TEXT(100) COLLATE NOCASE,
    Mobile    TEXT(30) COLLATE NOCASE,
    Note      TEXT COLLATE NOCASE
);
CREATE INDEX GuestsMembersByParty ON GuestsMembers (PartyKey, SortOrder);

CREATE TABLE GuestsMemberReplies (
    MemberId NUMBER NOT NULL,
    Event    TEXT(10) COLLATE NOCASE NOT NULL CHECK (Event IN ('Ceremony', 'Reception', 'Shower', 'Rehearsal')),
    Reply    TEXT(10) COLLATE NOCASE NOT NULL CHECK (Reply IN ('Attending', 'Declined')),
    PRIMARY KEY (MemberId, Event)
);

INSERT INTO GuestsMeals (Name, Mark, SortOrder) VALUES
    ('Beef', 'B', 1), ('Salmon', 'S', 2), ('Vegetarian', 'V', 3), ('Kids'' meal', 'K', 4);

CREATE TRIGGER GuestsMembersPartyRemoved AFTER DELETE ON Guests BEGIN
    DELETE FROM GuestsMembers WHERE PartyKey = old.rowid;
END;

CREATE TRIGGER GuestsMembersMemberRemoved AFTER DELETE ON GuestsMembers BEGIN
    DELETE FROM GuestsMemberReplies WHERE MemberId = old.MemberId OR MemberId IN
        (SELECT MemberId FROM GuestsMembers
          WHERE PlusOneOf = old.MemberId AND trim(coalesce(FirstName, '') || coalesce(LastName, '')) = '');
    DELETE FROM GuestsMembers
     WHERE PlusOneOf = old.MemberId AND trim(coalesce(FirstName, '') || coalesce(LastName, '')) = '';
    UPDATE GuestsMembers SET PlusOneOf = NULL WHERE PlusOneOf = old.MemberId;
END;

CREATE TRIGGER GuestsMembersMealRemoved AFTER DELETE ON GuestsMeals BEGIN
    UPDATE GuestsMembers SET MealId = NULL WHERE MealId = old.MealId;
END;
)sql";


// Where each member of a seated party sits at its table: Seat counts from 0 round the table
// (clockwise from the top on a round table; along the top and back along the bottom on a
// rectangular one), so that consecutive seats are neighbours. A member has at most one seat.
// The seats follow the party: when it moves to another table or leaves its table, its
// members' seats go; removing a member or its party (whose members go with it) or a table
// removes their seats.
const char* const MemberSeats = R"sql(
CREATE TABLE GuestsSeats (
    MemberId INTEGER PRIMARY KEY,
    TableId  NUMBER NOT NULL,
    Seat     NUMBER NOT NULL CHECK (Seat >= 0)
);
CREATE INDEX GuestsSeatsByTable ON GuestsSeats (TableId, Seat);

CREATE TRIGGER GuestsSeatsMemberRemoved AFTER DELETE ON GuestsMembers BEGIN
    DELETE FROM GuestsSeats WHERE MemberId = old.MemberId;
END;

CREATE TRIGGER GuestsSeatsPartyMoved AFTER UPDATE OF tableid ON Guests
WHEN coalesce(old.tableid, 0) <> coalesce(new.tableid, 0) BEGIN
    DELETE FROM GuestsSeats WHERE MemberId IN (SELECT MemberId FROM GuestsMembers WHERE PartyKey = old.rowid);
END;

CREATE TRIGGER GuestsSeatsTableRemoved AFTER DELETE ON Tables BEGIN
    DELETE FROM GuestsSeats WHERE TableId = old.TableId;
END;
)sql";

}  // namespace

const std::vector<Step>& steps()
{
    static const std::vector<Step> list = {
        {1, "the floor plan, seating rules and pinned parties", SeatingPlan},
        {2, "the remembered column mappings of guest imports", ImportMappings},
        {3, "the budget's categories, estimates, vendors and payments", BudgetPlanning},
        {4, "the members of each party, their replies, meals and needs", PartyMembers},
        {5, "the seats of the members of each party at its table", MemberSeats},
    };
    return list;
}

int latestVersion()
{
    return steps().empty() ? 0 : steps().back().version;
}

const std::vector<const char*>& originalTables()
{
    static const std::vector<const char*> tables = {"BudgetPlan", "Checklist", "CityList",  "Expenses",
                                                    "General",    "Guests",    "StateList", "Tables",
                                                    "Tips",       "Vendors"};
    return tables;
}

}  // namespace store::layout
