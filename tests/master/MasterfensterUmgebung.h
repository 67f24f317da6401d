#pragma once
// A master window on a fresh working folder that is also the program's folder (obrak.conf) and
// DBPath (ZEP.INI names ".\" for the client's database path). The end of the program is
// recorded instead of ending the test run; the service check goes to a recording fake.

#include "database/MBConnection.h"
#include "database/Schema.h"
#include "master/dienste/MasterTreiber.h"
#include "master/frmMbusMasterV4.h"
#include "platform/Cp1252.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "support/TestUmgebung.h"
#include "zugang/CryptString.h"
#include "zugang/UserConfig.h"

#include <memory>

class AufzeichnendeDienste : public DienstSteuerung
{
public:
    bool zustand(const QString& unit, DienstZustand& z, QString&) override
    {
        units << unit;
        z = {QStringLiteral("loaded"), aktiv, QStringLiteral("running")};
        return true;
    }
    bool starten(const QString&, QString&) override { return true; }
    bool fortsetzen(const QString&, QString&) override { return true; }
    QString aktiv = QStringLiteral("active");
    QStringList units;
};

class MasterfensterUmgebung : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        ProgrammordnerSetzen(m_ordner.path());
        KommandozeileSetzen(QStringLiteral("-M200 -C3"));
        MB_OleProvider = 1;
        CPortListe.clear();
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(10, 7, 30)));
    }

    void TearDown() override
    {
        m_fenster.reset();
        MB_ConnectionSchliessen();
        MasterTreiberFreigeben();
        ProgrammordnerSetzen(QString());
        KommandozeileZuruecksetzen();
        TestUmgebung::TearDown();
    }

    // ZEP.INI with the client's database path in the working folder, and more lines when given.
    void zepIni(const QByteArray& mehr = QByteArray())
    {
        schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nDBPATH200=.\\\r\nDBPATH1450=.\\\r\n" + mehr);
    }
    void basisAnlegen() { ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb")))); }
    // obrak.conf with the values given, one scrambled line each.
    void zugangSchreiben(const QStringList& werte)
    {
        QByteArray datei;
        for (const QString& wert : werte)
            datei += CryptString(wert.toLatin1(), kUserConfigSchluessel) + "\r\n";
        schreiben(QStringLiteral("obrak.conf"), datei);
    }

    frmMbusMasterV4& oeffnen()
    {
        auto dienste = std::make_unique<AufzeichnendeDienste>();
        m_dienste = dienste.get();
        m_fenster = std::make_unique<frmMbusMasterV4>(std::move(dienste));
        m_fenster->programmende().endeAktionSetzen([this] { ++m_programmEnden; });
        return *m_fenster;
    }

    QString ini(const QString& abschnitt, const QString& schluessel) const
    {
        return ProfilLesen(abschnitt, schluessel, QStringLiteral("<fehlt>"), kZepIni);
    }
    QString mbLog() const { return Cp1252ZuText(lesen(QStringLiteral("MBusLog/261205mb.log"))); }
    QString programmLog() const { return Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))); }

    std::unique_ptr<frmMbusMasterV4> m_fenster;
    AufzeichnendeDienste* m_dienste = nullptr;
    int m_programmEnden = 0;
};
