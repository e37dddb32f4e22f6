-- Tables, indexes and saved queries of the wedding database.
--
-- Declared column types tell the store how to convert values:
--   TEXT(n)   text of at most n characters; plain TEXT has no limit
--   YESNO     0 or 1; never Null (a Null written is stored as the default, No)
--   CURRENCY  integer count of ten-thousandths (exact money)
--   DATETIME  ISO text 'YYYY-MM-DD HH:MM:SS'
--   NUMBER    integer
-- Every text column compares and sorts without regard to case.

CREATE TABLE BudgetPlan (
    Description TEXT(255) COLLATE NOCASE
);

CREATE TABLE Checklist (
    CheckItem TEXT(255) COLLATE NOCASE,
    checktime NUMBER,
    DueDate   DATETIME,
    Done      YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    CheckDate DATETIME
);

-- The values offered by the city and state boxes. A duplicate (in any case) or an
-- empty value is refused; the windows ignore the refusal.
CREATE TABLE CityList (
    City TEXT(50) COLLATE NOCASE NOT NULL CHECK (trim(City) <> '')
);
CREATE UNIQUE INDEX City ON CityList (City);

CREATE TABLE Expenses (
    Description TEXT(255) COLLATE NOCASE,
    Amount      CURRENCY,
    Quantity    NUMBER,
    Downpayment CURRENCY,
    Paid        CURRENCY,
    Total       CURRENCY,
    Owing       CURRENCY
);

-- One row: the wedding itself.
CREATE TABLE General (
    bridesname   TEXT(50) COLLATE NOCASE,
    groomsname   TEXT(50) COLLATE NOCASE,
    weddingdate  DATETIME,
    weddingtime  TEXT(20) COLLATE NOCASE,
    weddingloc   TEXT(100) COLLATE NOCASE,
    weddingcont  TEXT(50) COLLATE NOCASE,
    weddingphone TEXT(30) COLLATE NOCASE,
    showdate     DATETIME,
    showtime     TEXT(20) COLLATE NOCASE,
    showloc      TEXT(100) COLLATE NOCASE,
    showcont     TEXT(50) COLLATE NOCASE,
    showphone    TEXT(30) COLLATE NOCASE,
    recdate      DATETIME,
    rectime      TEXT(20) COLLATE NOCASE,
    receptloc    TEXT(100) COLLATE NOCASE,
    reccont      TEXT(50) COLLATE NOCASE,
    recphone     TEXT(30) COLLATE NOCASE
);

-- One row per guest party. The label lines are wide enough for the longest line the
-- guest window proposes: title, first and last name with a blank between each.
CREATE TABLE Guests (
    Prefix          TEXT(20) COLLATE NOCASE,
    FirstName       TEXT(20) COLLATE NOCASE,
    LastName        TEXT(20) COLLATE NOCASE,
    Address         TEXT(40) COLLATE NOCASE,
    City            TEXT(50) COLLATE NOCASE,
    State           TEXT(50) COLLATE NOCASE,
    PostalCode      TEXT(20) COLLATE NOCASE,
    Country         TEXT(20) COLLATE NOCASE,
    HomePhone       TEXT(20) COLLATE NOCASE,
    guestof         TEXT(10) COLLATE NOCASE,
    InvCeremony     YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    InvReception    YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    ShowerGuest     YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    InvRehearsal    YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    Invited         NUMBER,
    Confirmed       YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    NumberAttending NUMBER,
    ShowerInvited   NUMBER,
    ShowerReplied   YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    ShowerComing    NUMBER,
    EngageGift      TEXT(255) COLLATE NOCASE,
    engamt          CURRENCY,
    EngageNoteSent  YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    ShowerGift      TEXT(255) COLLATE NOCASE,
    showamt         CURRENCY,
    ShowerNoteSent  YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    WeddingGift     TEXT(255) COLLATE NOCASE,
    wedamt          CURRENCY,
    WeddingNoteSent YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0,
    wedlbl          TEXT(80) COLLATE NOCASE,
    showlbl         TEXT(80) COLLATE NOCASE,
    tableid         NUMBER DEFAULT 0,
    tabletot        NUMBER DEFAULT 0,
    printit         YESNO NOT NULL ON CONFLICT REPLACE DEFAULT 0
);
CREATE INDEX LastName ON Guests (LastName COLLATE NOCASE);

CREATE TABLE StateList (
    State TEXT(50) COLLATE NOCASE NOT NULL CHECK (trim(State) <> '')
);
CREATE UNIQUE INDEX State ON StateList (State);

-- Reception tables. TableId is assigned by the store and never reused, so a party
-- still pointing at a deleted table cannot end up at a new one.
CREATE TABLE Tables (
    TableId     INTEGER PRIMARY KEY AUTOINCREMENT,
    tablename   TEXT(50) COLLATE NOCASE,
    tablenumber NUMBER,
    "max"       NUMBER DEFAULT 0,
    assigned    NUMBER DEFAULT 0
);

CREATE TABLE Tips (
    tip TEXT COLLATE NOCASE
);

CREATE TABLE Vendors (
    VendorName TEXT(50) COLLATE NOCASE,
    Address1   TEXT(50) COLLATE NOCASE,
    Address2   TEXT(50) COLLATE NOCASE,
    City       TEXT(50) COLLATE NOCASE,
    State      TEXT(50) COLLATE NOCASE,
    Zip        TEXT(20) COLLATE NOCASE,
    Contact    TEXT(50) COLLATE NOCASE,
    Phone      TEXT(30) COLLATE NOCASE,
    Fax        TEXT(30) COLLATE NOCASE,
    Notes      TEXT COLLATE NOCASE,
    Service    TEXT(50) COLLATE NOCASE
);
CREATE INDEX CompanyName ON Vendors (VendorName COLLATE NOCASE);

-- Saved queries. The windows read them by the column names given here.

-- The number of guest parties.
CREATE VIEW "Invited Query" AS
    SELECT count(*) AS "count of guests" FROM Guests;

-- Parties per side.
CREATE VIEW sumGuestof AS
    SELECT guestof AS guestof, count(*) AS "Count"
    FROM Guests GROUP BY guestof ORDER BY guestof;

-- Gift money per occasion; Null when no amount has been entered.
CREATE VIEW sumGifts AS
    SELECT sum(engamt) AS "sum of engamt",
           sum(showamt) AS "sum of showamt",
           sum(wedamt) AS "sum of wedamt"
    FROM Guests;

-- Shower parties by reply state, with the people invited and coming. A count that
-- was never entered adds nothing, so the people figures are 0 rather than Null.
CREATE VIEW sumShower AS
    SELECT ShowerReplied AS showerreplied,
           count(*) AS "count of guests",
           coalesce(sum(ShowerInvited), 0) AS "sum of ShowerInvited",
           coalesce(sum(ShowerComing), 0) AS "sum of ShowerComing"
    FROM Guests WHERE ShowerGuest <> 0
    GROUP BY ShowerReplied ORDER BY ShowerReplied;

-- Reception parties by reply state, likewise.
CREATE VIEW sumReception AS
    SELECT Confirmed AS Confirmed,
           count(*) AS "count of guests",
           coalesce(sum(Invited), 0) AS "sum of ReceptionInvited",
           coalesce(sum(NumberAttending), 0) AS "sum of ReceptionComing"
    FROM Guests WHERE InvReception <> 0
    GROUP BY Confirmed ORDER BY Confirmed;

CREATE VIEW sumCeremony AS
    SELECT count(*) AS "count of guests" FROM Guests WHERE InvCeremony <> 0;

CREATE VIEW sumRehearsal AS
    SELECT count(*) AS "count of guests" FROM Guests WHERE InvRehearsal <> 0;

-- Declared types of the computed columns of the saved queries (SQLite gives views
-- no type for an expression). Hidden from the program's table list.
CREATE TABLE orv_columns (
    object TEXT NOT NULL,
    name   TEXT NOT NULL,
    type   TEXT NOT NULL,
    PRIMARY KEY (object, name)
);
INSERT INTO orv_columns (object, name, type) VALUES
    ('Invited Query', 'count of guests', 'NUMBER'),
    ('sumGuestof', 'Count', 'NUMBER'),
    ('sumGifts', 'sum of engamt', 'CURRENCY'),
    ('sumGifts', 'sum of showamt', 'CURRENCY'),
    ('sumGifts', 'sum of wedamt', 'CURRENCY'),
    ('sumShower', 'count of guests', 'NUMBER'),
    ('sumShower', 'sum of ShowerInvited', 'NUMBER'),
    ('sumShower', 'sum of ShowerComing', 'NUMBER'),
    ('sumReception', 'count of guests', 'NUMBER'),
    ('sumReception', 'sum of ReceptionInvited', 'NUMBER'),
    ('sumReception', 'sum of ReceptionComing', 'NUMBER'),
    ('sumCeremony', 'count of guests', 'NUMBER'),
    ('sumRehearsal', 'count of guests', 'NUMBER');
