#pragma once
// The 64-byte header at the start of every interval file: sixteen 32-bit little-endian numbers.
//
//   h0  number of slots N             h9   4 * numbers per slot (12 or 4)
//   h1  index (from 0) of the slot    h10  interval in minutes (0: 15-minute file)
//       written last                  h11  last counter reading (difference mode), else
//   h2  h1 + 513 reflected at N            the creator's extra number
//   h3..h8  day, month, year, hour,   h12  time of the last row written (0: none yet)
//       minute, second              h13..h15  0
//
// Slot k (from 0) holds h9 / 4 numbers from the 4-byte record 17 + k * h9 / 4 on (records are
// numbered from 1, the header takes records 1 to 16).

#include "text/Zeit.h"

#include <QByteArray>
#include <QString>

#include <array>

struct RB_Kopf
{
    static constexpr int kBytes = 64;
    static constexpr int kFelder = 16;
    // Record of the first slot (records of 4 bytes, counted from 1).
    static constexpr qint64 kErsterSlotSatz = 17;

    std::array<qint32, kFelder> h{};

    // The header a new file gets: h0 to h2 as given, h3 to h8 from the start time, h9 =
    // 4 * numbers per slot, h10 the interval, h11 the extra number, h12 to h15 0.
    static RB_Kopf neu(UnixZeit start, qint32 h0, qint32 h1, qint32 h2, qint32 intervall,
                       qint32 zahlenProSlot, qint32 extra);

    // The sixteen numbers little-endian, 64 bytes.
    QByteArray alsBytes() const;
    // Header from the first 64 bytes; fewer bytes give an all-zero header.
    static RB_Kopf ausBytes(const QByteArray& bytes);

    qint32 zahlenProSlot() const { return h[9] / 4; }
    // The size of a file that holds exactly this header and its N slots.
    qint64 sollGroesse() const;
    // Record of the first number of slot k (from 0).
    qint64 slotSatz(qint64 k) const { return kErsterSlotSatz + k * zahlenProSlot(); }

    // h3 to h8 as UnixZeit; 0 when they form no date-time from 1970 to 2038.
    UnixZeit datum() const;
    // h3 to h8 from the time (a time of 0 or below: 01.01.1970 00:00:00).
    void datumSetzen(UnixZeit zeit);

    // "" when the header can be trusted for a file of this size: N above 0, 4 or 12 bytes a
    // slot, the slot written last inside the ring, an interval from 0 to 1440 minutes, a date
    // from 1970 on, and the file exactly as long as header and slots. Otherwise the reason.
    QString pruefen(qint64 dateiGroesse) const;
};

// h2 as every write keeps it: h1 + 513, above N reflected to 2 * N minus it, at least 1.
qint32 RB_KopfSpiegelindex(qint32 h1, qint32 n);
