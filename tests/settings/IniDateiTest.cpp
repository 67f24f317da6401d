#include "settings/IniDatei.h"

#include "support/TestUmgebung.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <thread>
#include <vector>

#include <unistd.h>

namespace {

const QString kIni = QStringLiteral(".\\ZEP.INI");

class IniDateiTest : public TestUmgebung
{
protected:
    QString lesenAus(const QByteArray& inhalt, const QString& abschnitt, const QString& schluessel)
    {
        schreiben(QStringLiteral("ZEP.INI"), inhalt);
        return ProfilLesen(abschnitt, schluessel, QStringLiteral("<vorgabe>"), kIni);
    }

    QStringList dateienImOrdner() const
    {
        return QDir(m_ordner.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
};

struct Lesefall
{
    const char* name;
    QByteArray inhalt;
    const char* abschnitt;
    const char* schluessel;
    QString erwartet;
};

TEST_F(IniDateiTest, readsValuesLikeTheProfileFunctions)
{
    const QString vorgabe = QStringLiteral("<vorgabe>");
    const QList<Lesefall> faelle = {
        {"plain", "[ZEP]\r\nZEPMandant=200\r\n", "ZEP", "ZEPMandant", "200"},
        {"section and key in other case", "[zep]\r\nzepmandant=200\r\n", "ZEP", "ZEPMANDANT", "200"},
        {"blanks around names and value", "  [ ZEP ]  \r\n\t Key  =  a b \t\r\n", "zep", "key", "a b"},
        {"double quotes removed", "[A]\r\nk=\"  x  \"\r\n", "A", "k", "  x  "},
        {"single quotes removed", "[A]\r\nk='x'\r\n", "A", "k", "x"},
        {"only one pair of quotes", "[A]\r\nk=\"\"x\"\"\r\n", "A", "k", "\"x\""},
        {"no inline comment", "[A]\r\nk=a ; b\r\n", "A", "k", "a ; b"},
        {"backslashes stay", "[A]\r\nk=D:\\Daten\\$MANDANT$\\DB\\\r\n", "A", "k",
         "D:\\Daten\\$MANDANT$\\DB\\"},
        {"comment line is no key", "[A]\r\n;k=1\r\n  ; k=2\r\nk=3\r\n", "A", "k", "3"},
        {"first key wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        {"first section wins", "[A]\r\nx=1\r\n[a]\r\nx=2\r\n", "A", "x", "1"},
        {"only the first section is searched", "[A]\r\nx=1\r\n[a]\r\ny=2\r\n", "A", "y", vorgabe},
        {"empty value is not the default", "[A]\r\nk=\r\n", "A", "k", ""},
        {"equals sign inside the value", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"line without equals sign skipped", "[A]\r\nk\r\nk=5\r\n", "A", "k", "5"},
        {"no final line end", "[A]\r\nk=7", "A", "k", "7"},
        {"Windows-1252 bytes", "[M\xDCLLER]\r\nName=Stra\xDF" "e \xE4\x80\r\n", "m\xC3\xBCller",
         "name", QStringLiteral("Stra\u00DFe \u00E4\u20AC")},
        {"UTF-8 byte-order mark before the first section", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "1"},
        {"section with empty name", "[]\r\nDatenPath=x\r\n", "", "DatenPath", "x"},
        {"key before any section belongs to none", "k=1\r\n[A]\r\n", "", "k", vorgabe},
        {"key of the next section not seen", "[A]\r\n[B]\r\nk=1\r\n", "A", "k", vorgabe},
    };
    for (const Lesefall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        EXPECT_EQ(lesenAus(fall.inhalt, QString::fromUtf8(fall.abschnitt),
                           QString::fromUtf8(fall.schluessel)),
                  fall.erwartet);
    }
}

TEST_F(IniDateiTest, missingFileGivesTheDefault)
{
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "vorgabe", kIni), "vorgabe");
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "", QString()), "");
}

TEST_F(IniDateiTest, fileNameMatchesInAnyLetterCase)
{
    schreiben("zep.ini", "[ZEP]\r\nZEPMandant=200\r\n");
    schreiben("Sub/Mb.Ini", "[A]\r\nk=1\r\n");
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "", ".\\ZEP.INI"), "200");
    EXPECT_EQ(ProfilLesen("A", "k", "", ".\\SUB\\mb.INI"), "1");
    EXPECT_EQ(ProfilLesen("A", "k", "", pfad("sub/MB.ini")), "1");
}

TEST_F(IniDateiTest, longValueComesBackCutTo254Characters)
{
    const QByteArray lang(300, 'x');
    EXPECT_EQ(lesenAus("[A]\r\nk=" + lang + "\r\n", "A", "k"), QString(254, u'x'));
    const QByteArray quotiert = "\"" + QByteArray(253, 'a') + "bc\"";
    EXPECT_EQ(lesenAus("[A]\r\nk=" + quotiert + "\r\n", "A", "k"),
              QString(253, u'a') + u'b');
    EXPECT_EQ(lesenAus("[A]\r\nk=" + QByteArray(254, 'y') + "\r\n", "A", "k"), QString(254, u'y'));
}

TEST_F(IniDateiTest, binaryFileReadsAsMissingAndIsNotWritten)
{
    const QByteArray binaer = QByteArray("[ZEP]\r\nZEPMandant=200\r\n") + QByteArray(4, '\0');
    schreiben("ZEP.INI", binaer);
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "d", kIni), "d");
    EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "300", kIni));
    EXPECT_EQ(lesen("ZEP.INI"), binaer);
}

TEST_F(IniDateiTest, fileOver16MegabytesReadsAsMissingAndIsNotWritten)
{
    QByteArray gross = "[ZEP]\r\nZEPMandant=200\r\n";
    gross += QByteArray(kIniMaxGroesse - gross.size() + 1, ';');
    schreiben("ZEP.INI", gross);
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "d", kIni), "d");
    EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "300", kIni));
    EXPECT_EQ(QFileInfo(pfad("ZEP.INI")).size(), kIniMaxGroesse + 1);
    EXPECT_TRUE(lesen("ZEP.INI").startsWith("[ZEP]\r\nZEPMandant=200\r\n"));
}

TEST_F(IniDateiTest, folderInPlaceOfTheFileReadsAsMissingAndIsNotWritten)
{
    ASSERT_TRUE(QDir(m_ordner.path()).mkdir("ZEP.INI"));
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "d", kIni), "d");
    EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "300", kIni));
    EXPECT_TRUE(QFileInfo(pfad("ZEP.INI")).isDir());
}

TEST_F(IniDateiTest, unreadableFileReadsAsMissingAndIsNotWritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    schreiben("ZEP.INI", "[ZEP]\r\nZEPMandant=200\r\n");
    ASSERT_TRUE(QFile::setPermissions(pfad("ZEP.INI"), QFileDevice::WriteOwner));
    EXPECT_EQ(ProfilLesen("ZEP", "ZEPMandant", "d", kIni), "d");
    EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "300", kIni));
    QFile::setPermissions(pfad("ZEP.INI"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(lesen("ZEP.INI"), "[ZEP]\r\nZEPMandant=200\r\n");
}

TEST_F(IniDateiTest, writeIntoMissingFolderFailsAndCreatesNothing)
{
    EXPECT_FALSE(ProfilSchreiben("ZEP", "ZEPMandant", "200", ".\\Fehlt\\ZEP.INI"));
    EXPECT_TRUE(dateienImOrdner().isEmpty());
}

TEST_F(IniDateiTest, writeKeepsEveryOtherByteOfTheFile)
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
}

struct Schreibfall
{
    const char* name;
    QByteArray vorher;
    const char* abschnitt;
    const char* schluessel;
    const char* wert;
    QByteArray nachher;
};

TEST_F(IniDateiTest, writesInPlaceOrAppends)
{
    const QList<Schreibfall> faelle = {
        {"replace in place", "[A]\r\nk=1\r\n", "A", "k", "2", "[A]\r\nk=2\r\n"},
        {"key and section in other case keep their spelling", "[zep]\nzepMandant=1\n", "ZEP",
         "ZEPMANDANT", "2", "[zep]\nzepMandant=2\n"},
        {"only the first key of that name", "[A]\r\nk=1\r\nk=2\r\n", "A", "K", "3",
         "[A]\r\nk=3\r\nk=2\r\n"},
        {"append after the last non-blank line of the section", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
         "a", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        {"append to a section with header only", "[A]\r\n\r\n[B]\r\n", "A", "z", "3",
         "[A]\r\nz=3\r\n\r\n[B]\r\n"},
        {"append behind a last line without line end", "[A]\nx=1", "A", "z", "3",
         "[A]\nx=1\r\nz=3\r\n"},
        {"append section at the end", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\r\nk=v\r\n"},
        {"append section behind a last line without line end", "[A]\nx=1", "B", "k", "v",
         "[A]\nx=1\r\n[B]\r\nk=v\r\n"},
        {"empty file", "", "ZEP", "ZEPMandant", "200", "[ZEP]\r\nZEPMandant=200\r\n"},
        {"value with backslashes as given", "[ZEP]\r\n", "ZEP", "DBPATH200",
         "D:\\Daten\\$MANDANT$\\DB\\", "[ZEP]\r\nDBPATH200=D:\\Daten\\$MANDANT$\\DB\\\r\n"},
        {"value written up to its first line break", "[A]\r\nk=1\r\n", "A", "k", "neu\r\n[B]\r\nx=1",
         "[A]\r\nk=neu\r\n"},
        {"section with empty name", "[ZEP]\r\n", "", "DatenPath", "x",
         "[ZEP]\r\n[]\r\nDatenPath=x\r\n"},
        {"byte-order mark stays in front", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "2",
         "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
    };
    for (const Schreibfall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        schreiben("ZEP.INI", fall.vorher);
        EXPECT_TRUE(ProfilSchreiben(QString::fromUtf8(fall.abschnitt),
                                    QString::fromUtf8(fall.schluessel),
                                    QString::fromUtf8(fall.wert), kIni));
        EXPECT_EQ(lesen("ZEP.INI"), fall.nachher);
    }
}

TEST_F(IniDateiTest, writeCreatesMissingFile)
{
    ASSERT_TRUE(ProfilSchreiben("ZEP", "ZEPMandant", "200", kIni));
    EXPECT_EQ(dateienImOrdner(), QStringList{"ZEP.INI"});
    EXPECT_EQ(lesen("ZEP.INI"), "[ZEP]\r\nZEPMandant=200\r\n");
}

TEST_F(IniDateiTest, writeGoesToTheFileInAnyLetterCase)
{
    schreiben("zep.ini", "[ZEP]\r\nZEPMandant=100\r\n");
    ASSERT_TRUE(ProfilSchreiben("ZEP", "ZEPMandant", "200", ".\\ZEP.INI"));
    EXPECT_EQ(dateienImOrdner(), QStringList{"zep.ini"});
    EXPECT_EQ(lesen("zep.ini"), "[ZEP]\r\nZEPMandant=200\r\n");
}

TEST_F(IniDateiTest, namesThatCannotStandInTheFileAreRefused)
{
    schreiben("ZEP.INI", "[A]\r\nk=1\r\n");
    for (const char* schluessel : {"k=x", "", ";k", "[k", "k\nj"})
        EXPECT_FALSE(ProfilSchreiben("A", schluessel, "1", kIni)) << schluessel;
    for (const char* abschnitt : {"A]", "A\r\n[B"})
        EXPECT_FALSE(ProfilSchreiben(abschnitt, "k", "1", kIni)) << abschnitt;
    EXPECT_EQ(lesen("ZEP.INI"), "[A]\r\nk=1\r\n");
}

TEST_F(IniDateiTest, writeKeepsTheFilePermissions)
{
    schreiben("ZEP.INI", "[A]\r\nk=1\r\n");
    const auto rechte = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(pfad("ZEP.INI"), rechte));
    ASSERT_TRUE(ProfilSchreiben("A", "k", "2", kIni));
    // Owner, group and others; the "user" flags only mirror the running user's access.
    constexpr int kOhneBenutzer = 0xF0FF;
    EXPECT_EQ(QFileInfo(pfad("ZEP.INI")).permissions() & kOhneBenutzer, rechte & kOhneBenutzer);
}

TEST_F(IniDateiTest, writeThroughALinkChangesTheTargetAndKeepsTheLink)
{
    schreiben("ziel/echt.ini", "[A]\r\nk=1\r\n");
    ASSERT_TRUE(QFile::link(pfad("ziel/echt.ini"), pfad("ZEP.INI")));
    ASSERT_TRUE(ProfilSchreiben("A", "k", "2", kIni));
    EXPECT_TRUE(QFileInfo(pfad("ZEP.INI")).isSymLink());
    EXPECT_EQ(lesen("ziel/echt.ini"), "[A]\r\nk=2\r\n");
}

TEST_F(IniDateiTest, concurrentWritersLoseNoUpdate)
{
    constexpr int kFaeden = 4;
    constexpr int kJeFaden = 15;
    std::vector<std::thread> faeden;
    for (int f = 0; f < kFaeden; ++f) {
        faeden.emplace_back([f] {
            for (int i = 0; i < kJeFaden; ++i)
                ProfilSchreiben(QStringLiteral("S%1").arg(i % 3),
                                QStringLiteral("F%1K%2").arg(f).arg(i), QString::number(i), kIni);
        });
    }
    for (std::thread& t : faeden)
        t.join();
    for (int f = 0; f < kFaeden; ++f)
        for (int i = 0; i < kJeFaden; ++i)
            EXPECT_EQ(ProfilLesen(QStringLiteral("S%1").arg(i % 3),
                                  QStringLiteral("F%1K%2").arg(f).arg(i), "fehlt", kIni),
                      QString::number(i));
}

TEST_F(IniDateiTest, writeGivesUpWhileAnotherWriterHoldsTheFile)
{
    schreiben("ZEP.INI", "[A]\r\nk=1\r\n");
    QLockFile andererSchreiber(IniSperrdatei(pfad("ZEP.INI")));
    ASSERT_TRUE(andererSchreiber.tryLock(0));
    QElapsedTimer uhr;
    uhr.start();
    EXPECT_FALSE(ProfilSchreiben("A", "k", "2", kIni));
    EXPECT_GE(uhr.elapsed(), 1000);
    EXPECT_EQ(lesen("ZEP.INI"), "[A]\r\nk=1\r\n");
    andererSchreiber.unlock();
    EXPECT_TRUE(ProfilSchreiben("A", "k", "2", kIni));
}

TEST_F(IniDateiTest, deletingRemovesTheKeyLineOrTheSectionUpToTheNext)
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
