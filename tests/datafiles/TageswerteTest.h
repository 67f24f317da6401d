#pragma once
// Day values and meter master records: value files of client 200 under DBPath "db\", a
// basis.mdb there when a test makes one, the loader's connection closed around each test.

#include "WertdateiTest.h"

#include "database/Schema.h"
#include "datafiles/Zaehlerstamm.h"
#include "settings/Einstellungen.h"

#include <QVariantMap>

#include <functional>

class TageswerteTest : public WertdateiTest
{
protected:
    void SetUp() override
    {
        WertdateiTest::SetUp();
        DatenPath = QStringLiteral("daten\\");
        RB6_StandardGroesse = 3;
        MB_ZaehlerDatenbankSchliessen();
    }
    void TearDown() override
    {
        MB_ZaehlerDatenbankSchliessen();
        KommandozeileZuruecksetzen();
        WertdateiTest::TearDown();
    }

    void basisAnlegen() { ASSERT_TRUE(DatenbankAnlegen(pfad("db/basis.mdb"))); }

    void ausfuehren(const QString& sql, const QVariantList& werte = {})
    {
        const auto db = Verbindung::OpenDatabase(pfad("db/basis.mdb"));
        ASSERT_TRUE(db && db->Execute(sql, werte)) << qPrintable(sql + ": " + FehlerText);
    }

    void zeileEinfuegen(const QString& tabelle, const QVariantMap& spalten)
    {
        const QString platzhalter = QStringList(spalten.size(), QStringLiteral("?")).join(u',');
        ausfuehren(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(tabelle, spalten.keys().join(u','), platzhalter),
                   spalten.values());
    }

    // Readings of meter 1234 every 900 seconds from von to bis.
    void werteSchreiben(qint64 von, qint64 bis, const std::function<double(qint64)>& wert,
                        qint32 index = 1)
    {
        QString name;
        for (qint64 tm = von; tm <= bis; tm += 900)
            ASSERT_EQ(RB6_WertSchreiben(DBPath, 1234, UnixZeit(tm), wert(tm), index, name), 0);
    }
};
