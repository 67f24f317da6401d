#pragma once
// Interval-file tests: a database folder, a data folder, and the file bytes built here from the
// layout (64-byte header of sixteen 32-bit little-endian numbers, then the slots).

#include "datafiles/Intervalldatei.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>

#include <initializer_list>

// Seconds since 01.01.1970 of a wall-clock date-time.
inline qint32 Sekunden(int jahr, int monat, int tag, int stunde = 0, int minute = 0,
                       int sekunde = 0)
{
    return qint32(QDateTime(QDate(jahr, monat, tag), QTime(stunde, minute, sekunde), Qt::UTC)
                      .toSecsSinceEpoch());
}

// Four bytes of a number, lowest first.
inline QByteArray Le32(qint32 zahl)
{
    const auto z = quint32(zahl);
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((z >> (8 * i)) & 0xff);
    return bytes;
}

// Puts numbers into file bytes from the 4-byte record on (records counted from 1).
inline void SaetzeSetzen(QByteArray& datei, qint64 satz, std::initializer_list<qint32> zahlen)
{
    for (const qint32 zahl : zahlen) {
        datei.replace((satz - 1) * 4, 4, Le32(zahl));
        ++satz;
    }
}

// The bytes of a new file: the header numbers h0 to h15 from the layout, all slots zero.
inline QByteArray NeueIntervallBytes(qint32 anzahl, qint32 zahlenProSlot, qint32 intervall,
                                     qint32 start, qint32 extra)
{
    QByteArray datei(64 + 4 * qsizetype(zahlenProSlot) * anzahl, '\0');
    const QDateTime d = QDateTime::fromSecsSinceEpoch(start, Qt::UTC);
    SaetzeSetzen(datei, 1,
                 {anzahl, 0, 0, d.date().day(), d.date().month(), d.date().year(), d.time().hour(),
                  d.time().minute(), d.time().second(), 4 * zahlenProSlot, intervall, extra, 0, 0,
                  0, 0});
    return datei;
}

// Record of slot k (from 0) in a 15-minute file.
inline qint64 Slot15p(qint64 k)
{
    return 17 + 3 * k;
}

class IntervalldateiTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        DBPath = QStringLiteral("db\\");
        DatenPath = QStringLiteral("daten\\");
        QDir().mkpath(pfad("db"));
        QDir().mkpath(pfad("daten"));
    }

    // A new 15-minute file of the days in the database folder, made from the layout.
    QString neue15p(qint32 tage, qint32 extra = 0)
    {
        schreiben(QStringLiteral("db/00001234.15p"),
                  NeueIntervallBytes(tage * 96, 3, 0, m_start, extra));
        return QStringLiteral("db\\00001234.15p");
    }

    const qint32 m_start = Sekunden(2026, 12, 5);
};
