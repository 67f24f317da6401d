#include "DatenbankUmgebung.h"

#include "database/BasisMdb.h"
#include "database/Schema.h"

#include "platform/Global.h"

#include <QDir>

void DatenbankUmgebung::SetUp()
{
    TestUmgebung::SetUp();
    DBPath = QDir::currentPath() + u'/';
}

void DatenbankUmgebung::TearDown()
{
    DatenbankSchliessen();
    TestUmgebung::TearDown();
}

void DatenbankUmgebung::basisAnlegen()
{
    ASSERT_TRUE(DatenbankAnlegen(basisPfad())) << qPrintable(FehlerText);
}

std::unique_ptr<Verbindung> DatenbankUmgebung::oeffnen()
{
    std::unique_ptr<Verbindung> verbindung = Verbindung::OpenDatabase(basisPfad());
    EXPECT_TRUE(verbindung) << qPrintable(FehlerText);
    return verbindung;
}

void DatenbankUmgebung::ausfuehren(const QString& sql, const QVariantList& werte)
{
    std::unique_ptr<Verbindung> verbindung = oeffnen();
    ASSERT_TRUE(verbindung);
    ASSERT_TRUE(verbindung->Execute(sql, werte)) << qPrintable(sql + ": " + FehlerText);
}

QVariant DatenbankUmgebung::abfragen(const QString& sql, const QVariantList& werte)
{
    std::unique_ptr<Verbindung> verbindung = oeffnen();
    if (!verbindung)
        return {};
    Recordset rs = verbindung->OpenRecordset(sql, werte);
    EXPECT_TRUE(rs.offen()) << qPrintable(sql + ": " + FehlerText);
    if (!rs.offen() || rs.Eof())
        return {};
    return rs.FeldAn(0).wert();
}

void DatenbankUmgebung::zaehlerEinfuegen(const Zaehler& zaehler)
{
    ausfuehren(
        QStringLiteral("INSERT INTO zaehler (LZNR, ZQUELLE, MBComP, MBAdr) VALUES (?, ?, ?, ?)"),
        {zaehler.lznr, zaehler.quelle, zaehler.port, zaehler.adresse});
}
