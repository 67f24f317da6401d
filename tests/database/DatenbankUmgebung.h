#pragma once
// Tests of the database layer: a fresh working folder (TestUmgebung) that is also DBPath, and
// helpers to create basis.mdb there and fill it.

#include "support/TestUmgebung.h"

#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "database/Verbindung.h"

#include "platform/Global.h"

#include <QDir>
#include <QVariant>

#include <memory>

class DatenbankUmgebung : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        DBPath = QDir::currentPath() + u'/';
    }
    void TearDown() override
    {
        m_db.reset();
        DatenbankSchliessen();
        TestUmgebung::TearDown();
    }

    QString basisPfad() const { return pfad(QStringLiteral("basis.mdb")); }
    void basisAnlegen() { ASSERT_TRUE(DatenbankAnlegen(basisPfad())) << qPrintable(FehlerText); }
    // A new basis.mdb, open as m_db.
    void basisOeffnen()
    {
        basisAnlegen();
        m_db = oeffnen();
        ASSERT_TRUE(m_db);
    }
    // The credentials of basis.mdb as kind 1.
    QStringList basisParameter() const
    {
        return {QStringLiteral("1"), basisPfad(), {}, {}, {}, {}, {}};
    }

    std::unique_ptr<Verbindung> oeffnen()
    {
        std::unique_ptr<Verbindung> verbindung = Verbindung::OpenDatabase(basisPfad());
        EXPECT_TRUE(verbindung) << qPrintable(FehlerText);
        return verbindung;
    }
    // Runs a statement on basis.mdb with bound values (the test fails when it fails).
    void ausfuehren(const QString& sql, const QVariantList& werte = {})
    {
        std::unique_ptr<Verbindung> verbindung = oeffnen();
        ASSERT_TRUE(verbindung && verbindung->Execute(sql, werte))
            << qPrintable(sql + ": " + FehlerText);
    }
    // The first column of the first row of a query on basis.mdb (invalid when there is none).
    QVariant abfragen(const QString& sql, const QVariantList& werte = {})
    {
        std::unique_ptr<Verbindung> verbindung = oeffnen();
        Recordset rs = verbindung ? verbindung->OpenRecordset(sql, werte) : Recordset();
        EXPECT_TRUE(rs.offen()) << qPrintable(sql + ": " + FehlerText);
        return rs.offen() && !rs.Eof() ? rs.FeldAn(0).wert() : QVariant();
    }
    void zaehlerEinfuegen(int lznr, const QVariant& quelle, const QVariant& port,
                          const QVariant& adresse)
    {
        ausfuehren(QStringLiteral(
                       "INSERT INTO zaehler (LZNR, ZQUELLE, MBComP, MBAdr) VALUES (?, ?, ?, ?)"),
                   {lznr, quelle, port, adresse});
    }

    std::unique_ptr<Verbindung> m_db;
};
