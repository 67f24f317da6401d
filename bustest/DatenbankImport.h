#pragma once
// The meters of the test window into the meter database: the scan list into table zaehler, the
// records of one read meter as its index list MB_IndexListe, and a meter's tariffs into a grid.
// Every value is bound, never written into SQL text: IDs and addresses come from files and boxes.
//
// Scan list (MSFlexGrid1): 0 "Primär", 1 "ID", 2 "Herst.", 3 "Vers.", 4 "Medium", 6 "Baudrate"
// (the first ";"-field counts). Each row with ID and address becomes a zaehler row of the port
// (ZQUELLE "M-Bus"): found by ZNr when its address is no usable primary address (below 1 or
// above 250), else by MBAdr, the first match being the lowest LZNR; changed when found, added
// with ZName Herst. & "_" & ID otherwise. An address above 250 (253 secondary, 254 and 255
// broadcast: every meter answers there) is not stored: MBAdr keeps its value. Among the rows at
// an address the one with the meter's number comes first, then the meter's row stored without a
// usable address (none, or 0 as found when new), so that a meter keeps one row; a row written by
// the import for one meter, or holding the number of another meter the list shows at that
// address, is not taken for a meter by address: two meters at one address each keep a row of
// their own. Fields still empty get their defaults; a matching row of the
// index import list (MBusImportIndex.txt: Herst.;MEDIUM;MBIndex;TarifGruppe;TarifGrp;Tarif;Feld)
// sets MBIndex, TarifGruppe, TarifGrp, Tarif ("5,7" stored as "5;7;") and Feld.
//
// Index list (Grid1): each row whose "Meßart" (column 2) is filled becomes a row of the meter:
// the record number from "5 [3]" (or the whole cell when it is a plain number; 0 leaves it
// empty) into MBIndex, or into Index for client 2500; Art; the first 10 characters of "Einh."
// (column 4); Speichern. The old rows go in the same transaction: a failure keeps them.

#include <QString>
#include <QStringList>

class FlexGrid;
class Recordset;
class Verbindung;

class DatenbankImport
{
public:
    static inline const QString kNichtGefunden = QStringLiteral("Zähler nicht gefunden");
    // The scan list must have the columns up to "Baudrate".
    static constexpr int kMinSpalten = 7;

    enum class Ergebnis { Ok, NichtGefunden, Fehler };

    // Defaults for the empty fields and the template of the index import list (rows from 1).
    // neu: the row is being added (every field is empty); otherwise the recordset's current row
    // is the one being changed.
    static void ImportGet(Recordset& zaehler, bool neu, const FlexGrid& vorlage,
                          const QString& hersteller, const QString& medium);
    // "5,7" gives "5;7;", "5;" stays, "" gives ";".
    static QString TarifText(const QString& vorlage);
    // What keeps rows of the index import list from serving as a template (fewer than 7
    // columns; MBIndex or TarifGrp no whole number), as a message naming the lines (the header
    // line is line 1); "" when every row can serve.
    static QString VorlageMaengel(const FlexGrid& vorlage);

    // What an import of the scan list has to report besides the rows it stored.
    struct ListenBericht
    {
        int ohneAdresse = 0; // rows whose address above 250 was not stored
        // Of the meters of those rows: those stored without an address (new, or stored so
        // before, and given none by another row of the list); the others keep theirs.
        int ohneGespeichert = 0;
        int mitAdresse = 0;
        QStringList doppelt; // per shared address: "5 (50000005, 60000006)"
        // The German message for the user, "" when there is nothing to report.
        QString Meldung() const;
    };

    // Imports every complete row of the scan list for the port. Rows stored before a failure
    // stay; the failure's text goes to fehler. Returns the number of rows stored, -1 on failure.
    static int ListeImportieren(Verbindung& db, const FlexGrid& scanListe, const FlexGrid& vorlage,
                                int port, QString& fehler, ListenBericht* bericht = nullptr);

    // Replaces the index list of the one M-Bus meter at the address on the port by the records.
    // NichtGefunden (nothing changed) unless exactly one meter matches; Fehler with the message
    // "Import Idx " & reason & LF CR & "Index = " & record number & "  Zeile=" & zeile.
    static Ergebnis IndexeImportieren(Verbindung& db, const FlexGrid& saetze, int port,
                                      const QString& adresse, int zeile, QString& meldung);

    // The record number of an "Index" cell ("5 [3]" gives 3; "4" gives 4; anything else 0).
    static int SatzNummer(const QString& index);

    // The meter's tariffs: header "Tarif", "Index"; one row TA_BEZ, MBusIndex each, in tariff
    // order. False (grid untouched) when the query fails.
    static bool TarifeEinlesen(Verbindung& db, qint64 lznr, FlexGrid& grid);
};
