// pollex processes: one master per port, several ports side by side.

#include "support/TestUmgebung.h"

#include "database/Schema.h"
#include "master/dienste/MasterPortSperre.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>

#include <memory>

class PollexProzessTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("sperren")).toLocal8Bit());
        schreiben(QStringLiteral("ZEP.INI"), "[ZEP]\r\nDBPATH200=.\\\r\n");
        ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("basis.mdb"))));
    }
    void TearDown() override
    {
        for (auto& prozess : m_prozesse) {
            prozess->kill();
            prozess->waitForFinished(5000);
        }
        qunsetenv("TELVARIN_SPERREN");
        TestUmgebung::TearDown();
    }

    QProcess& starten(const QString& zeile)
    {
        auto prozess = std::make_unique<QProcess>();
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        prozess->setProcessEnvironment(umgebung);
        prozess->setWorkingDirectory(m_ordner.path());
        prozess->start(QStringLiteral(POLLEX_BEFEHL), zeile.split(u' '));
        EXPECT_TRUE(prozess->waitForStarted(5000));
        m_prozesse.push_back(std::move(prozess));
        return *m_prozesse.back();
    }
    // Waits (with a deadline) until a live process holds the port's lock.
    static bool warteAufSperre(int port)
    {
        const QDeadlineTimer frist(15000);
        while (!MasterLaeuftFuerPort(port)) {
            if (frist.hasExpired())
                return false;
            QThread::msleep(20);
        }
        return true;
    }
    QString logText(const QString& muster, const QString& ordner = QString()) const
    {
        const QDir dir(pfad(ordner));
        const QStringList dateien = dir.entryList({muster}, QDir::Files);
        return dateien.isEmpty()
                   ? QString()
                   : Cp1252ZuText(lesen(ordner.isEmpty() ? dateien.first()
                                                         : ordner + u'/' + dateien.first()));
    }

    std::vector<std::unique_ptr<QProcess>> m_prozesse;
};

TEST_F(PollexProzessTest, aSecondMasterForAPortEndsAndOtherPortsRunSideBySide)
{
    QProcess& eins = starten(QStringLiteral("-M200 -C1"));
    ASSERT_TRUE(warteAufSperre(1));
    QProcess& zehn = starten(QStringLiteral("-M200 -C10"));
    ASSERT_TRUE(warteAufSperre(10));
    EXPECT_EQ(eins.state(), QProcess::Running);

    QProcess& zweiter = starten(QStringLiteral("Auto -M200 -C1"));
    ASSERT_TRUE(zweiter.waitForFinished(15000));
    EXPECT_EQ(zweiter.exitCode(), 1);
    const QString text = QStringLiteral("Master für Com1 läuft bereits (Prozess %1), dieser "
                                        "Start endet")
                             .arg(eins.processId());
    EXPECT_TRUE(logText(QStringLiteral("*mb.log"), QStringLiteral("MBusLog"))
                    .contains(QStringLiteral(";") + text));
    EXPECT_TRUE(logText(QStringLiteral("*ed.log")).contains(QStringLiteral(" ") + text));
    EXPECT_EQ(eins.state(), QProcess::Running);
    EXPECT_EQ(zehn.state(), QProcess::Running);

    // The lock of a master that died is taken over.
    eins.kill();
    ASSERT_TRUE(eins.waitForFinished(5000));
    MasterPortSperre nachfolger(1);
    EXPECT_TRUE(nachfolger.holen()) << qPrintable(FehlerText);
    EXPECT_TRUE(MasterLaeuftFuerPort(10));
}
