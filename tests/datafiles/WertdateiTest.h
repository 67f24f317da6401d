#pragma once
// Value-file tests: a client, a data folder and the bytes of the file layout, built here from
// the layout itself (12-byte records, little-endian time then IEEE-754 double).

#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <cstring>

// The 12 bytes of a record, byte by byte.
inline QByteArray SatzBytes(qint32 tm, double wert)
{
    QByteArray bytes(12, '\0');
    const auto zeit = quint32(tm);
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((zeit >> (8 * i)) & 0xff);
    quint64 bits = 0;
    std::memcpy(&bits, &wert, sizeof bits);
    for (int i = 0; i < 8; ++i)
        bytes[4 + i] = char((bits >> (8 * i)) & 0xff);
    return bytes;
}

// Puts a record into file bytes at its place (record n from 1).
inline void SatzSetzen(QByteArray& datei, qint64 satz, qint32 tm, double wert)
{
    datei.replace((satz - 1) * 12, 12, SatzBytes(tm, wert));
}

// The bytes of a new file of the given blocks.
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
    if (ist == soll)
        return ::testing::AssertionSuccess();
    qsizetype i = 0;
    while (i < ist.size() && i < soll.size() && ist[i] == soll[i])
        ++i;
    return ::testing::AssertionFailure()
           << "sizes " << ist.size() << " and " << soll.size() << ", first difference at byte " << i
           << " (record " << i / 12 + 1 << ")";
}

class WertdateiTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        Mandant = QStringLiteral("200");
        DBPath = QStringLiteral("db\\");
        QDir().mkdir(pfad("db"));
        RB6_StandardGroesse = 6000;
        Wertdatei::schreibfehlerNach(-1);
        Wertdatei::zugriffeZuruecksetzen();
    }
    void TearDown() override
    {
        Wertdatei::schreibfehlerNach(-1);
        RB6_StandardGroesse = 6000;
        TestUmgebung::TearDown();
    }

    // The file of meter 1234, index 1 under DBPath, relative to the working folder.
    static QString Datei() { return QStringLiteral("db/Z200/001234001.zep"); }

    // Appends to meter 1234, index 1 under DBPath.
    int anhaengen(UnixZeit tm, double wert)
    {
        QString name;
        return RB6_WertSchreiben(DBPath, 1234, tm, wert, 1, name);
    }

    bool vorhanden(const QString& name) const { return QFileInfo::exists(pfad(name)); }
};
