// The README's walk-throughs taken as written: the example lines and commands are read from the
// README itself and run against the example bus on the simulator and a real basis.mdb.

#include "SimulatorFensterUmgebung.h"

#include "database/BasisMdb.h"
#include "database/Schema.h"
#include "database/Verbindung.h"
#include "master/uebersicht/PortZaehlung.h"
#include "master/uebersicht/Zykluszeiten.h"
#include "platform/Global.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

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

class AnleitungTest : public SimulatorFensterUmgebung
{
protected:
    QStringList abfrage(Verbindung& db, const QString& sql)
    {
        QStringList zeilen;
        Recordset rs = db.OpenRecordset(sql);
        EXPECT_TRUE(rs.offen()) << qPrintable(FehlerText);
        for (; rs.offen() && !rs.Eof(); rs.MoveNext()) {
            QStringList zellen;
            for (int i = 0; i < rs.Feldnamen().size(); ++i)
                zellen << rs.FeldAn(i).text();
            zeilen << zellen.join(u' ');
        }
        return zeilen;
    }
};

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
    EXPECT_EQ(abfrage(*db, QStringLiteral("SELECT ZNr, MBIndex, TarifGruppe, TarifGrp, Tarif, Feld "
                                          "FROM zaehler WHERE Hersteller = 'LUG' ORDER BY ZNr")),
              QStringList({"12345678 2 Wärme 4 5;7; E", "12345679 2 Wärme 4 5;7; E"}));
    EXPECT_EQ(abfrage(*db, QStringLiteral("SELECT COUNT(*) FROM zaehler WHERE MBComP = 1")),
              QStringList({"6"}));

    const QStringList befehle =
        SqlBefehle(Abschnitt(QStringLiteral("A master for a simulated port")),
                   QStringLiteral("tariff group 1")) +
        SqlBefehle(Abschnitt(QStringLiteral("The master overview")), QStringLiteral("1. "));
    for (const QString& befehl : befehle)
        EXPECT_TRUE(db->Execute(befehl)) << qPrintable(befehl) << qPrintable(FehlerText);
    EXPECT_EQ(abfrage(*db, QStringLiteral("SELECT COUNT(*) FROM zaehler WHERE MBComP = 1 AND "
                                          "MB_ID <> '' AND STUFE > 0 AND ZQUELLE = 'M-Bus'")),
              QStringList({"9"}));

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

// The ZEP.INI of the master walk-through names every key the start reads.
TEST_F(AnleitungTest, settingsOfTheMasterWalkThroughNameTheDataFolder)
{
    const QString text = Abschnitt(QStringLiteral("A master for a simulated port"));
    const qsizetype anfang = text.indexOf(QStringLiteral("       [ZEP]"));
    ASSERT_GE(anfang, 0);
    QStringList zeilen;
    for (const QString& zeile : text.mid(anfang).split(u'\n')) {
        if (!zeile.startsWith(QStringLiteral("       ")))
            break;
        zeilen << zeile.trimmed();
    }
    schreiben(QStringLiteral("ZEP.INI"), (zeilen.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());
    Mandant.clear();
    ZEPIniLesen(QStringLiteral(".\\zep.ini"));
    EXPECT_EQ(Mandant, QStringLiteral("200"));
    const QString log = programmlog();
    EXPECT_TRUE(log.contains(QStringLiteral("ZEPDatenPATH = .\\"))) << qPrintable(log);
    EXPECT_FALSE(log.contains(QStringLiteral("Keinen Eintrag gefunden"))) << qPrintable(log);
}

} // namespace
