#pragma once
// Tests that run alike on every database of DatenbankZiel.h: a typed suite over SqliteZiel and
// ServerZiel. The program runs in the time zone Europe/Berlin meanwhile, the test server in
// another one, so that a date and time shifted on the way would show.

#include "DatenbankUmgebung.h"
#include "DatenbankZiel.h"

#include "database/MBConnection.h"
#include "database/Recordset.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"

#include <QByteArray>
#include <QList>
#include <QVariantList>

#include <ctime>
#include <string>

template <class Ziel> class ZielUmgebung : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        m_zoneGesetzt = qEnvironmentVariableIsSet("TZ");
        m_zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        if (const QString grund = m_ziel.nichtVerfuegbar(); !grund.isEmpty())
            GTEST_SKIP() << qPrintable(grund);
        ASSERT_TRUE(m_ziel.einrichten()) << qPrintable(FehlerText);
    }

    void TearDown() override
    {
        MB_ConnectionSchliessen();
        m_ziel.abbauen();
        if (m_zoneGesetzt)
            qputenv("TZ", m_zone);
        else
            qunsetenv("TZ");
        tzset();
        DatenbankUmgebung::TearDown();
    }

    // MB_Connection opened with the credentials of this database.
    void verbinden()
    {
        DBParameter = m_ziel.parameter();
        ASSERT_TRUE(MB_DatenbankVerbinden()) << qPrintable(FehlerText);
    }

    void pruefAusfuehren(const QString& sql, const QVariantList& werte = {})
    {
        ASSERT_TRUE(m_ziel.pruefung().Execute(sql, werte)) << qPrintable(sql + ": " + FehlerText);
    }

    // Every row of the query on the test's own connection, each field read as Feldwert.
    QList<QList<Feldwert>> pruefZeilen(const QString& sql, const QVariantList& werte = {})
    {
        Recordset rs = m_ziel.pruefung().OpenRecordset(sql, werte);
        EXPECT_TRUE(rs.offen()) << qPrintable(sql + ": " + FehlerText);
        QList<QList<Feldwert>> zeilen;
        for (; rs.offen() && !rs.Eof(); rs.MoveNext()) {
            QList<Feldwert> zeile;
            for (int i = 0; i < rs.Feldnamen().size(); ++i)
                zeile << rs.FeldAn(i);
            zeilen << zeile;
        }
        return zeilen;
    }

    qint64 anzahl(const QString& tabelle)
    {
        const QList<QList<Feldwert>> zeilen =
            pruefZeilen(QStringLiteral("SELECT count(*) FROM ") + tabelle);
        return zeilen.isEmpty() ? -1 : zeilen.first().first().ganz();
    }

    // The program log of the test's day (the test clock stands on 05.12.2026).
    QString programmlog() const { return Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))); }

    Ziel m_ziel;

private:
    bool m_zoneGesetzt = false;
    QByteArray m_zone;
};

using DatenbankZiele = ::testing::Types<SqliteZiel, ServerZiel>;

struct ZielName
{
    template <class Ziel> static std::string GetName(int) { return Ziel::name; }
};
