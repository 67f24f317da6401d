// The shared connection MB_Connection by database kind, and the ODBC connection string of the
// server kinds.

#include "ZielUmgebung.h"

#include "database/MBConnection.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <array>
#include <vector>

#include <pwd.h>
#include <unistd.h>

class MBConnectionTest : public DatenbankUmgebung
{
protected:
    void TearDown() override
    {
        MB_ConnectionSchliessen();
        DatenbankUmgebung::TearDown();
    }
};

TEST_F(MBConnectionTest, invalidKindShowsItsBoxAndOpensNothing)
{
    basisAnlegen();
    for (const char* art : {"5", "5.0", "0", "6", "-1", "x", "1.5", "1e30", ""}) {
        m_meldungen.texte.clear();
        std::shared_ptr<Verbindung> verbindung;
        EXPECT_FALSE(MB_DatenbankVerbinden(verbindung, QString::fromLatin1(art),
                                           QStringLiteral("u"), QStringLiteral("p"), basisPfad(),
                                           QStringLiteral("c")));
        EXPECT_EQ(m_meldungen.texte,
                  QStringList{QString(art).startsWith(u'5')
                                  ? QStringLiteral("5 ist noch nicht belegt als dbFlag.")
                                  : QStringLiteral("Keine gültige Datenbank!")})
            << art;
        EXPECT_FALSE(verbindung || MB_Connection);
    }
}

TEST_F(MBConnectionTest, kindOneSharesTheFileAndKeepsOrReopensTheConnection)
{
    basisAnlegen();
    std::shared_ptr<Verbindung> verbindung;
    ASSERT_TRUE(MB_DatenbankVerbinden(verbindung, QStringLiteral(" 1 "), QStringLiteral("wer"),
                                      QStringLiteral("geheim"), basisPfad(), QStringLiteral("k")))
        << qPrintable(FehlerText);
    EXPECT_EQ(verbindung->dialekt(), Dialekt::SQLite);
    EXPECT_EQ(MB_Connection, verbindung);
    // an open connection stays, whatever kind is passed
    for (const char* art : {"x", "5", "3"})
        EXPECT_TRUE(MB_DatenbankVerbinden(MB_Connection, QString::fromLatin1(art), {}, {}, {}, {}));
    EXPECT_EQ(MB_Connection, verbindung);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());

    DBParameter = basisParameter();
    MB_Connection->Close();
    ASSERT_TRUE(MB_DatenbankVerbinden()) << qPrintable(FehlerText);
    EXPECT_TRUE(MB_Connection->offen());
    // a failed open leaves the closed connection as it was
    const std::shared_ptr<Verbindung> vorher = MB_Connection;
    MB_Connection->Close();
    QFile::remove(basisPfad());
    EXPECT_FALSE(MB_DatenbankVerbinden());
    EXPECT_EQ(MB_Connection, vorher);
    EXPECT_FALSE(MB_Connection->offen());
}

TEST_F(MBConnectionTest, failedServerLoginSaysSoWithoutThePassword)
{
    // kind 3 with a server name goes through the FreeTDS driver, absent on a test machine; the
    // test server refuses a wrong password
    const QString passwort = QStringLiteral("Geh31m;Wort");
    std::vector<std::array<QString, 4>> versuche{
        {QStringLiteral("3"), QStringLiteral("sa"), passwort, QStringLiteral("127.0.0.1,1")}};
    if (!ServerZiel::verbindungstext().isEmpty())
        versuche.push_back({QStringLiteral("2"), ServerZiel::wert("UID"),
                            passwort + ServerZiel::wert("PWD"),
                            ServerZiel::ohneAnmeldung().text()});
    for (const auto& [art, benutzer, falsch, quelle] : versuche) {
        SCOPED_TRACE(art.toStdString());
        EXPECT_FALSE(MB_DatenbankVerbinden(MB_Connection, art, benutzer, falsch, quelle,
                                           QStringLiteral("telvarin")));
        EXPECT_TRUE(FehlerText.startsWith(
            QStringLiteral("Die Verbindung zur Datenbank ist nicht zustande gekommen: ")))
            << qPrintable(FehlerText);
        EXPECT_FALSE(FehlerText.contains(QStringLiteral("Geh31m")));
        EXPECT_FALSE(MB_Connection);
        EXPECT_TRUE(m_meldungen.texte.isEmpty());
    }
    if (versuche.size() == 2) {
        EXPECT_TRUE(FehlerText.contains(ServerZiel::wert("UID"))) << "the server's reason";
    }
}

// Debian's odbcinst.ini turns the PostgreSQL driver's communication log on; the tests turn it
// off, so that no test run leaves a log file of the driver in /tmp.
TEST_F(MBConnectionTest, serverConnectionOfATestLeavesNoDriverLog)
{
    const QString text = ServerZiel::verbindungstext();
    if (text.isEmpty())
        GTEST_SKIP() << "TELVARIN_TEST_ODBC is not set";
    const passwd* benutzer = getpwuid(getuid());
    ASSERT_NE(benutzer, nullptr);
    // The driver names the log of a process "psqlodbc_" & program & "_" & user & process number.
    const QString ende = QString::fromLocal8Bit(benutzer->pw_name) + QString::number(getpid()) +
                         QStringLiteral(".log");
    const auto protokolle = [&ende] {
        QStringList namen;
        for (const QString& name :
             QDir(QStringLiteral("/tmp")).entryList({QStringLiteral("psqlodbc_*")}, QDir::Files))
            if (name.endsWith(QLatin1Char('_') + ende) ||
                name == QStringLiteral("psqlodbc_") + ende)
                namen << name;
        return namen;
    };
    const auto aufraeumen = qScopeGuard([&protokolle] {
        for (const QString& name : protokolle())
            QFile::remove(QStringLiteral("/tmp/") + name);
    });
    VerbindungsDaten daten;
    daten.treiber = QStringLiteral("QODBC");
    daten.datenbankName = text;
    std::unique_ptr<Verbindung> verbindung = Verbindung::Oeffnen(daten);
    ASSERT_TRUE(verbindung && verbindung->Execute(QStringLiteral("SELECT 1")))
        << qPrintable(FehlerText);
    verbindung.reset();
    EXPECT_EQ(protokolle(), QStringList());
}

TEST(MB_OdbcVerbindungstextTest, kindAndCredentialsGiveTheConnectionString)
{
    const struct
    {
        int art;
        const char *quelle, *benutzer, *passwort, *katalog, *erwartet;
    } faelle[] = {
        // a connection string of its own is used as given, with the credentials added
        {2, "DRIVER={PostgreSQL Unicode};SERVER=h", "u", "p", "c",
         "DRIVER={PostgreSQL Unicode};SERVER=h;DATABASE=c;UID=u;PWD=p"},
        {3, " dsn = werk", "u", "p", "c", "dsn=werk;DATABASE=c;UID=u;PWD=p"},
        {2, "DSN=werk;UID=alt;database=alt", "u", "p", "c", "DSN=werk;UID=u;DATABASE=c;PWD=p"},
        {2, "DSN=werk;UID=alt", "", "", "", "DSN=werk;UID=alt"},
        // a server name: FreeTDS for the SQL Server kinds, the Oracle driver for kind 4
        {2, "sqlhost\\werk", "u", "p", "c",
         "DRIVER={FreeTDS};SERVER=sqlhost\\werk;DATABASE=c;UID=u;PWD=p"},
        {3, "SERVER=x;DRIVER={y}", "u", "p", "",
         "DRIVER={FreeTDS};SERVER={SERVER=x;DRIVER={y}}};UID=u;PWD=p"},
        {4, "ORCL", "u", "p", "c", "DRIVER={Oracle};DBQ=ORCL;UID=u;PWD=p"},
        {4, "DSN=ora;DATABASE=x", "u", "p", "c", "DSN=ora;DATABASE=x;UID=u;PWD=p"},
        // values that would end the entry go into braces
        {2, "DSN=werk", "u", " a;b}c", "", "DSN=werk;UID=u;PWD={ a;b}}c}"},
        // other kinds have no connection string
        {1, "DSN=werk", "u", "p", "c", ""},
        {5, "x", "u", "p", "c", ""}};
    for (const auto& f : faelle)
        EXPECT_EQ(MB_OdbcVerbindungstext(f.art, f.benutzer, QString::fromUtf8(f.passwort), f.quelle,
                                         f.katalog),
                  QString::fromUtf8(f.erwartet))
            << f.quelle;
    const OdbcVerbindungstext gelesen(QStringLiteral("DSN=werk;UID=u;PWD={ a;b}}c}"));
    EXPECT_EQ(gelesen.wert(QStringLiteral("pwd")), QStringLiteral(" a;b}c"));
}
