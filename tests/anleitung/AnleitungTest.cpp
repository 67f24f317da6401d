// The README's walk-throughs taken as written: the example lines and commands are read from the
// README itself and run against the example bus on the simulator and a real basis.mdb.

#include "SimulatorFensterUmgebung.h"

#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "database/Verbindung.h"
#include "master/dienste/MasterZaehlerliste.h"
#include "master/uebersicht/PortZaehlung.h"
#include "master/uebersicht/Zykluszeiten.h"
#include "platform/Global.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>

namespace {

QString Anleitung()
{
    QFile datei(QStringLiteral(README_PFAD));
    EXPECT_TRUE(datei.open(QIODevice::ReadOnly));
    return QString::fromUtf8(datei.readAll());
}

// The text of the README from the heading on.
QString Abschnitt(const QString& ueberschrift)
{
    const QString text = Anleitung();
    const qsizetype anfang = text.indexOf(QStringLiteral("## ") + ueberschrift);
    EXPECT_GE(anfang, 0) << qPrintable(ueberschrift);
    const qsizetype ende = text.indexOf(QStringLiteral("\n## "), anfang + 1);
    return text.mid(anfang, ende < 0 ? -1 : ende - anfang);
}

// The statements of the first `sqlite3 work/basis.mdb "..."` command at or after the marker.
QStringList SqlBefehle(const QString& text, const QString& marke)
{
    const QString befehl = QStringLiteral("sqlite3 work/basis.mdb \"");
    const qsizetype anfang = text.indexOf(befehl, text.indexOf(marke));
    EXPECT_GE(anfang, 0) << qPrintable(marke);
    const qsizetype von = anfang + befehl.size();
    const QString sql = text.mid(von, text.indexOf(u'"', von) - von);
    QStringList befehle;
    for (const QString& teil : sql.split(u';'))
        if (!teil.trimmed().isEmpty())
            befehle << teil.simplified();
    return befehle;
}

// The rows of the query, each as its fields joined by blanks.
QStringList Abfrage(Verbindung& db, const QString& sql)
{
    QStringList zeilen;
    for (Recordset rs = db.OpenRecordset(sql); rs.offen() && !rs.Eof(); rs.MoveNext()) {
        QStringList zellen;
        for (int i = 0; i < rs.Feldnamen().size(); ++i)
            zellen << rs.FeldAn(i).text();
        zeilen << zellen.join(u' ');
    }
    return zeilen;
}

// The README's commands that fill the database for the master and the overview.
void MasterZeilenEintragen(Verbindung& db)
{
    const QStringList befehle =
        SqlBefehle(Abschnitt(QStringLiteral("A master for a simulated port")),
                   QStringLiteral("tariff group 1")) +
        SqlBefehle(Abschnitt(QStringLiteral("The master overview")), QStringLiteral("1. "));
    for (const QString& befehl : befehle)
        EXPECT_TRUE(db.Execute(befehl)) << qPrintable(befehl) << qPrintable(FehlerText);
}

using AnleitungTest = SimulatorFensterUmgebung;

// Commissioning on the example bus (scan at 2400 baud, save, load the list with the README's
// import-index line beside it, import into the database), then the overview's rows added on
// top: the line sets the fields of the LUG meters, the rows go in, and the overview shows the
// README's cycle time.
TEST_F(AnleitungTest, commissioningImportAndOverviewRowsWorkAsTheReadmeSays)
{
    QFile beispiel(QStringLiteral(MBUS_SIM_BEISPIEL));
    ASSERT_TRUE(beispiel.open(QIODevice::ReadOnly));
    frmMBustest& fenster = simulatorStarten(QString::fromUtf8(beispiel.readAll()));
    schreiben(QStringLiteral("ZEP.INI"),
              QStringLiteral("[COM]\r\nCOM1=%1\r\n").arg(m_sim->geraet()).toUtf8());
    DBPath = QDir::currentPath() + u'/';
    ASSERT_TRUE(DatenbankAnlegen(BasisMdbPfad())) << qPrintable(FehlerText);
    suchPortSetzen();
    fenster.Text4Setzen(QStringLiteral("1"));
    constexpr size_t k2400 = 2;
    fenster.ui().Check1[k2400]->setChecked(true);
    fenster.ui().Text5[k2400]->setText(QStringLiteral("0"));
    fenster.ui().Text6[k2400]->setText(QStringLiteral("5"));
    fenster.ui().cmdSecPrimSuchen->click();

    // The first walk-through's read of one meter: its header names the meter.
    const QRegularExpressionMatch kopf =
        QRegularExpression(QStringLiteral("header fields show the meter \\(([^)]*)\\)"))
            .match(Anleitung());
    ASSERT_TRUE(kopf.hasMatch());
    fenster.Text1Setzen(0, QStringLiteral("2"));
    fenster.Text1Setzen(1, QStringLiteral("1"));
    fenster.Text1Setzen(2, QStringLiteral("2400"));
    fenster.ui().cmdstartAuslesen->click();
    EXPECT_EQ(fenster.ui().Text2[0]->text() + QStringLiteral(", ") + fenster.ui().Text2[1]->text() +
                  QStringLiteral(", ") + fenster.ui().Text2[5]->text(),
              kopf.captured(1));

    const QString inbetriebnahme = Abschnitt(QStringLiteral("Commissioning on the example bus"));
    const QRegularExpressionMatch zeile =
        QRegularExpression(QStringLiteral("such as `(LUG;[^`]*)`")).match(inbetriebnahme);
    ASSERT_TRUE(zeile.hasMatch());
    schreiben(
        QStringLiteral("MBusImportIndex.txt"),
        ("Herst;Medium;MBIndex;TarifGruppe;TarifGrp;Tarif;Feld\r\n" + zeile.captured(1) + "\r\n")
            .toUtf8());
    fenster.ui().cmdSpeichern->click();
    fenster.ui().cmdImporttxt->click();
    QListWidget* dateien = fenster.ui().File1;
    const QList<QListWidgetItem*> liste =
        dateien->findItems(QStringLiteral("*MBTestCom1.txt"), Qt::MatchWildcard);
    ASSERT_EQ(liste.size(), 1);
    dateien->setCurrentItem(liste[0]);
    fenster.File1_Click();
    fenster.ui().cmdImport->click();

    std::unique_ptr<Verbindung> db = Verbindung::OpenDatabase(BasisMdbPfad());
    ASSERT_TRUE(db);
    EXPECT_EQ(Abfrage(*db, QStringLiteral("SELECT ZNr, MBIndex, TarifGruppe, TarifGrp, Tarif, Feld "
                                          "FROM zaehler WHERE Hersteller = 'LUG' ORDER BY ZNr")),
              QStringList({"12345678 2 Wärme 4 5;7; E", "12345679 2 Wärme 4 5;7; E"}));
    MasterZeilenEintragen(*db);
    EXPECT_EQ(Abfrage(*db, ZaehlerlisteAbfrage(1)).size(), 9); // the rows the master reads

    Mandant = QStringLiteral("200");
    const std::optional<QList<PortZeile>> ports = PortsZaehlen(*db, ZykluszeitenLaden());
    ASSERT_TRUE(ports && ports->size() == 1);
    ASSERT_TRUE(ports->at(0).zykluszeit);
    const QString zykluszeit =
        QString::number(*ports->at(0).zykluszeit, 'f', 3).replace(u'.', u',');
    EXPECT_TRUE(Abschnitt(QStringLiteral("The master overview"))
                    .contains(QStringLiteral(" = ") + zykluszeit + QStringLiteral(").")))
        << qPrintable(zykluszeit);
}

// The ZEP.INI block of the master walk-through, with the simulator's terminal as COM1.
QString MasterEinstellungen(const QString& geraet)
{
    const QString text = Abschnitt(QStringLiteral("A master for a simulated port"));
    const qsizetype anfang = text.indexOf(QStringLiteral("       [ZEP]"));
    EXPECT_GE(anfang, 0);
    QStringList zeilen;
    for (const QString& zeile : text.mid(anfang).split(u'\n')) {
        if (!zeile.startsWith(QStringLiteral("       ")))
            break;
        zeilen << (zeile.trimmed().startsWith(QStringLiteral("COM1="))
                       ? QStringLiteral("COM1=") + geraet
                       : zeile.trimmed());
    }
    return zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// The ZEP.INI of the master walk-through names every key the start reads.
TEST_F(AnleitungTest, settingsOfTheMasterWalkThroughNameTheDataFolder)
{
    schreiben(QStringLiteral("ZEP.INI"), MasterEinstellungen(QStringLiteral("/dev/null")).toUtf8());
    Mandant.clear();
    ZEPIniLesen(QStringLiteral(".\\zep.ini"));
    EXPECT_EQ(Mandant, QStringLiteral("200"));
    const QString log = programmlog();
    EXPECT_TRUE(log.contains(QStringLiteral("ZEPDatenPATH = .\\"))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QStringLiteral("Keinen Eintrag gefunden"))) << qPrintable(log);
}

// The master's quick try on the rows the overview walk-through adds: with the tick boxes the
// README names, one pass stores every meter's values, and for client 200 no main index.
TEST(AnleitungMasterTest, quickTryOfTheMasterStoresTheValuesOfEveryMeter)
{
    QTemporaryDir ordner;
    ASSERT_TRUE(ordner.isValid());
    const QDir dir(ordner.path());
    QProcess simulator;
    simulator.start(QStringLiteral(MBUS_SIM_BEFEHL),
                    {QStringLiteral(MBUS_SIM_BEISPIEL), QStringLiteral("--ohne-takt")});
    ASSERT_TRUE(simulator.waitForStarted(5000));
    ASSERT_TRUE(simulator.waitForReadyRead(10000));
    const QString geraet = QString::fromLocal8Bit(simulator.readLine().trimmed());
    ASSERT_TRUE(geraet.startsWith(QStringLiteral("/dev/"))) << qPrintable(geraet);

    const QString master = Abschnitt(QStringLiteral("A master for a simulated port"));
    QString haken = QStringLiteral("[MB200]\r\n");
    for (const QRegularExpressionMatch& treffer :
         QRegularExpression(QStringLiteral("`(MBSpeichern\\d=1)`")).globalMatch(master))
        haken += treffer.captured(1) + QStringLiteral("\r\n");
    QFile ini(dir.filePath(QStringLiteral("ZEP.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write((MasterEinstellungen(geraet) + haken).toUtf8());
    ini.close();

    const QString mdb = dir.filePath(QStringLiteral("basis.mdb"));
    ASSERT_TRUE(DatenbankAnlegen(mdb)) << qPrintable(FehlerText);
    MasterZeilenEintragen(*Verbindung::OpenDatabase(mdb));

    QProcess pollex;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    umgebung.insert(QStringLiteral("TELVARIN_SPERREN"), dir.filePath(QStringLiteral("sperren")));
    pollex.setProcessEnvironment(umgebung);
    pollex.setWorkingDirectory(ordner.path());
    pollex.start(QStringLiteral(POLLEX_BEFEHL), {QStringLiteral("-M200"), QStringLiteral("-C1"),
                                                 QStringLiteral("-T0"), QStringLiteral("Auto")});
    ASSERT_TRUE(pollex.waitForStarted(5000));

    // Waits (with a deadline) until every meter has rows; the pass reads each meter once.
    const auto zaehlen = [&mdb](const QString& sql) {
        std::unique_ptr<Verbindung> db = Verbindung::OpenDatabase(mdb);
        Recordset rs = db ? db->OpenRecordset(sql) : Recordset();
        return rs.offen() && !rs.Eof() ? rs.FeldAn(0).ganz() : -1;
    };
    const QString werteSql = QStringLiteral("SELECT COUNT(DISTINCT lznr) FROM MBusWerte");
    const QDeadlineTimer frist(60000);
    while (zaehlen(werteSql) < 3 && !frist.hasExpired() && pollex.state() == QProcess::Running)
        QThread::msleep(200);
    const qint64 pollexPid = pollex.processId();
    pollex.kill();
    pollex.waitForFinished(5000);
    SperrdateienEntfernen(pollexPid);
    simulator.kill();
    simulator.waitForFinished(5000);

    EXPECT_EQ(zaehlen(werteSql), 3);
    EXPECT_EQ(zaehlen(QStringLiteral("SELECT COUNT(*) FROM Zaehlerstaende")), 0);
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("Z200")))
                     .entryList({QStringLiteral("*.zep")}, QDir::Files)
                     .isEmpty());
    EXPECT_TRUE(dir.entryList({QStringLiteral("*.15p")}, QDir::Files).isEmpty());
}

} // namespace
