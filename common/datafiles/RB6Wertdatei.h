#pragma once
// Value files (".zep"): the time series of one value of one meter, appended in strictly
// increasing time and read back by bisection over record numbers. Other programs of the
// energy-data system read these files too; the layout is in RB6Satz.h and RB6Kopf.h.
//
// Status convention: 0 for success, a small negative number naming the step that failed, the
// reason in FehlerText (cleared on entry). No service writes a byte into a file whose header
// it does not trust; readers never create a file. Nothing is kept open between calls.

#include "datafiles/RB6Kopf.h"
#include "datafiles/RB6Tabelle.h"
#include "text/Zeit.h"

#include <QString>

class FlexGrid;
class Wertdatei;

// Block count of new value files (101 records a block); 0 stands for 6000. The windows set it
// from their settings.
inline qint32 RB6_StandardGroesse = 6000;
inline constexpr qint32 kRB6_VorgabeBloecke = 6000;
// The client whose value files are never read (RB6_WerteLesen gives this status).
inline constexpr int kRB6_StatusMandant1450 = -6;

// Direction of the next probe of a search.
enum class RB6_Richtung {
    Aufwaerts,
    Abwaerts,
};

// path & "Z" & the client number's numeric value & "\" & meter as 6 digits & index as
// 3 digits & ".zep": client 200, meter 1234, index 2 give "Z200\001234002.zep".
QString RB6_DateiName(const QString& pfad, qint32 lznr, qint32 index);

// The block count a creator's N stands for: N itself, or for 0 RB6_StandardGroesse (and for
// a standard size of 0 the default 6000).
qint32 RB6_Bloecke(qint32 bloecke);

// Creates the value file when it is missing or empty: the header (records 1 to 9) first, then
// the file extended with zeros to N blocks of 1212 bytes; capacity 100 x N. A file that already
// has content is left untouched (0). When the folder is missing, the file's own folder is
// created once. -1 open (or N out of range), -2 extending, -4 header write; a failed creation
// leaves no file behind.
int RB6_DateiAnlegen(const QString& pfad, qint32 lznr, qint32 index, qint32 bloecke,
                     double parameter1, double parameter2, double parameter3, double parameter4);

// Writes the header records 1 to 9 of an existing value file (never a value). -1 missing or
// empty file (an empty file is deleted), -2 the file's header or the given one is not
// trustworthy, or the write failed.
int RB6_KopfSchreiben(const QString& datei, const RB6_Kopf& kopf);

// Reads and checks the header; record 10 (the oldest value) comes with it. -1 missing or empty
// file (an empty file is deleted), -2 a header that cannot be trusted or a read error; kopf is
// left unchanged then.
int RB6_KopfLesen(const QString& datei, RB6_Kopf& kopf);

// Appends a value. An empty datei is built from the other arguments and given back. The file
// is created when it is missing or empty (block count RB6_StandardGroesse). A time newer
// than the newest value goes into the next record; the newest time again overwrites the newest
// value; an older time, a time of 0 or below, or one that would land on a header record
// writes nothing (-2). -1 creation failed, -2 header not trustworthy or time refused, -3 the
// append failed, -4 the overwrite failed.
int RB6_WertSchreiben(const QString& pfad, qint32 lznr, UnixZeit tm, double wert, qint32 index,
                      QString& datei);

// Reads the values of a period of the file under DBPath into rows: row 0 is the record before
// the first one found, then one row per record. A time of 0 stands for the file's own start
// or end and is given back. The start record is searched with the window
// [von - intervall/2, von] (and then moved back one record when above 10), the end record with
// [bis, bis + intervall/2 - 1] (and moved to the last value when fewer than 10 records before
// it). -1 header not readable (missing file, empty file (deleted), bad header), -3 a negative
// time or interval or a failed search, -4 rows could not be read, -5 no records in the period,
// -6 client 1450 (whose values are never read). The rows are untouched unless the status is 0.
int RB6_WerteLesen(qint32 lznr, UnixZeit& von, UnixZeit& bis, RB6_Tabelle& feld, qint32 intervall,
                   qint32 index);

// Bisection over the record numbers 1 to letzterSatz of an open value file, first probing
// ersterSatz. A probe inside the window (RB6_ZeitImBereich) is returned at once. Each further
// probe is the midpoint of the remaining range rounded half to even (1 and 6 give 4, 2 and 7
// give 4). At the end the record after the last probe is taken when its time is the wanted one
// or nearer to it than the last probe read. Never reads beyond letzterSatz.
qint32 RB6_SatzSuchen(Wertdatei& datei, qint32 ersterSatz, qint32 letzterSatz, UnixZeit gesucht,
                      qint32 fenster);

// The time of a record of an open value file (0 when it cannot be read).
UnixZeit RB6_SatzLesen(Wertdatei& datei, qint32 satz);

// True when zeit lies in [gesucht, gesucht + fenster] (fenster > 0) or
// [gesucht + fenster, gesucht] (fenster <= 0). richtung says where to look next: downwards
// when zeit is later than gesucht, else upwards.
bool RB6_ZeitImBereich(UnixZeit gesucht, qint32 fenster, UnixZeit zeit, RB6_Richtung& richtung);

// Lists the records ersterSatz to letzterSatz of the file under DBPath in the grid: the first
// record is only read, record k goes to row k - ersterSatz with the cells record number, date
// text, time, value and, when this and the previous record have a time above 0, the time and
// value differences to the previous record. A last record beyond the file's end is cut to it.
// 0 filled; -1 missing or empty file (an empty one is deleted), -3 no records in the range,
// -4 the grid refused the size or a read failed (FehlerText says why).
int RB6_DateiInGrid(qint32 lznr, qint32 ersterSatz, qint32 letzterSatz, FlexGrid& grid,
                    qint32 index);
