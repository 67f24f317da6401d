#pragma once
// Reading services shared by the windows: preparing the port of the fixed-interface driver,
// selecting a meter by secondary address through the name-bound driver, showing the answer the
// driver decoded last, copying its records into a master meter record, and reading one meter of
// the master.

#include "lesen/MBZaehler.h"
#include "text/Zeit.h"

#include <QString>

class FlexGrid;
class IMBusOLEAutoServer;
class MBusRacX4;
class SerielleSchnittstelle;

// OLESetBaud with the baud as text and, only when that was accepted, OLEOpenPort with the port
// text ("Com " & number). True when both were accepted.
bool MBusComPortSetzen(IMBusOLEAutoServer& treiber, const QString& port, qint32 baud);

// Selects the meter with the secondary address, resets its application (SND_UD to 253 with CI
// 50, FCB 1), selects it again and requests its data (REQ_UD2 to 253): a meter that answers in
// several telegrams gives its first one every time, also one that holds every frame to the FCB
// rule. A reset that is not acknowledged does not stop the request; a second select that is not
// acknowledged does, as the first. The
// address is filled with the wildcard f on the left to eight characters (longer ones keep their
// last eight); the caller's variable receives the filled text.
// The waits sleep in the event loop (EmpfangAbwarten).
// Returns 0 data received; -1 no meter answered a select (or the program is ending); 1 another
// receive error after a select (collision); -3 no valid answer to the request.
int MBusSelectREQUD2(MBusRacX4& treiber, QString& adresse);

// "n HEX Zeichen", the hex bytes 16 to a line, "n Dezimal" and the decimal bytes (three digits
// each), every group followed by a blank, lines ended by CR LF.
QString TelegrammDump(const QString& hex, const QString& dezimal);

// Empties a records grid to its header row ("Index", "Medium", "Meßart", "Wert", "Einh.") and
// one empty row.
void SatzGridVorbereiten(FlexGrid& grid);

// Shows the answer the driver decoded last: the grid gets the columns "Index", "Medium",
// "Meßart", "Wert", "Einh.", an empty row and one row per record; the text box (textfeld) gets
// the telegram as hex pairs (16 a line) and as decimal triples. RohdatenText ends holding the
// telegram as contiguous hex (the raw telegram the telegram tools read back).
void TelegrammInGrid(FlexGrid& grid, MBusRacX4& treiber, QString& textfeld);

// Copies the records of the answer the driver decoded last into the record (see
// MBZaehlerAktualisieren) with the read time given. A record DIF 0F (manufacturer data) or 1F
// (more records follow in the next telegram) is no reading: the records end before it. 0 done;
// -1 failed (the driver holds no decoded telegram, or it has more than 255 records): the record
// stays as it was.
int TelegrammWerteLesen(MBusRacX4& treiber, MBZaehler& zaehler, UnixZeit zeit);

// Reads one meter of the master and copies its values into the record.
// - MB_SelectSec empty: through the driver on port MBComP at MBBaud, selected by MB_ID (filled
//   with f to eight characters and written back, whatever the result). A meter without ID is not
//   read (-1).
// - Otherwise by raw frames over the serial control (select frame from MB_SelectSec, application
//   reset, REQ_UD2, 0.8 s time-out: MBusRawREQUD2); the port is opened for the exchange and
//   closed after it, and the driver only decodes the answer (it needs no port for that: its
//   port, left open by a meter read through it before, is closed first). A
//   frame whose checksum alone is wrong is handed to the driver (V3CommReadMsg), which refuses
//   it.
// Either way the meter gives its first telegram (see MBusSelectREQUD2).
// Returns 0 read; -1 no answer (select not acknowledged, nothing sent back); -2 the driver did
// not accept the answer, or through the driver no answer came to the request after a sound
// select (APPReceiveTest 4 and above; the driver's port is closed); -3 copying the values
// failed; -4 the serial port did not open. On every result other than 0 the record's values are
// left as they were.
int MBusRawAuslesen(SerielleSchnittstelle& comm, MBusRacX4& treiber, MBZaehler& zaehler);
