#pragma once
// A master window on a simulated bus (pacing off) and a real meter database file, the clock
// set by the test; the lock folder inside the working folder.

#include "MasterfensterUmgebung.h"

#include "BusSimulator.h"
#include "database/MBConnection.h"
#include "platform/Global.h"
#include "platform/Sperren.h"
#include "ui/FlexGridWidget.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

class MasterBusUmgebung : public MasterfensterUmgebung
{
protected:
    void TearDown() override
    {
        MasterfensterUmgebung::TearDown();
        MasterZyklus::importWartezeitSetzen(-1);
        Sperren::ordnerSetzen(QString());
        if (m_sim)
            m_sim->stoppen();
        QSqlDatabase::removeDatabase(QStringLiteral("fuellen"));
    }

    // The bus, ZEP.INI for the client with COM3 on the simulator, basis.mdb with one meter per
    // line "lznr;address;id" (main index 2, port 3, 2400 baud, read by its id).
    void vorbereiten(const QString& mandant, const QString& bus, const QStringList& zaehler)
    {
        Sperren::ordnerSetzen(pfad(QStringLiteral("sperren")));
        SimBus simBus;
        QString fehler;
        ASSERT_TRUE(
            BusSimulator::busTextLesen(QStringLiteral("bus takt=nein\n") + bus, simBus, &fehler))
            << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(simBus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(QStringLiteral("ZEP.INI"),
                  QStringLiteral("[ZEP]\r\nDBPATH%1=.\\\r\n[COM]\r\nCOM3=%2\r\n")
                      .arg(mandant, m_sim->geraet())
                      .toUtf8());
        basisAnlegen();
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuellen"));
        db.setDatabaseName(pfad(QStringLiteral("basis.mdb")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO tagrp VALUES (1, 'Wärme', 5)")));
        for (const QString& zeile : zaehler) {
            const QStringList f = zeile.split(u';');
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO zaehler (LZNR, MBAdr, MBBaud, MB_ID, "
                                              "MBComP, STUFE, ZQUELLE, TARIFGRP, MBIndex, zname) "
                                              "VALUES (%1, %2, 2400, '%3', 3, 1, 'M-Bus', 1, 2, "
                                              "'Z%1')")
                                   .arg(f[0], f[1], f[2])));
        }
        db.close();
        KommandozeileSetzen(QStringLiteral("-M") + mandant + QStringLiteral(" -C3 -T0"));
    }

    frmMbusMasterV4& starten(const QString& intervall)
    {
        frmMbusMasterV4& f = oeffnen();
        for (int i = 0; i < 3; ++i)
            f.ui().Check1[static_cast<size_t>(i)]->setChecked(true);
        f.Text1Setzen(intervall);
        f.cmdStart_Click();
        return f;
    }
    // One tick; when it starts a cycle, waits for its end.
    bool tick(frmMbusMasterV4& f)
    {
        QSignalSpy ende(&f.zyklus(), &MasterZyklus::beendet);
        f.Timer1_Timer();
        if (f.zustand().ZyklusLaeuft == 0)
            return false;
        EXPECT_TRUE(ende.wait(60000));
        return true;
    }
    QStringList spalte(frmMbusMasterV4& f, int nummer) const
    {
        QStringList texte;
        for (int zeile = 1; zeile < f.ui().MSFlexGrid1->Rows(); ++zeile)
            texte << f.ui().MSFlexGrid1->TextMatrix(zeile, nummer);
        return texte;
    }
    int logZaehlen(frmMbusMasterV4& f, const QString& text) const
    {
        int anzahl = 0;
        for (int zeile = 1; zeile < f.ui().MSFlexGrid4->Rows(); ++zeile)
            anzahl += f.ui().MSFlexGrid4->TextMatrix(zeile, 1) == text ? 1 : 0;
        return anzahl;
    }
    QStringList zeilen(const QString& sql)
    {
        QSqlDatabase db = QSqlDatabase::database(QStringLiteral("fuellen"));
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << qPrintable(sql);
        QStringList ergebnis;
        while (q.next())
            ergebnis << q.value(0).toString();
        return ergebnis;
    }

    std::unique_ptr<BusSimulator> m_sim;
};
