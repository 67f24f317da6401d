#pragma once
// Data-file tests: client 200, DBPath "db\", DatenPath "daten\", and the bytes of both layouts
// built here from the layouts themselves, never from the code under test.
//   Interval files: a 64-byte header of sixteen 32-bit little-endian numbers, then the slots.
//   Value files: 12-byte records, a little-endian 32-bit time then an IEEE-754 double.

#include "database/Schema.h"
#include "datafiles/Intervalldatei.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "datafiles/Zaehlerstamm.h"
#include "platform/Global.h"
#include "settings/Einstellungen.h"
#include "support/TestUmgebung.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariantMap>

#include <cstring>
#include <functional>
#include <initializer_list>

// Seconds since 01.01.1970 of a wall-clock date-time.
inline qint32 Sekunden(int jahr, int monat, int tag, int stunde = 0, int minute = 0, int s = 0)
{
    return qint32(
        QDateTime(QDate(jahr, monat, tag), QTime(stunde, minute, s), Qt::UTC).toSecsSinceEpoch());
}

// Four bytes of a number, lowest first.
inline QByteArray Le32(qint32 zahl)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((quint32(zahl) >> (8 * i)) & 0xff);
    return bytes;
}

// Puts numbers into interval-file bytes from the 4-byte record on (records counted from 1).
inline void SaetzeSetzen(QByteArray& datei, qint64 satz, std::initializer_list<qint32> zahlen)
{
    for (const qint32 zahl : zahlen)
        datei.replace((satz++ - 1) * 4, 4, Le32(zahl));
}

// A new interval file: the header numbers h0 to h15 from the layout, all slots zero.
inline QByteArray NeueIntervallBytes(qint32 anzahl, qint32 zahlenProSlot, qint32 intervall,
                                     qint32 start, qint32 extra)
{
    QByteArray datei(64 + 4 * qsizetype(zahlenProSlot) * anzahl, '\0');
    const QDateTime d = QDateTime::fromSecsSinceEpoch(start, Qt::UTC);
    SaetzeSetzen(datei, 1,
                 {anzahl, 0, 0, d.date().day(), d.date().month(), d.date().year(), d.time().hour(),
                  d.time().minute(), d.time().second(), 4 * zahlenProSlot, intervall, extra});
    return datei;
}

// Record of slot k (from 0) in a 15-minute file.
inline qint64 Slot15p(qint64 k)
{
    return 17 + 3 * k;
}

// The 12 bytes of a value-file record, byte by byte.
inline QByteArray SatzBytes(qint32 tm, double wert)
{
    quint64 bits = 0;
    std::memcpy(&bits, &wert, sizeof bits);
    QByteArray bytes = Le32(tm);
    for (int i = 0; i < 8; ++i)
        bytes += char((bits >> (8 * i)) & 0xff);
    return bytes;
}

// Puts a record into value-file bytes (record n from 1).
inline void SatzSetzen(QByteArray& datei, qint64 satz, qint32 tm, double wert)
{
    datei.replace((satz - 1) * 12, 12, SatzBytes(tm, wert));
}

// A new value file of the given blocks: records 1 to 6 of the header, all else zero.
inline QByteArray NeueDateiBytes(int bloecke, double p1 = 1, double p2 = 1, double p3 = 0,
                                 double p4 = 0)
{
    QByteArray datei(qsizetype(bloecke) * 1212, '\0');
    SatzSetzen(datei, 1, 1, 1.0);
    SatzSetzen(datei, 2, 0, 9.0);
    SatzSetzen(datei, 3, 0, p1);
    SatzSetzen(datei, 4, 0, p2);
    SatzSetzen(datei, 5, 100 * bloecke, p3);
    SatzSetzen(datei, 6, 0, p4);
    return datei;
}

// Equal bytes; on failure names the sizes and the first differing byte (files are large).
inline ::testing::AssertionResult GleicheBytes(const QByteArray& ist, const QByteArray& soll)
{
    qsizetype i = 0;
    while (i < ist.size() && i < soll.size() && ist[i] == soll[i])
        ++i;
    if (ist.size() == soll.size() && i == ist.size())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "sizes " << ist.size() << ", " << soll.size() << ", first difference at byte " << i;
}

class DatendateiTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        Mandant = QStringLiteral("200");
        DBPath = QStringLiteral("db\\");
        DatenPath = QStringLiteral("daten\\");
        QDir().mkdir(pfad("db"));
        zuruecksetzen();
    }
    void TearDown() override
    {
        zuruecksetzen();
        KommandozeileZuruecksetzen();
        TestUmgebung::TearDown();
    }
    static void zuruecksetzen()
    {
        RB6_StandardGroesse = 6000;
        Wertdatei::schreibfehlerNach(-1);
        Wertdatei::zugriffeZuruecksetzen();
        MB_ZaehlerDatenbankSchliessen();
    }

    // A new 15-minute file of meter 1234 in the database folder, made from the layout.
    void neue15p(qint32 tage, qint32 extra = 0)
    {
        schreiben(QStringLiteral("db/00001234.15p"),
                  NeueIntervallBytes(tage * 96, 3, 0, m_start, extra));
    }

    // The value file of meter 1234, index 1 under DBPath, relative to the working folder.
    static QString Datei() { return QStringLiteral("db/Z200/001234001.zep"); }

    int anhaengen(UnixZeit tm, double wert)
    {
        QString name;
        return RB6_WertSchreiben(DBPath, 1234, tm, wert, 1, name);
    }

    bool vorhanden(const QString& name) const { return QFileInfo::exists(pfad(name)); }

    // Readings of meter 1234 every 900 seconds from von to bis (a new file of 3 blocks).
    void werteSchreiben(qint64 von, qint64 bis, const std::function<double(qint64)>& wert,
                        qint32 index = 1)
    {
        RB6_StandardGroesse = 3;
        QString name;
        for (qint64 tm = von; tm <= bis; tm += 900)
            ASSERT_EQ(RB6_WertSchreiben(DBPath, 1234, UnixZeit(tm), wert(tm), index, name), 0);
    }

    void basisAnlegen() { ASSERT_TRUE(DatenbankAnlegen(pfad("db/basis.mdb"))); }

    void ausfuehren(const QString& sql, const QVariantList& werte = {})
    {
        const auto db = Verbindung::OpenDatabase(pfad("db/basis.mdb"));
        ASSERT_TRUE(db && db->Execute(sql, werte)) << qPrintable(sql + ": " + FehlerText);
    }

    void zeileEinfuegen(const QString& tabelle, const QVariantMap& spalten)
    {
        ausfuehren(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(tabelle, spalten.keys().join(u','),
                            QStringList(spalten.size(), QStringLiteral("?")).join(u',')),
                   spalten.values());
    }

    const qint32 m_start = Sekunden(2026, 12, 5);
};
