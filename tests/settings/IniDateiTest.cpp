#include "settings/IniDatei.h"

#include "support/TestUmgebung.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <thread>
#include <vector>

namespace {

const QString kIni = QStringLiteral(".\\ZEP.INI");

using IniDateiTest = TestUmgebung;

TEST_F(IniDateiTest, liestWieDieProfilfunktionen)
{
    const QString vorgabe = QStringLiteral("<vorgabe>");
    const struct
    {
        QByteArray inhalt;
        const char *abschnitt, *schluessel;
        QString erwartet;
    } faelle[] = {
        // clang-format off
        {"[zep]\r\nzepmandant=200\r\n", "ZEP", "ZEPMANDANT", "200"},
        {"  [ ZEP ]  \r\n\t Key  =  a b \t\r\n", "zep", "key", "a b"},
        {"[A]\r\nk=\"  x  \"\r\n", "A", "k", "  x  "}, {"[A]\r\nk='x'\r\n", "A", "k", "x"},
        {"[A]\r\nk=\"\"x\"\"\r\n", "A", "k", "\"x\""}, // one pair of quotes only
        {"[A]\r\nk=a ; b\r\n", "A", "k", "a ; b"},     // no inline comment
        {"[A]\r\nk=D:\\Daten\\$MANDANT$\\DB\\\r\n", "A", "k", "D:\\Daten\\$MANDANT$\\DB\\"},
        {"[A]\r\n;k=1\r\n  ; k=2\r\nk=3\r\n", "A", "k", "3"},
        {"[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        {"[A]\r\nx=1\r\n[a]\r\nx=2\r\ny=2\r\n", "A", "x", "1"},
        {"[A]\r\nx=1\r\n[a]\r\ny=2\r\n", "A", "y", vorgabe}, // only the first section
        {"[A]\r\nk=\r\n", "A", "k", ""}, {"[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"[A]\r\nk\r\nk=5\r\n", "A", "k", "5"}, {"[A]\r\nk=7", "A", "k", "7"},
        {"[M\xDCLLER]\r\nName=Stra\xDF\x65 \xE4\x80\r\n", "m\xC3\xBCller", "name", "Straße ä€"},
        {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "1"},
        {"[]\r\nDatenPath=x\r\n", "", "DatenPath", "x"},
        {"k=1\r\n[A]\r\n", "", "k", vorgabe}, {"[A]\r\n[B]\r\nk=1\r\n", "A", "k", vorgabe},
        {"[A]\r\nk=" + QByteArray(300, 'x') + "\r\n", "A", "k", QString(254, u'x')},
        {"[A]\r\nk=\"" + QByteArray(253, 'a') + "bc\"\r\n", "A", "k", QString(253, u'a') + u'b'},
        // clang-format on
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.inhalt.left(40).toStdString());
        schreiben("ZEP.INI", f.inhalt);
        EXPECT_EQ(ProfilLesen(QString::fromUtf8(f.abschnitt), f.schluessel, vorgabe, kIni),
                  f.erwartet);
    }
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "vorgabe", ".\\Fehlt.ini"), "vorgabe");
}

TEST_F(IniDateiTest, dateinameGiltInJederGrossschreibungUndOrdnerEntstehenNicht)
{
    schreiben("Sub/Mb.Ini", "[A]\r\nk=1\r\n");
    EXPECT_EQ(ProfilLesen("A", "k", "", ".\\SUB\\mb.INI"), "1");
    ASSERT_TRUE(ProfilSchreiben("A", "k", "2", ".\\sub\\MB.ini"));
    EXPECT_EQ(QDir(pfad("Sub")).entryList(QDir::Files), QStringList{"Mb.Ini"});
    EXPECT_EQ(lesen("Sub/Mb.Ini"), "[A]\r\nk=2\r\n");
    EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "200", ".\\Fehlt\\ZEP.INI"));
    ASSERT_TRUE(ProfilSchreiben("ZEP", "ZEPMandant", "200", kIni));
    EXPECT_EQ(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"Sub", "ZEP.INI"}));
    EXPECT_EQ(lesen("ZEP.INI"), "[ZEP]\r\nZEPMandant=200\r\n");
}

TEST_F(IniDateiTest, unlesbareDateiGiltAlsFehlendUndWirdNieGeschrieben)
{
    const QByteArray text = "[ZEP]\r\nZEPMandant=200\r\n";
    const QByteArray binaer = text + QByteArray(4, '\0');
    const QByteArray gross = text + QByteArray(kIniMaxGroesse - text.size() + 1, ';');
    for (const QByteArray& inhalt : {binaer, gross, QByteArray()}) {
        if (inhalt.isEmpty()) {
            QFile::remove(pfad("ZEP.INI"));
            ASSERT_TRUE(QDir(m_ordner.path()).mkdir("ZEP.INI"));
        } else {
            schreiben("ZEP.INI", inhalt);
        }
        EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "d", kIni), "d");
        EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "300", kIni));
        EXPECT_EQ(lesen("ZEP.INI"), inhalt);
    }
    EXPECT_TRUE(QFileInfo(pfad("ZEP.INI")).isDir());
}

TEST_F(IniDateiTest, schreibenBehaeltJedesAndereByteRechteUndVerknuepfung)
{
    const QByteArray vorher = "; Einstellungen des Energiedatensystems\r\n"
                              "[Allgemein]\nSprache = de\r\n\r\n"
                              "[ZEP]\r\n; Mandant\r\n  ZepMandant =  100 \n"
                              "DBPATH200=D:\\Daten\\$MANDANT$\\DB\r\n\r\n\n"
                              "[200]\r\nDatenPath=D:\\Daten";
    schreiben("ZEP.INI", vorher);
    ASSERT_TRUE(ProfilSchreiben("zep", "ZEPMANDANT", "200", kIni));
    QByteArray erwartet = vorher;
    erwartet.replace("  ZepMandant =  100 \n", "ZepMandant=200\n");
    EXPECT_EQ(lesen("ZEP.INI"), erwartet);
    ASSERT_TRUE(ProfilSchreiben("ZEP", "Neu", "1", kIni));
    erwartet.replace("\\DB\r\n\r\n\n", "\\DB\r\nNeu=1\r\n\r\n\n");
    EXPECT_EQ(lesen("ZEP.INI"), erwartet);
    ASSERT_TRUE(ProfilSchreiben("200", "Kunde", "M\u00FCller", kIni));
    erwartet += "\r\nKunde=M\xFCller\r\n";
    EXPECT_EQ(lesen("ZEP.INI"), erwartet);
    // Written in place: through a link and with the file's permissions.
    schreiben("ziel/echt.ini", "[A]\r\nk=1\r\n");
    const auto rechte = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(pfad("ziel/echt.ini"), rechte));
    ASSERT_TRUE(QFile::link(pfad("ziel/echt.ini"), pfad("link.ini")));
    ASSERT_TRUE(ProfilSchreiben("A", "k", "2", ".\\LINK.INI"));
    EXPECT_TRUE(QFileInfo(pfad("link.ini")).isSymLink());
    EXPECT_EQ(lesen("ziel/echt.ini"), "[A]\r\nk=2\r\n");
    // Owner, group and others; the "user" flags only mirror the running user's access.
    constexpr int kOhneBenutzer = 0xF0FF;
    EXPECT_EQ(QFileInfo(pfad("ziel/echt.ini")).permissions() & kOhneBenutzer,
              rechte & kOhneBenutzer);
}

TEST_F(IniDateiTest, schreibtAnOrtUndStelleOderHaengtAn)
{
    const struct
    {
        QByteArray vorher;
        const char *abschnitt, *schluessel, *wert;
        QByteArray nachher;
    } faelle[] = {
        {"[zep]\nzepMandant=1\n", "ZEP", "ZEPMANDANT", "2", "[zep]\nzepMandant=2\n"},
        {"[A]\r\nk=1\r\nk=2\r\n", "A", "K", "3", "[A]\r\nk=3\r\nk=2\r\n"},
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        {"[A]\nx=1", "A", "z", "3", "[A]\nx=1\r\nz=3\r\n"},
        {"[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\r\nk=v\r\n"},
        {"", "ZEP", "ZEPMandant", "200", "[ZEP]\r\nZEPMandant=200\r\n"},
        {"[A]\r\nk=1\r\n", "A", "k", "neu\r\n[B]\r\nx=1", "[A]\r\nk=neu\r\n"},
        {"[ZEP]\r\n", "", "DatenPath", "x", "[ZEP]\r\n[]\r\nDatenPath=x\r\n"},
        {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2", "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.nachher.toStdString());
        schreiben("ZEP.INI", f.vorher);
        EXPECT_TRUE(ProfilSchreiben(QString::fromUtf8(f.abschnitt), f.schluessel, f.wert, kIni));
        EXPECT_EQ(lesen("ZEP.INI"), f.nachher);
    }
    // Names that cannot stand in the file are refused.
    for (const auto& [abschnitt, schluessel] : {std::pair{"A", "k=x"}, {"A", ""}, {"A", ";k"},
                                                {"A", "k\nj"}, {"A]", "k"}, {"A\r\n[B", "k"}})
        EXPECT_FALSE(ProfilSchreiben(abschnitt, schluessel, "1", kIni)) << schluessel;
    EXPECT_EQ(lesen("ZEP.INI"), "\xEF\xBB\xBF[A]\r\nk=2\r\n");
}

TEST_F(IniDateiTest, schreiberSperrenEinanderUndVerlierenKeineAenderung)
{
    std::vector<std::thread> faeden;
    for (int f = 0; f < 4; ++f)
        faeden.emplace_back([f] {
            for (int i = 0; i < 15; ++i)
                ProfilSchreiben(QStringLiteral("S%1").arg(i % 3), QStringLiteral("F%1K%2").arg(f).arg(i),
                                QString::number(i), kIni);
        });
    for (std::thread& t : faeden)
        t.join();
    for (int f = 0; f < 4; ++f)
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(ProfilLesen(QStringLiteral("S%1").arg(i % 3),
                                  QStringLiteral("F%1K%2").arg(f).arg(i), "fehlt", kIni),
                      QString::number(i));
    // Gives up after a while when another writer holds the lock.
    QLockFile andererSchreiber(IniSperrdatei(pfad("ZEP.INI")));
    ASSERT_TRUE(andererSchreiber.tryLock(0));
    QElapsedTimer uhr;
    uhr.start();
    EXPECT_FALSE(ProfilSchreiben("S0", "F0K0", "neu", kIni));
    EXPECT_GE(uhr.elapsed(), 1000);
    EXPECT_EQ(ProfilLesen("S0", "F0K0", "", kIni), "0");
}

// A writer killed between creating the lock file and writing its number leaves the file empty;
// the next writer takes it over instead of giving up, and a live writer's lock still holds.
TEST_F(IniDateiTest, eineLeereSperrdateiEinesBeendetenSchreibersHaeltNiemandenAuf)
{
    schreiben("ZEP.INI", "[A]\r\nk=1\r\n");
    const QString sperrdatei = IniSperrdatei(pfad("ZEP.INI"));
    {
        QFile leer(sperrdatei);
        ASSERT_TRUE(leer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(leer.setFileTime(QDateTime::currentDateTime().addSecs(-5),
                                     QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(ProfilSchreiben("A", "k", "2", kIni));
    EXPECT_EQ(ProfilLesen("A", "k", "", kIni), "2");
    EXPECT_FALSE(QFile::exists(sperrdatei));

    QLockFile lebenderSchreiber(sperrdatei);
    ASSERT_TRUE(lebenderSchreiber.tryLock(0));
    EXPECT_FALSE(ProfilSchreiben("A", "k", "3", kIni));
    EXPECT_EQ(ProfilLesen("A", "k", "", kIni), "2");
}

TEST_F(IniDateiTest, loeschenEntferntDieSchluesselzeileOderDenAbschnittBisZumNaechsten)
{
    schreiben("ZEP.INI", "; Kopf\r\n[A]\r\nk=1\nj=2\r\n; zu A\r\n\r\n[B]\r\nk=3");
    ASSERT_TRUE(ProfilSchluesselLoeschen("a", "K", kIni));
    ASSERT_TRUE(ProfilSchluesselLoeschen("A", "fehlt", kIni));
    EXPECT_EQ(lesen("ZEP.INI"), "; Kopf\r\n[A]\r\nj=2\r\n; zu A\r\n\r\n[B]\r\nk=3");
    ASSERT_TRUE(ProfilAbschnittLoeschen("a", kIni));
    EXPECT_EQ(lesen("ZEP.INI"), "; Kopf\r\n[B]\r\nk=3");
    EXPECT_TRUE(ProfilAbschnittLoeschen("A", ".\\Neu.ini"));
    EXPECT_FALSE(QFile::exists(pfad("Neu.ini")));
}

} // namespace
