#pragma once
// The master's record of one meter: its addressing data from the meter table, its read counters
// and the values of up to 255 data records of its last answer, each with the value before it,
// both read times and a rate per hour.

#include "text/Zeit.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// One data record of a meter as the master keeps it.
struct MBWert
{
    // Fixed texts of kTextLaenge characters: longer texts are cut, shorter ones padded with blanks.
    static constexpr int kTextLaenge = 15;

    QString Art = QString(kTextLaenge, QLatin1Char(' '));
    double Wert = 0.0;
    QString Einheit = QString(kTextLaenge, QLatin1Char(' '));
    // 255 = store this value (database and value files), 0 = do not.
    quint8 Speichern = 0;
    double WertAlt = 0.0;
    // Read time of Wert; TmAlt = read time of WertAlt, 0 = no earlier read.
    UnixZeit Tm = 0;
    UnixZeit TmAlt = 0;
    // Change per hour between the last two reads.
    double MomWert = 0.0;
    // Type value of the meter's index-list row.
    quint8 MBTyp = 0;
};

struct MBZaehler
{
    // Data records per answer; element 0 of Werte is never filled.
    static constexpr int kMaxWerte = 255;

    // Identification number; the secondary address used when MB_SelectSec is empty.
    QString MB_ID;
    // Primary address; 0 = reached by secondary address.
    quint8 MBAdr = 0;
    qint32 MBBaud = 0;
    // Number of data records of the last answer.
    quint8 AnzWerte = 0;
    // Element k holds data record k of the answer (k = 1 to AnzWerte).
    std::array<MBWert, kMaxWerte + 1> Werte{};
    qint32 LeseFehler = 0;
    qint32 Gelesen = 0;
    // Meter number (key of the meter table).
    qint32 LZNR = 0;
    // Data record whose value goes to the raw interval file and the meter-reading table.
    qint32 MBIndex = 0;
    // Rows of the meter in the index list (0 = none).
    qint16 IndexAnz = 0;
    quint8 BasisTarif = 0;
    // Select frame as hex text with a one-character separator; empty = select by MB_ID.
    QString MB_SelectSec;
    quint8 MBComP = 0;
    QString Zname;
};

// One decoded data record of an answer, as the driver gives it.
struct MBAntwortWert
{
    QString art;     // value-information text
    QString wert;    // value as decimal text
    QString einheit; // unit text
};

// The text cut or padded with blanks on the right to MBWert::kTextLaenge characters.
QString MBWertText(const QString& text);

// Updates the record from the data records of an answer read at zeit:
// AnzWerte := the count; for every record k (1 ..): Art, TmAlt := Tm, Tm := zeit, WertAlt := Wert,
// Wert (MB_TextZuDouble of the text), Einheit; MomWert := (Wert - WertAlt) / (Tm - TmAlt) * 3600
// when there was an earlier read (TmAlt not 0) in another second, otherwise it keeps its value.
// Records above the count keep their contents. More than 255 records: false, nothing changed.
bool MBZaehlerAktualisieren(MBZaehler& zaehler, const QList<MBAntwortWert>& werte, UnixZeit zeit);
