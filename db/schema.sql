-- Meter database basis.mdb: every table the program reads or writes.
--
-- The same text creates the tables on SQLite and on a server database:
--   * Names are written without quotes, so a server that folds names stores them in lower case;
--     the program finds columns without regard to letter case.
--   * The one reserved word among the column names, Index, is always written "index" (double
--     quotes, lower case). Offset is only a keyword on some servers, so it is quoted as well.
--   * Text columns compare without regard to letter case (COLLATE NOCASE; a server gets a
--     collation of that name before this script runs).
--   * Yes/no columns are SMALLINT with default 0; any value other than 0 reads as true.
--   * Points in time of the value tables (Tm) are local wall-clock seconds counted as UTC.

-- Meters, one row per meter; LZNR is assigned by the database when a new row leaves it empty.
CREATE TABLE zaehler (
    LZNR INTEGER PRIMARY KEY,
    ZNr TEXT COLLATE NOCASE,
    ZNAME TEXT COLLATE NOCASE,
    ZQUELLE TEXT COLLATE NOCASE,
    MBAdr INTEGER,
    MBComP INTEGER,
    MBBaud INTEGER,
    MBIndex INTEGER,
    MBZStand INTEGER,
    MB_SelectSec TEXT COLLATE NOCASE,
    MB_ID TEXT COLLATE NOCASE,
    MB_Medium TEXT COLLATE NOCASE,
    MB_Version TEXT COLLATE NOCASE,
    Hersteller TEXT COLLATE NOCASE,
    STUFE INTEGER,
    TARIFGRUPPE TEXT COLLATE NOCASE,
    TARIFGRP INTEGER,
    FAKTOR DOUBLE PRECISION,
    IMPULSE DOUBLE PRECISION,
    "offset" DOUBLE PRECISION,
    ZTyp TEXT COLLATE NOCASE,
    ZStellen INTEGER,
    Tarif TEXT COLLATE NOCASE,
    Feld TEXT COLLATE NOCASE,
    EINGNR INTEGER,
    lfdnr DOUBLE PRECISION,
    zaehlerplatz TEXT COLLATE NOCASE,
    BulaNr TEXT COLLATE NOCASE,
    fmax DOUBLE PRECISION,
    fmin DOUBLE PRECISION,
    MBMin DOUBLE PRECISION,
    MBMax DOUBLE PRECISION,
    anl INTEGER,
    TaGemessen INTEGER,
    TgAnfang INTEGER,
    ZeitenNr TEXT COLLATE NOCASE,
    txtBemerkung TEXT COLLATE NOCASE,
    ZOrt TEXT COLLATE NOCASE
);
CREATE INDEX zaehler_mbcomp ON zaehler (MBComP, MBAdr);

-- Tariff groups.
CREATE TABLE tagrp (
    TAGRP_NR INTEGER PRIMARY KEY,
    TAGRP_NAME TEXT COLLATE NOCASE,
    BasisTarif INTEGER
);

-- Tariffs.
CREATE TABLE ta (
    TA_NR INTEGER PRIMARY KEY,
    TA_BEZ TEXT COLLATE NOCASE,
    Ta_Reihenfolge INTEGER
);

-- Tariffs of a meter and the data record that holds each tariff's value.
CREATE TABLE tazuordnung (
    zlznr INTEGER,
    zta INTEGER,
    MBusIndex INTEGER
);
CREATE INDEX tazuordnung_zlznr ON tazuordnung (zlznr);

-- Value indexes of a meter: which data records are stored and shown, and how.
-- The data-record number is MBIndex; client 2500 keeps it in "index".
CREATE TABLE MB_IndexListe (
    Lznr INTEGER,
    "index" SMALLINT,
    Art TEXT COLLATE NOCASE,
    Einheit TEXT COLLATE NOCASE,
    Speichern SMALLINT DEFAULT 0,
    MBIndex SMALLINT,
    Anzeigen SMALLINT DEFAULT 0,
    Faktor DOUBLE PRECISION,
    Farbe INTEGER,
    MBTyp SMALLINT,
    TarifNr INTEGER,
    Reihenfolge INTEGER
);
CREATE INDEX mb_indexliste_lznr ON MB_IndexListe (Lznr);

-- Data records of a meter to export, each with a free text.
CREATE TABLE MBusIndexListe (
    Lznr INTEGER,
    MBIndex INTEGER,
    Text TEXT COLLATE NOCASE
);
CREATE INDEX mbusindexliste_lznr ON MBusIndexListe (Lznr);

-- Meter readings of the main index: Tm as seconds, DT the same moment as a date and time.
CREATE TABLE Zaehlerstaende (
    lznr INTEGER,
    Tm INTEGER,
    DT TIMESTAMP,
    ZStand DOUBLE PRECISION,
    ta INTEGER
);
CREATE INDEX zaehlerstaende_lznr_tm ON Zaehlerstaende (lznr, Tm);

-- Values of every stored data record.
CREATE TABLE MBusWerte (
    lznr INTEGER,
    Tm INTEGER,
    idx INTEGER,
    Wert DOUBLE PRECISION
);
CREATE INDEX mbuswerte_lznr_idx_tm ON MBusWerte (lznr, idx, Tm);
