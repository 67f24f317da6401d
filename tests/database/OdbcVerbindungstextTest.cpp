#include "database/OdbcVerbindungstext.h"
#include "database/MBConnection.h"

#include "support/QtDrucken.h"

#include <gtest/gtest.h>

TEST(OdbcVerbindungstextTest, valuesInBracesMayHoldSemicolonsAndBraces)
{
    const OdbcVerbindungstext text(
        QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER = h1 ;PWD={a;b}}c};UID=u"));
    EXPECT_EQ(text.wert(QStringLiteral("driver")), QStringLiteral("PostgreSQL Unicode"));
    EXPECT_EQ(text.wert(QStringLiteral("Server")), QStringLiteral("h1"));
    EXPECT_EQ(text.wert(QStringLiteral("PWD")), QStringLiteral("a;b}c"));
    EXPECT_EQ(text.wert(QStringLiteral("UID")), QStringLiteral("u"));
    EXPECT_EQ(text.text(),
              QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=h1;PWD={a;b}}c};UID=u"));
}

TEST(OdbcVerbindungstextTest, settingReplacesTheKeyInAnyLetterCase)
{
    OdbcVerbindungstext text(QStringLiteral("DSN=werk;uid=alt;Uid=alt2;X=1"));
    text.setzen(QStringLiteral("UID"), QStringLiteral("neu"));
    text.setzen(QStringLiteral("PWD"), QStringLiteral(" mit Blank "));
    EXPECT_EQ(text.text(), QStringLiteral("DSN=werk;UID=neu;X=1;PWD={ mit Blank }"));
    EXPECT_EQ(text.textOhnePasswort(), QStringLiteral("DSN=werk;UID=neu;X=1;PWD=***"));
}

TEST(OdbcVerbindungstextTest, onlyDriverOrDsnAtTheStartMakeAConnectionString)
{
    EXPECT_TRUE(OdbcVerbindungstext::istVerbindungstext(QStringLiteral("DRIVER={x};SERVER=y")));
    EXPECT_TRUE(OdbcVerbindungstext::istVerbindungstext(QStringLiteral(" dsn = werk")));
    EXPECT_FALSE(OdbcVerbindungstext::istVerbindungstext(QStringLiteral("sqlhost\\werk")));
    EXPECT_FALSE(OdbcVerbindungstext::istVerbindungstext(QStringLiteral("SERVER=x;DRIVER={y}")));
    EXPECT_FALSE(OdbcVerbindungstext::istVerbindungstext(QStringLiteral("DRIVER")));
    EXPECT_FALSE(OdbcVerbindungstext::istVerbindungstext(QString()));
}

struct OdbcFall
{
    int art;
    const char* datenquelle;
    const char* benutzer;
    const char* passwort;
    const char* katalog;
    const char* erwartet;
};

class MB_OdbcVerbindungstextTest : public ::testing::TestWithParam<OdbcFall>
{
};

TEST_P(MB_OdbcVerbindungstextTest, kindAndCredentialsGiveTheConnectionString)
{
    const OdbcFall& fall = GetParam();
    EXPECT_EQ(MB_OdbcVerbindungstext(
                  fall.art, QString::fromUtf8(fall.benutzer), QString::fromUtf8(fall.passwort),
                  QString::fromUtf8(fall.datenquelle), QString::fromUtf8(fall.katalog)),
              QString::fromUtf8(fall.erwartet));
}

INSTANTIATE_TEST_SUITE_P(
    Arten, MB_OdbcVerbindungstextTest,
    ::testing::Values(
        // a connection string of its own is used as given, with the credentials added
        OdbcFall{2, "DRIVER={PostgreSQL Unicode};SERVER=h;PORT=5432", "u", "p", "c",
                 "DRIVER={PostgreSQL Unicode};SERVER=h;PORT=5432;DATABASE=c;UID=u;PWD=p"},
        OdbcFall{3, "DSN=werk", "u", "p", "c", "DSN=werk;DATABASE=c;UID=u;PWD=p"},
        OdbcFall{2, "DSN=werk;UID=alt;DATABASE=alt", "u", "p", "c",
                 "DSN=werk;UID=u;DATABASE=c;PWD=p"},
        OdbcFall{2, "DSN=werk;UID=alt", "", "", "", "DSN=werk;UID=alt"},
        // a server name: FreeTDS for the SQL Server kinds, the Oracle driver for kind 4
        OdbcFall{2, "sqlhost\\werk", "u", "p", "c",
                 "DRIVER={FreeTDS};SERVER=sqlhost\\werk;DATABASE=c;UID=u;PWD=p"},
        OdbcFall{3, "10.0.0.5,1433", "u", "p", "",
                 "DRIVER={FreeTDS};SERVER=10.0.0.5,1433;UID=u;PWD=p"},
        OdbcFall{4, "ORCL", "u", "p", "c", "DRIVER={Oracle};DBQ=ORCL;UID=u;PWD=p"},
        OdbcFall{4, "DSN=ora;DATABASE=x", "u", "p", "c", "DSN=ora;DATABASE=x;UID=u;PWD=p"},
        // values that would end the entry go into braces
        OdbcFall{2, "DSN=werk", "u", "a;b}c", "", "DSN=werk;UID=u;PWD={a;b}}c}"},
        // other kinds have no connection string
        OdbcFall{1, "DSN=werk", "u", "p", "c", ""}, OdbcFall{5, "x", "u", "p", "c", ""}));
