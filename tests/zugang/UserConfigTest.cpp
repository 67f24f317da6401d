#include "zugang/UserConfig.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The default file, scrambled by hand (0xA7 XOR each byte): "0", "0.0.0.0", "dbUserName",
// "dbGeheim", "dbCatalog(sqlserver)", "SuperUser", each ended by CR LF.
const QByteArray kVorgabedatei = QByteArray(
    "\x97\r\n"
    "\x97\x89\x97\x89\x97\x89\x97\r\n"
    "\xc3\xc5\xf2\xd4\xc2\xd5\xe9\xc6\xca\xc2\r\n"
    "\xc3\xc5\xe0\xc2\xcf\xc2\xce\xca\r\n"
    "\xc3\xc5\xe4\xc6\xd3\xc6\xcb\xc8\xc0\x8f\xd4\xd6\xcb\xd4\xc2\xd5\xd1\xc2\xd5\x8e\r\n"
    "\xf4\xd2\xd7\xc2\xd5\xf2\xd4\xc2\xd5\r\n");

const QStringList kVorgabeliste = {
    "0", "0.0.0.0", "dbUserName", "dbGeheim", "dbCatalog(sqlserver)", "SuperUser", ""};

// Permission bits of a file as the system keeps them (-1 when it is missing).
int Modus(const QString& pfad)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(pfad).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

class UserConfigTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        ASSERT_TRUE(QDir().mkpath(pfad("prog")));
        ProgrammordnerSetzen(pfad("prog"));
    }
    void TearDown() override
    {
        ProgrammordnerSetzen(QString());
        TestUmgebung::TearDown();
    }

    // Everything the program told anyone: message boxes, FehlerText and the program log.
    QString Ausgaben() const
    {
        return m_meldungen.texte.join('\n') + '\n' + FehlerText + '\n' +
               Cp1252ZuText(lesen("261205ed.log"));
    }
};

TEST_F(UserConfigTest, ohneDateiWirdDieVorgabedateiGeschriebenUndGelesen)
{
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(lesen("prog/obrak.conf"), kVorgabedatei);
    EXPECT_EQ(DBParameter, kVorgabeliste);
    EXPECT_TRUE(FehlerText.isEmpty());
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(UserConfigTest, geschriebeneDateiLesenUndSchreibenNurDerEigentuemer)
{
    ASSERT_TRUE(ReadUserConfig());
    EXPECT_EQ(Modus(pfad("prog/obrak.conf")), 0600);
}

TEST_F(UserConfigTest, vorgabedateiErsetztEineVorhandeneUndNimmtIhrDieRechteFuerAndere)
{
    schreiben("prog/obrak.conf", "alter Inhalt, der viel l\xe4nger ist als die neue Datei\r\n");
    ASSERT_TRUE(QFile::setPermissions(pfad("prog/obrak.conf"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_TRUE(WriteDefaultUserConfig());
    EXPECT_EQ(lesen("prog/obrak.conf"), kVorgabedatei);
    EXPECT_EQ(Modus(pfad("prog/obrak.conf")), 0600);
}

TEST_F(UserConfigTest, vorhandeneDateiWirdGelesenUndNichtVeraendert)
{
    // "1", "srv", "anna", "p4ss", "mess" scrambled by hand.
    const QByteArray datei("\x96\r\n\xd4\xd5\xd1\r\n\xc6\xc9\xc9\xc6\r\n\xd7\x93\xd4\xd4\r\n"
                           "\xca\xc2\xd4\xd4\r\n");
    schreiben("prog/OBRAK.CONF", datei);
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(DBParameter, QStringList({"1", "srv", "anna", "p4ss", "mess", ""}));
    EXPECT_EQ(lesen("prog/OBRAK.CONF"), datei);
    EXPECT_FALSE(QFileInfo::exists(pfad("prog/obrak.conf")));
}

TEST_F(UserConfigTest, siebenZeilenGebenEineLaengereListe)
{
    schreiben("prog/obrak.conf", kVorgabedatei + "\xc5\xc2\xca\xc2\xd5\xcc\xd2\xc9\xc0\r\n");
    EXPECT_TRUE(ReadUserConfig());
    QStringList erwartet = kVorgabeliste;
    erwartet.insert(6, "bemerkung");
    EXPECT_EQ(DBParameter, erwartet);
}

TEST_F(UserConfigTest, letzteZeileOhneZeilenendeWirdGelesen)
{
    schreiben("prog/obrak.conf", "\x96\r\n\xd4\xd5\xd1");
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(DBParameter, QStringList({"1", "srv", ""}));
}

TEST_F(UserConfigTest, zeilenEndenAnCrUndEinEinzelnesLfGehoertZumWert)
{
    // 0x0A unscrambles to 0xAD (soft hyphen), so a scrambled value may hold a bare LF.
    schreiben("prog/obrak.conf", "\x96\r\xd4\n\xd1\r\n\r\n");
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(DBParameter, QStringList({"1", "s\u00adv", "", ""}));
}

TEST_F(UserConfigTest, dateiendeZeichenBeendetDieDatei)
{
    schreiben("prog/obrak.conf", "\x96\r\n\xd4\x1a\xd5\xd1\r\n\xc6\r\n");
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(DBParameter, QStringList({"1", "s", ""}));
}

TEST_F(UserConfigTest, verschluesseltesBlankBleibtBeimLesenVerschluesselt)
{
    // A password "a b" written by the scrambler holds 0x87 for the blank; it reads back as 0x87.
    schreiben("prog/obrak.conf", "\x96\r\n\xd4\r\n\xc6\r\n\xc6\x87\xc5\r\n\xca\r\n");
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(DBParameter.value(3), QString("a") + Chr(0x87) + "b");
}

TEST_F(UserConfigTest, leereDateiGibtNurDasLeereElement)
{
    schreiben("prog/obrak.conf", "");
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(DBParameter, QStringList({""}));
}

TEST_F(UserConfigTest, nichtSchreibbarerOrdnerEndetMitDenVorgabenUndFehlertext)
{
    // The folder's parent is a regular file: no one, not even root, can create the file there.
    schreiben("kein-ordner", "x");
    ProgrammordnerSetzen(pfad("kein-ordner/prog"));
    EXPECT_FALSE(ReadUserConfig());
    EXPECT_EQ(DBParameter, kVorgabeliste);
    EXPECT_TRUE(FehlerText.startsWith("Pfad nicht gefunden: ")) << FehlerText.toStdString();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0], "Fehler Nummer: 76\r\nFehlerbeschreibung: " + FehlerText +
                                        "\r\nFehlerquelle: WriteDefaultUserConfig\r\nHilfe: ");
    EXPECT_EQ(lesen("261205ed.log"), "05.12.26 12:00:00 " + TextZuCp1252(FehlerText) + "\r\n");
}

TEST_F(UserConfigTest, ordnerStattDateiEndetMitDenVorgabenUndFehlertext)
{
    ASSERT_TRUE(QDir().mkpath(pfad("prog/obrak.conf")));
    EXPECT_FALSE(ReadUserConfig());
    EXPECT_EQ(DBParameter, kVorgabeliste);
    EXPECT_TRUE(FehlerText.startsWith("Fehler beim Zugriff auf Pfad/Datei: "))
        << FehlerText.toStdString();
    EXPECT_EQ(m_meldungen.texte.size(), 1);
}

TEST_F(UserConfigTest, unlesbareDateiLaesstDBParameterWieErWar)
{
    // Reading /proc/self/mem from offset 0 fails with an I/O error, for root too.
    ASSERT_TRUE(QFile::link("/proc/self/mem", pfad("prog/obrak.conf")));
    DBParameter = QStringList({"1", "srv", "anna", "Kennwort7", "mess", ""});
    EXPECT_FALSE(ReadUserConfig());
    EXPECT_EQ(DBParameter, QStringList({"1", "srv", "anna", "Kennwort7", "mess", ""}));
    EXPECT_TRUE(FehlerText.startsWith("Ger\u00e4te-E/A-Fehler: ")) << FehlerText.toStdString();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].contains("Fehlerquelle: ReadUserConfig"));
}

TEST_F(UserConfigTest, keinKennwortInMeldungFehlertextOderLog)
{
    schreiben("kein-ordner", "x");
    ProgrammordnerSetzen(pfad("kein-ordner/prog"));
    ASSERT_FALSE(ReadUserConfig());
    ASSERT_EQ(DBParameter.value(3), "dbGeheim");

    ProgrammordnerSetzen(pfad("prog"));
    ASSERT_TRUE(QFile::link("/proc/self/mem", pfad("prog/obrak.conf")));
    DBParameter[3] = "Kennwort7";
    ASSERT_FALSE(ReadUserConfig());

    ASSERT_FALSE(Ausgaben().isEmpty());
    for (const QString& kennwort : {QStringLiteral("dbGeheim"), QStringLiteral("Kennwort7"),
                                    Cp1252ZuText("\xc3\xc5\xe0\xc2\xcf\xc2\xce\xca")}) {
        EXPECT_FALSE(Ausgaben().contains(kennwort, Qt::CaseInsensitive)) << kennwort.toStdString();
    }
}

TEST_F(UserConfigTest, pfadLiegtImProgrammordner)
{
    EXPECT_EQ(UserConfigPfad(), pfad("prog/obrak.conf"));
    ProgrammordnerSetzen(QString());
    EXPECT_EQ(Programmordner(), QCoreApplication::applicationDirPath());
}

} // namespace
