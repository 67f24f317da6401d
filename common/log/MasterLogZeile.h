#pragma once
// The lines the cyclic master writes into the daily M-Bus log "mb.log" (MBusLogSchreiben puts
// "dd.mm.yy hh:mm:ss " and ";" before each), and the one place both the master and the
// log-file import take their layout from.
//
//   data line    id;Zname;port;address;k;value;unit;
//   read error   address;Lesefehler;count;rc=<rc>
//   read ended   address;Lesen abgebrochen (Programmende);count;rc=<rc>
//
// id is the meter's MB_ID with every "f" removed (ReplaceAll), the value a number text in the
// German convention (ZahlAlsText), the unit without leading and trailing blanks, k the record
// number from 1. The header line goes only into a new file.

#include <QString>

inline const QString kMBusLogSuffix = QStringLiteral("mb.log");
inline const QString kMasterLogKopf =
    QStringLiteral("Zeitstempel;Zählernummer;Zählernummer;ComPort;PrimAdr;Wert;Einheit;");

// Field positions of a data line as it stands in the file (time stamp in field 0).
struct MasterLogFelder
{
    static constexpr int kZeit = 0;
    static constexpr int kId = 1;
    static constexpr int kName = 2;
    static constexpr int kPort = 3;
    static constexpr int kAdresse = 4;
    static constexpr int kIndex = 5;
    static constexpr int kWert = 6;
    static constexpr int kEinheit = 7;
    // Fields of a data line, the empty one after the last ";" not counted.
    static constexpr int kAnzahl = 8;
};

// The data line of record k of a meter (without time stamp).
QString MasterLogZeile(const QString& mbId, const QString& zname, int port, const QString& adresse,
                       int k, double wert, const QString& einheit);

// The line of a meter that did not answer (without time stamp).
QString MasterLogLesefehler(const QString& adresse, int leseFehler, int rc);

// The line of a meter whose read the program's end cut off (without time stamp); the count is
// the meter's read errors, which this does not raise. Like the read error line it is no reading
// for the log import.
QString MasterLogLeseabbruch(const QString& adresse, int leseFehler, int rc);

// The second daily file of client number 200: "Index1.txt", one line for the first record of
// each meter read: id;Zname;value;unit; (id, value and unit as in the data line).
inline const QString kIndex1Suffix = QStringLiteral("Index1.txt");
inline const QString kIndex1Kopf =
    QStringLiteral("Zeitstempel;Zählernummer;Zählername;Wert;Einheit;");
QString MasterIndex1Zeile(const QString& mbId, const QString& zname, double wert,
                          const QString& einheit);

// Appends the data line to today's mb.log with the master's header for a new file.
void MasterLogZeileSchreiben(const QString& mbId, const QString& zname, int port,
                             const QString& adresse, int k, double wert, const QString& einheit);
