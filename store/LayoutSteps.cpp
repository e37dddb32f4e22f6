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

}  // namespace

const std::vector<Step>& steps()
{
    static const std::vector<Step> list = {
        {1, "the floor plan, seating rules and pinned parties", SeatingPlan},
        {2, "the remembered column mappings of guest imports", ImportMappings},
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
