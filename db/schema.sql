-- HOMEDATA.DAT: the seven tables of the household data file and the rows a new file starts with.
-- Declared kinds carry the value kinds: LONG (32-bit), SHORT (16-bit), DOUBLE, DATETIME (days
-- since 1899-12-30, time as the fraction), TEXT. References are kept by the program, not by the
-- database: rows are deleted in an order that foreign keys would refuse.

CREATE TABLE Homes (
    HomeId       LONG PRIMARY KEY NOT NULL,
    Description  TEXT COLLATE NOCASE,
    Address      TEXT,
    CurrentValue DOUBLE,
    Picture2     TEXT,
    Notes        TEXT
);

CREATE TABLE Areas (
    AreaId      LONG PRIMARY KEY NOT NULL,
    HomeId      LONG,
    Description TEXT COLLATE NOCASE,
    Length      LONG,
    Width       LONG,
    Height      LONG,
    Color1      LONG,
    Color2      LONG,
    Color3      LONG,
    Label1      TEXT,
    Label2      TEXT,
    Label3      TEXT,
    Notes       TEXT
);
CREATE INDEX AreasByHome ON Areas (HomeId);

CREATE TABLE Assets (
    AssetId            LONG PRIMARY KEY NOT NULL,
    HomeId             LONG,
    AreaId             LONG,
    CategoryId         LONG,
    Description        TEXT COLLATE NOCASE,
    PurchasePrice      DOUBLE,
    PurchaseDate       DATETIME,
    CurrentValue       DOUBLE,
    ReplacementValue   DOUBLE,
    Vendor             TEXT,
    Phone1             TEXT,
    Phone2             TEXT,
    MakeModel          TEXT COLLATE NOCASE,
    SerialNumber       TEXT,
    WarrantyExpiration DATETIME,
    Picture2           TEXT,
    Notes              TEXT
);
CREATE INDEX AssetsByHome ON Assets (HomeId, Description);
CREATE INDEX AssetsByArea ON Assets (AreaId);
CREATE INDEX AssetsByCategory ON Assets (CategoryId);
-- The inventory's worth and its counts per category read this index alone, never the rows.
CREATE INDEX AssetsValueByHome ON Assets (HomeId, CategoryId, CurrentValue);
-- The warranties ending or ended around today read this index alone. The program also makes it
-- (IF NOT EXISTS) when it opens a file from before it.
CREATE INDEX AssetsWarrantyByHome ON Assets (HomeId, WarrantyExpiration, CategoryId);

CREATE TABLE Categories (
    CategoryId   LONG PRIMARY KEY NOT NULL,
    Description  TEXT COLLATE NOCASE,
    CategoryType SHORT
);
CREATE INDEX CategoriesByType ON Categories (CategoryType, Description);

CREATE TABLE Loans (
    LoanId       LONG PRIMARY KEY NOT NULL,
    Description  TEXT COLLATE NOCASE,
    AssetId      LONG,
    AssetType    SHORT,
    Principal    DOUBLE,
    InterestRate DOUBLE,
    TermInMonths SHORT,
    StartDate    DATETIME,
    LenderName   TEXT,
    LenderAcctNo TEXT,
    LenderPhone  TEXT,
    Notes        TEXT
);
CREATE INDEX LoansByHome ON Loans (AssetId, AssetType);

CREATE TABLE Tasks (
    TaskId      LONG PRIMARY KEY NOT NULL,
    Description TEXT COLLATE NOCASE,
    TaskType    SHORT,
    Status      SHORT,
    Cost        DOUBLE,
    Vendor      TEXT,
    Custom1     DOUBLE,
    Custom2     LONG,
    Custom3     TEXT,
    Notes       TEXT
);
CREATE INDEX TasksByType ON Tasks (TaskType);
CREATE INDEX TasksByStatus ON Tasks (Status);

CREATE TABLE TableIds (
    TableName TEXT PRIMARY KEY NOT NULL,
    NextId    LONG
);

-- Asset categories (kind 1). 19 is the video category; the program knows it by that id.
INSERT INTO Categories VALUES (1, 'Appliances', 1);
INSERT INTO Categories VALUES (2, 'Art', 1);
INSERT INTO Categories VALUES (3, 'Books', 1);
INSERT INTO Categories VALUES (4, 'Clothing', 1);
INSERT INTO Categories VALUES (5, 'Collectibles', 1);
INSERT INTO Categories VALUES (6, 'Computers', 1);
INSERT INTO Categories VALUES (7, 'Electronics', 1);
INSERT INTO Categories VALUES (8, 'Furniture', 1);
INSERT INTO Categories VALUES (9, 'Jewelry', 1);
INSERT INTO Categories VALUES (10, 'Kitchenware', 1);
INSERT INTO Categories VALUES (11, 'Lawn & Garden', 1);
INSERT INTO Categories VALUES (12, 'Lighting', 1);
INSERT INTO Categories VALUES (13, 'Music CDs', 1);
INSERT INTO Categories VALUES (14, 'Musical Instruments', 1);
INSERT INTO Categories VALUES (15, 'Rugs & Carpets', 1);
INSERT INTO Categories VALUES (16, 'Sports Equipment', 1);
INSERT INTO Categories VALUES (17, 'Tools', 1);
INSERT INTO Categories VALUES (18, 'Toys & Games', 1);
INSERT INTO Categories VALUES (19, 'Videos', 1);
-- Task categories (kind 2).
INSERT INTO Categories VALUES (20, 'Bills', 2);
INSERT INTO Categories VALUES (21, 'Cleaning', 2);
INSERT INTO Categories VALUES (22, 'Errands', 2);
INSERT INTO Categories VALUES (23, 'Maintenance', 2);
INSERT INTO Categories VALUES (24, 'Repairs', 2);
INSERT INTO Categories VALUES (25, 'Yard Work', 2);
-- Stores (kind 3).
INSERT INTO Categories VALUES (26, 'Department Store', 3);
INSERT INTO Categories VALUES (27, 'Grocery Store', 3);
INSERT INTO Categories VALUES (28, 'Hardware Store', 3);
INSERT INTO Categories VALUES (29, 'Home Improvement Center', 3);
INSERT INTO Categories VALUES (30, 'Pharmacy', 3);

-- Id counters: each above every id present, so 19 is never handed out again.
INSERT INTO TableIds VALUES ('Areas', 1);
INSERT INTO TableIds VALUES ('Assets', 1);
INSERT INTO TableIds VALUES ('Categories', 31);
INSERT INTO TableIds VALUES ('Homes', 1);
INSERT INTO TableIds VALUES ('Loans', 1);
INSERT INTO TableIds VALUES ('Tasks', 1);
