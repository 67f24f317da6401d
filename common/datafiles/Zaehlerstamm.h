#pragma once
// Loading a meter's master record from table zaehler of the meter database.
//
// The loader keeps a connection of its own to DBPath & MB_DBDatei, opened at the first load
// and kept for later loads of the process. Other services open and close the program-wide
// Datenbank as they please; that never disturbs this one. When something closes it all the
// same (closing every database at the end of a master pass), the next load opens it again.

#include "database/BasisMdb.h"
#include "database/Verbindung.h"
#include "datafiles/ZaehlerstammDaten.h"

#include <QString>

#include <memory>

// The loader's connection, and whether it has been opened.
inline std::unique_ptr<Verbindung> MB_ZaehlerDatenbank;
inline bool MB_DBOffen = false;
// File name of the meter database in DBPath.
inline QString MB_DBDatei = BasisMdbName;

// Status of MB_ZaehlerLaden.
enum ZaehlerLadenStatus : int {
    kZaehlerGefunden = 0,
    kZaehlerNichtGefunden = -1,
    kZaehlerDatenbankFehlt = -2, // the database cannot be opened
    kZaehlerAbfrageFehler = -3,  // the query failed (no table zaehler, for one)
};

// Loads the meter's row of zaehler into satz. Every load starts from an empty record, so no
// field of an earlier meter remains; an empty column leaves its field empty. A column that
// cannot be read into its field (an empty one where a value is required, a number out of the
// field's range, a missing column) leaves the field empty and its reason in FehlerText; the
// load goes on. Then the source rules set QuellArt, QuellNr, MBIndex and MBZStand from ZQuelle
// (compared with letter case, the first rule that fits wins):
//
//   "virtuell"          -1, meter number, MBIndex 0
//   first letter "S"    the rest as a number (station), column EINGNR, MBIndex 0
//   "M-Bus"             -2, meter number, column MBIndex, column MBZStand
//   "VBZ", "Ausgebaut"  -1, meter number
//   "CSV Import"        -2, meter number, MBIndex := basistarif of the tariff group (TaGemessen
//                       when tarifgruppe holds "GAS" in any case), column MBZStand
//   holds "OMS"         -2, meter number, MBIndex := basistarif of the tariff group, MBZStand
//
// A tariff group that is not found, or a value outside 0 to 255, keeps MBIndex's column value.
// DatenDatei and MdbDatei follow, and the time range when the data file is a value file
// (".zep") or a 15-minute file ("15p"); a data file that cannot be read leaves the range 0.
// Status: see ZaehlerLadenStatus. The database is opened with OeffneBasisMDB.
int MB_ZaehlerLaden(std::unique_ptr<Verbindung>& datenbank, qint32 lznr, ZaehlerStammdaten& satz);

// MB_ZaehlerLaden on the loader's own connection.
int MB_ZaehlerLaden(qint32 lznr, ZaehlerStammdaten& satz);

// True when the flag is set and the database is open. Otherwise logs "Öffne Datenbank : " &
// verzeichnis, opens verzeichnis & dateiTeil (an existing file only) into datenbank and sets
// the flag. On failure: FehlerText holds the reason, the program log gets
// "Fehler bei OeffneBasisMDB : " & reason & CR & "Programm wird beendet" (the program goes
// on), the flag is cleared and the result is false.
bool OeffneBasisMDB(std::unique_ptr<Verbindung>& datenbank, const QString& verzeichnis,
                    const QString& dateiTeil, bool& offen);

// Closes the loader's connection and clears the flag (the next load opens it again).
void MB_ZaehlerDatenbankSchliessen();

// basistarif of the tariff group (table TaGrp) in the loader's database; -1 when the group is
// not found, its basistarif is empty, or the database is not open.
qint32 MB_GetBasistarif(qint32 tarifgruppe);
qint32 MB_GetBasistarif(Verbindung& datenbank, qint32 tarifgruppe);

// The unit text of a value of a meter from the index list (MB_IndexListe, the row of the meter
// with MBIndex = index, trailing blanks removed) in the loader's database; "" when there is
// none or the database is not open.
QString MB_GetEinheit(qint32 lznr, qint32 index);
