#pragma once
// The log-file import behind the window "Import Log Datei": rebuilds a client's value files
// from the daily M-Bus logs, imports one log file, and collects per-day readings of one
// address. Line layouts: LogZeile.h; meter lookup: ZaehlerSuche.h.
//
// Import of a day range: every log of the range is read first and the readings are collected
// per value file (meter found by address and main index, the file of the index the line names).
// Only then are the files that received readings rebuilt, one at a time, each replaced in one
// step (WertdateiErsetzen.h): on every day of the range whose log gives the file readings, the
// span from the first to the last of them is rebuilt from that log alone; the rest of the day,
// other days and values outside the range stay, and values dated after the time of the import
// are dropped (counted in the final status). Files that receive nothing, and
// every file when the range holds no usable reading, stay as they are. Reading one file ("Datei
// Lesen") appends its readings to the value files by their append rule.
//
// Locks (platform/Sperren.h): while a run writes value files it holds the lock of the client's
// value folder, and it does not start while a master's cycle of the client runs.
//
// One run at a time: a second request while one runs is refused. The runs serve the message
// queue about every 20 ms; anhalten() ends a run at the next line (an import that is already
// writing files ends after the file being written, so every file is either old or new).

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class FlexGrid;

class LogImport
{
public:
    // What the runs tell the window; an empty function is skipped.
    struct Anzeige
    {
        std::function<void(const QString&)> status;      // state text ("Bereit", "Fertig", ...)
        std::function<void(const QString&)> fortschritt; // progress of the file being read
        std::function<void(bool)> gridSichtbar;          // the grid of Read_MBusLog
        std::function<void(bool)> laeuft;                // a run starts (true) or ends
    };

    // Counts of the last run.
    struct Bilanz
    {
        qint64 zeilen = 0;        // lines read
        qint64 werte = 0;         // readings given to value files
        qint64 mehrdeutig = 0;    // readings skipped: several meters have the address
        qint64 abgeschnitten = 0; // lines skipped: they lost their end, another line follows
        int tageOhneLog = 0;      // days of the range without a readable log
        int dateien = 0;          // value files replaced (import)
        int dateienFehler = 0;    // value files that could not be replaced (left as they were)
        qint64 schreibFehler = 0; // readings a value file could not take (file not writable)
        qint64 zukunft = 0;       // values and readings dated after the import, dropped
        bool abgebrochen = false;
    };

    explicit LogImport(Anzeige anzeige = {});

    // DBPath & "MBusLog\" & yymmdd & "mb.log".
    static QString logDatei(const QDate& tag);
    // The date of a text such as "15.9.2005" or "17.9.2005 20:00"; nothing when it is none or
    // lies outside 01.01.1970 to 19.01.2038.
    static std::optional<QDate> tagLesen(const QString& text);

    // Puts the readings of the address in the log into row tgNr: column 0 the time text, column
    // index + 1 the value (indexes 0 to 8; columns beyond the grid are left out); only the first
    // run of consecutive readings of the address is taken. A log of length 0 is deleted.
    void Read_MBusLogTgIndex(FlexGrid& grid, const QString& datei, const QString& primAdr,
                             int tgNr);
    // Imports one log into the value files. withHeader, fieldSep and startZeile are not used.
    // Unless ifAppand the grid is emptied to 0 rows and columns and the line count starts at 0,
    // else at the grid's row count.
    void Read_MBusLog(FlexGrid& grid, const QString& datei, bool withHeader,
                      const QString& fieldSep, int startZeile, bool ifAppand = false);

    // Import of the day range. Both texts must hold days from 01.01.1970 to 19.01.2038 and the
    // last day must not lie before the first, else a message says why and nothing is read or
    // written (false).
    bool importieren(const QString& vonText, const QString& bisText, FlexGrid& grid);
    // Day readings of an address: the grid gets 10 columns and one row per day after row 0. The
    // range as for importieren (a message and nothing read when it is none).
    bool tageswerte(const QString& vonText, const QString& bisText, const QString& adresse,
                    FlexGrid& grid);

    bool laeuft() const { return m_laeuft; }
    void anhalten() { m_anhalten = true; }
    const Bilanz& bilanz() const { return m_bilanz; }

private:
    class Lauf;
    struct Sammlung;

    // The first and last day of a range, or a message (status text and message box, led by
    // ergebnisText) and nothing.
    std::optional<std::pair<QDate, QDate>>
    bereichLesen(const QString& vonText, const QString& bisText, const QString& ergebnisText);
    bool beginnen();
    void beenden();
    bool sperrenHolen(class Sperre& sperre);
    enum class Gelesen { Ja, DateiFehlt, DatenbankFehlt, Angehalten };
    // Reads one log; each reading that finds its meter goes to ablegen (FehlerText says why
    // when it did not read to the end).
    Gelesen
    logLesen(const QString& datei, qint64 zeilenAnfang,
             const std::function<void(qint32 lznr, int index, qint32 zeit, double wert)>& ablegen);
    bool tgIndexLesen(FlexGrid& grid, const QString& datei, int primAdr, int tgNr);
    // Shows the progress and serves the message queue when it is due (sofort: shows it now,
    // without serving the queue). False once the run is to stop.
    bool takt(qint64 zeilen, qint64 bytes, qint64 laenge, bool sofort);
    bool faellig() const;
    bool bedienen();
    void status(const QString& text);
    QString schlussText() const;

    Anzeige m_anzeige;
    Bilanz m_bilanz;
    QString m_schreibGrund; // why the first reading of a run could not be written
    bool m_laeuft = false;
    bool m_anhalten = false;
    qint64 m_letzterTakt = 0;
};

// Start-up of the window: when Mandant is empty, DBPath := the program's folder, the command
// line and ZEP.INI are read (client "1320" when none is given), DatenPath := DBPath, and the
// result is DBPath & "basis.mdb" for the window to show; otherwise nothing. Always:
// RB6_StandardGroesse := [<client>MBus] RB6_StandardGroesse of ZEP.INI (0 or missing: 6000).
std::optional<QString> ImportLogStarten();
