#pragma once
// The cycle-time settings of the master overview, in ".\ZEP.INI" section Mandant & "MBus":
//
//   key        meaning                                   default
//   MBTime     seconds per meter                         0,24
//   Time300    fixed seconds of a port's 300-Bd group    2
//   Time1200   the same, 1200 Bd                         1
//   Time2400   the same, 2400 Bd                         0,27
//   Time4800   the same, 4800 Bd                         0,15
//   Time9600   the same, 9600 Bd                         0,075
//
// There is no key for 600 Bd. A value that reads as 0 (also "", a missing key or a text that
// is no number) takes its default text, which is written back; numbers are written with the
// decimal comma. Every other value stays as it stands ("0,5" and "0.5" alike).

#include <QString>

#include <array>
#include <optional>

struct Zykluszeiten
{
    // The baud rates of the overview's columns 2 to 6, in column order.
    static constexpr std::array<int, 5> kBaudraten = {300, 1200, 2400, 4800, 9600};

    // The setting texts as read (or as replaced by their defaults).
    QString MBTime;
    std::array<QString, 5> Time; // Time300 .. Time9600

    double sekundenJeZaehler() const;
    // The fixed seconds of a baud group; nullopt for a rate without a key (600, 19200, ...).
    std::optional<double> gruppenSekunden(int baud) const;
    // The column of the overview grid for the rate (2 .. 6); -1 for any other rate.
    static int spalte(int baud);
};

// Reads the cycle-time settings of the client's section (Mandant & "MBus") and writes every
// default it had to take back into the file.
Zykluszeiten ZykluszeitenLaden(const QString& datei = QStringLiteral(".\\ZEP.INI"));
