#pragma once
// Readings in the daily M-Bus logs "yymmddmb.log", line by line.
//
// Lines end at CR LF, LF or a bare CR; a line glued to one that lost its end is read on its own
// (LogZeilenLeser). Two layouts are read, fields separated by ";" (an empty field after a last
// ";" not counted):
//   time;address;index;value[;...]                       fewer than 8 fields
//   time;id;name;port;address;k;value;unit               the master's data line (MasterLogZeile.h),
//                                                        taken from the right, so a ";" inside
//                                                        the meter name does not shift the fields
// A line is a reading only when the time is a date, address and index begin with a digit
// (blanks before it allowed), the index is a whole number and the value is a number ("," or "."
// as decimal sign); the master's header and error lines and every other text are no readings.
// The address is the leading number rounded to a whole number (halves to even).

#include "text/Zeit.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class QIODevice;

struct LogWert
{
    UnixZeit zeit = 0;
    QStringView zeitText; // field 0 as it stands (points into the line)
    int adresse = 0;
    int index = 0;
    double wert = 0;
    int port = -1; // only the master's lines name their port
};

// The seconds since 01.01.1970 00:00 (negative before) of a date text as LogZeitLesen reads it,
// whatever its year; nothing when the text is no date.
std::optional<qint64> LogDatumSekunden(QStringView text);

// A date text "d.m.yy" or "d.m.yyyy", optionally followed by "h:mm" or "h:mm:ss", blanks around
// allowed, as wall-clock seconds (UnixZeit). Two-digit years 00 to 29 are 2000 to 2029, 30 to
// 99 are 1930 to 1999. 0 when the text is no such date or lies outside the UnixZeit range.
UnixZeit LogZeitLesen(QStringView text);

// The reading in a line, or nothing.
std::optional<LogWert> LogZeileLesen(QStringView zeile);

// Where a second line starts inside a line that lost its line end (a master ended during the
// write, a full disk): the position of the second line's time stamp (a date and a time followed
// by ";", inside a field or at its start), or -1. A date and time in the meter name of a master
// data line that reads is part of the name, unless a whole data line of the master follows it.
qsizetype LogZeileFortsetzung(QStringView zeile);

// The lines of a daily log, Windows-1252. A line ends at CR LF, LF or a bare CR. A line into which
// a second line is glued (LogZeileFortsetzung) is cut there: the part before is marked
// abgeschnitten (it is no reading: its end is lost), the rest is a line of its own.
class LogZeilenLeser
{
public:
    struct Zeile
    {
        QString text;
        bool abgeschnitten = false;
    };

    explicit LogZeilenLeser(QIODevice& datei);
    bool amEnde() const;
    // The next line; false at the end of the file.
    bool lesen(Zeile& zeile);

private:
    QIODevice& m_datei;
    QList<Zeile> m_zeilen; // the lines of the last piece read
    qsizetype m_naechste = 0;
};

// The leading number of a text as Val reads it (blanks skipped, sign, digits, one "."): 0 when
// there is none.
double LogVal(QStringView text);
