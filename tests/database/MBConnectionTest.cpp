#include "DatenbankUmgebung.h"
#include "DatenbankZiel.h"

#include "database/MBConnection.h"
#include "database/OdbcVerbindungstext.h"
#include "database/Schema.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "zugang/CryptString.h"
#include "zugang/UserConfig.h"

#include <QFile>

class MBConnectionTest : public DatenbankUmgebung
{
protected:
    void TearDown() override
    {
        MB_ConnectionSchliessen();
        ProgrammordnerSetzen(QString());
        DatenbankUmgebung::TearDown();
    }

    // The password of the test server and its connection string without UID and PWD.
    static QString serverPasswort()
    {
        return OdbcVerbindungstext(ServerZiel::verbindungstext()).wert(QStringLiteral("PWD"));
    }
    static QString serverBenutzer()
    {
        return OdbcVerbindungstext(ServerZiel::verbindungstext()).wert(QStringLiteral("UID"));
    }
    static OdbcVerbindungstext serverOhneAnmeldung()
    {
        OdbcVerbindungstext text(ServerZiel::verbindungstext());
        text.entfernen(QStringLiteral("UID"));
        text.entfernen(QStringLiteral("PWD"));
        return text;
    }
};

struct UngueltigeArt
{
    const char* dbFlag;
    const char* meldung;
};

class MBConnectionArtTest : public MBConnectionTest,
                            public ::testing::WithParamInterface<UngueltigeArt>
{
};

TEST_P(MBConnectionArtTest, invalidKindShowsItsBoxAndOpensNothing)
{
    basisAnlegen();
    std::shared_ptr<Verbindung> verbindung;
    EXPECT_FALSE(MB_DatenbankVerbinden(verbindung, QString::fromUtf8(GetParam().dbFlag),
                                       QStringLiteral("u"), QStringLiteral("p"), basisPfad(),
                                       QStringLiteral("c")));
    EXPECT_EQ(m_meldungen.texte, QStringList{QString::fromUtf8(GetParam().meldung)});
    EXPECT_FALSE(verbindung);
    EXPECT_FALSE(MB_Connection);
}

INSTANTIATE_TEST_SUITE_P(
    Arten, MBConnectionArtTest,
    ::testing::Values(UngueltigeArt{"5", "5 ist noch nicht belegt als dbFlag."},
                      UngueltigeArt{"5.0", "5 ist noch nicht belegt als dbFlag."},
                      UngueltigeArt{"0", "Keine gültige Datenbank!"},
                      UngueltigeArt{"6", "Keine gültige Datenbank!"},
                      UngueltigeArt{"-1", "Keine gültige Datenbank!"},
                      UngueltigeArt{"x", "Keine gültige Datenbank!"},
                      UngueltigeArt{"1.5", "Keine gültige Datenbank!"},
                      UngueltigeArt{"1e30", "Keine gültige Datenbank!"},
                      UngueltigeArt{"", "Keine gültige Datenbank!"}));

TEST_F(MBConnectionTest, kindOneOpensTheFileAndBecomesTheSharedConnection)
{
    basisAnlegen();
    std::shared_ptr<Verbindung> verbindung;
    ASSERT_TRUE(MB_DatenbankVerbinden(verbindung, QStringLiteral(" 1 "), QStringLiteral("wer"),
                                      QStringLiteral("geheim"), basisPfad(),
                                      QStringLiteral("katalog")))
        << qPrintable(FehlerText);
    EXPECT_TRUE(verbindung->offen());
    EXPECT_EQ(verbindung->dialekt(), Dialekt::SQLite);
    EXPECT_EQ(MB_Connection, verbindung);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(MBConnectionTest, kindOneWithoutFileFailsWithoutBoxAndCreatesNoFile)
{
    EXPECT_FALSE(
        MB_DatenbankVerbinden(MB_Connection, QStringLiteral("1"), {}, {}, basisPfad(), {}));
    EXPECT_EQ(FehlerText, QStringLiteral("Datei '%1' nicht gefunden.").arg(basisPfad()));
    EXPECT_FALSE(QFile::exists(basisPfad()));
    EXPECT_FALSE(MB_Connection);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(MBConnectionTest, closedConnectionIsOpenedAgain)
{
    basisAnlegen();
    DBParameter = QStringList{QStringLiteral("1"), basisPfad(), {}, {}, {}, {}, {}};
    ASSERT_TRUE(MB_DatenbankVerbinden());
    MB_Connection->Close();
    ASSERT_TRUE(MB_DatenbankVerbinden()) << qPrintable(FehlerText);
    EXPECT_TRUE(MB_Connection->offen());
}

TEST_F(MBConnectionTest, failedOpenKeepsTheConnectionAsItWas)
{
    basisAnlegen();
    DBParameter = QStringList{QStringLiteral("1"), basisPfad(), {}, {}, {}, {}, {}};
    ASSERT_TRUE(MB_DatenbankVerbinden());
    const std::shared_ptr<Verbindung> vorher = MB_Connection;
    MB_Connection->Close();
    QFile::remove(basisPfad());
    EXPECT_FALSE(MB_DatenbankVerbinden());
    EXPECT_EQ(MB_Connection, vorher);
    EXPECT_FALSE(MB_Connection->offen());
}

TEST_F(MBConnectionTest, missingServerDriverFailsWithoutBoxAndWithoutPassword)
{
    // kind 3 with a server name goes through the FreeTDS driver, absent on a test machine
    const QString passwort = QStringLiteral("Geh31m;Wort");
    EXPECT_FALSE(MB_DatenbankVerbinden(MB_Connection, QStringLiteral("3"), QStringLiteral("sa"),
                                       passwort, QStringLiteral("127.0.0.1,1"),
                                       QStringLiteral("werk")));
    EXPECT_TRUE(FehlerText.startsWith(
        QStringLiteral("Die Verbindung zur Datenbank ist nicht zustande gekommen: ")))
        << qPrintable(FehlerText);
    EXPECT_FALSE(FehlerText.contains(QStringLiteral("Geh31m")));
    EXPECT_FALSE(MB_Connection);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(MBConnectionTest, failedServerLoginSaysSoWithoutThePassword)
{
    if (ServerZiel::verbindungstext().isEmpty())
        GTEST_SKIP() << "TELVARIN_TEST_ODBC is not set: server variant skipped";
    const QString falsch = QStringLiteral("Falsch_") + serverPasswort();
    EXPECT_FALSE(MB_DatenbankVerbinden(MB_Connection, QStringLiteral("2"), serverBenutzer(), falsch,
                                       serverOhneAnmeldung().text(), QStringLiteral("telvarin")));
    EXPECT_TRUE(FehlerText.startsWith(
        QStringLiteral("Die Verbindung zur Datenbank ist nicht zustande gekommen: ")))
        << qPrintable(FehlerText);
    EXPECT_TRUE(FehlerText.contains(serverBenutzer()))
        << qPrintable(FehlerText); // the server's reason
    EXPECT_FALSE(FehlerText.contains(serverPasswort()));
    EXPECT_FALSE(MB_Connection);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(MBConnectionTest, serverIsReachedWithTheCredentialsOfObrakConf)
{
    if (ServerZiel::verbindungstext().isEmpty())
        GTEST_SKIP() << "TELVARIN_TEST_ODBC is not set: server variant skipped";
    // obrak.conf cannot carry a blank (the scrambler leaves it unreadable), so the driver is
    // named by its library instead of "PostgreSQL Unicode"
    OdbcVerbindungstext quelle = serverOhneAnmeldung();
    quelle.setzen(QStringLiteral("DRIVER"), QStringLiteral("psqlodbcw.so"));
    const QStringList werte{QStringLiteral("2"),        quelle.text(),
                            serverBenutzer(),           serverPasswort(),
                            QStringLiteral("telvarin"), QStringLiteral("SuperUser")};
    QByteArray datei;
    for (const QString& wert : werte)
        datei += CryptString(TextZuCp1252(wert), kUserConfigSchluessel) + "\r\n";
    schreiben(kUserConfigDatei, datei);
    ProgrammordnerSetzen(m_ordner.path());
    ASSERT_TRUE(ReadUserConfig()) << qPrintable(FehlerText);
    ASSERT_EQ(DBParameter.mid(0, 6), werte);

    ASSERT_TRUE(MB_DatenbankVerbinden()) << qPrintable(FehlerText);
    EXPECT_EQ(MB_Connection->dialekt(), Dialekt::PostgreSQL);
    Recordset rs = MB_Connection->OpenRecordset(QStringLiteral("SELECT current_user"));
    ASSERT_TRUE(rs.offen()) << qPrintable(FehlerText);
    EXPECT_EQ(rs.FeldAn(0).text(), serverBenutzer());
}
