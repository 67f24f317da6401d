#include "zugang/UserConfig.h"

#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "support/OhneRootRechte.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Owner, group and other permission bits of a file ("user" bits only mirror the running user).
int Modus(const QString& pfad)
{
    return int(QFileInfo(pfad).permissions() & 0xF0FF);
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
    // The folder's parent is a regular file: no one, not even root, can create the file there.
    void OrdnerUnschreibbar()
    {
        schreiben("kein-ordner", "x");
        ProgrammordnerSetzen(pfad("kein-ordner/prog"));
    }
};

TEST_F(UserConfigTest, vorgabedateiWirdGeschriebenNurFuerDenEigentuemerUndGelesen)
{
    EXPECT_TRUE(ReadUserConfig());
    EXPECT_EQ(lesen("prog/obrak.conf"), kVorgabedatei);
    EXPECT_EQ(Modus(pfad("prog/obrak.conf")), 0x6000);
    EXPECT_EQ(DBParameter, kVorgabeliste);
    EXPECT_TRUE(FehlerText.isEmpty());
    EXPECT_TRUE(m_meldungen.texte.isEmpty());

    schreiben("prog/obrak.conf", "alter Inhalt, der viel l\xe4nger ist als die neue Datei\r\n");
    ASSERT_TRUE(QFile::setPermissions(pfad("prog/obrak.conf"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_TRUE(WriteDefaultUserConfig());
    EXPECT_EQ(lesen("prog/obrak.conf"), kVorgabedatei);
    EXPECT_EQ(Modus(pfad("prog/obrak.conf")), 0x6000);
}

TEST_F(UserConfigTest, vorhandeneDateiWirdZeilenweiseGelesenUndNichtVeraendert)
{
    const struct
    {
        QByteArray datei; // "1", "srv", "anna", ... scrambled by hand
        QStringList liste;
    } faelle[] = {
        {"\x96\r\n\xd4\xd5\xd1\r\n\xc6\xc9\xc9\xc6\r\n\xd7\x93\xd4\xd4\r\n\xca\xc2\xd4\xd4\r\n",
         {"1", "srv", "anna", "p4ss", "mess", ""}},
        {kVorgabedatei + "\xc5\xc2\xca\xc2\xd5\xcc\xd2\xc9\xc0\r\n",
         kVorgabeliste.mid(0, 6) + QStringList{"bemerkung", ""}},
        {"\x96\r\n\xd4\xd5\xd1", {"1", "srv", ""}},
        // 0x0A unscrambles to 0xAD (soft hyphen), so a bare LF belongs to the value.
        {"\x96\r\xd4\n\xd1\r\n\r\n", {"1", "s\u00adv", "", ""}},
        {"\x96\r\n\xd4\x1a\xd5\xd1\r\n\xc6\r\n", {"1", "s", ""}}, // EOF character ends the file
        {"\x96\r\n\xc6\x87\xc5\r\n", {"1", QString("a") + Chr(0x87) + "b", ""}},
        {"", {""}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.datei.toHex().toStdString());
        schreiben("prog/OBRAK.CONF", f.datei);
        EXPECT_TRUE(ReadUserConfig());
        EXPECT_EQ(DBParameter, f.liste);
        EXPECT_EQ(lesen("prog/OBRAK.CONF"), f.datei);
    }
    EXPECT_FALSE(QFileInfo::exists(pfad("prog/obrak.conf")));
}

TEST_F(UserConfigTest, nichtSchreibbarerOrdnerEndetEinmalMitDenVorgabenUndFehlertext)
{
    OrdnerUnschreibbar();
    EXPECT_FALSE(ReadUserConfig()); // returns instead of trying to write and read again forever
    EXPECT_EQ(DBParameter, kVorgabeliste);
    EXPECT_TRUE(FehlerText.startsWith("Pfad nicht gefunden: ")) << FehlerText.toStdString();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0], "Fehler Nummer: 76\r\nFehlerbeschreibung: " + FehlerText +
                                        "\r\nFehlerquelle: WriteDefaultUserConfig\r\nHilfe: ");
    EXPECT_EQ(lesen("261205ed.log"), "05.12.26 12:00:00 " + TextZuCp1252(FehlerText) + "\r\n");

    ProgrammordnerSetzen(pfad("prog"));
    ASSERT_TRUE(QDir().mkpath(pfad("prog/obrak.conf")));
    EXPECT_FALSE(ReadUserConfig());
    EXPECT_TRUE(FehlerText.startsWith("Fehler beim Zugriff auf Pfad/Datei: "))
        << FehlerText.toStdString();
    EXPECT_EQ(m_meldungen.texte.size(), 2);
}

// A folder this user may not write into is named as such, not as a missing file.
TEST_F(UserConfigTest, ordnerOhneSchreibrechtWirdAlsZugriffVerweigertGemeldet)
{
    constexpr QFileDevice::Permissions kLesen = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                QFileDevice::ReadOther | QFileDevice::ExeOther;
    constexpr QFileDevice::Permissions kAlle =
        kLesen | QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    // The working folder (the program log) stays open to everyone, the program folder is not.
    ASSERT_TRUE(QFile::setPermissions(m_ordner.path(), kAlle));
    ASSERT_TRUE(QFile::setPermissions(pfad("prog"), kLesen));
    bool gelesen = true;
    {
        const OhneRootRechte rechte;
        ASSERT_TRUE(rechte.gueltig());
        gelesen = ReadUserConfig();
    }
    QFile::setPermissions(pfad("prog"), kAlle);
    EXPECT_FALSE(gelesen);
    EXPECT_EQ(DBParameter, kVorgabeliste);
    EXPECT_EQ(FehlerText, "Zugriff verweigert (keine Schreibberechtigung im Ordner): " +
                              QDir::toNativeSeparators(pfad("prog/obrak.conf")));
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0], "Fehler Nummer: 70\r\nFehlerbeschreibung: " + FehlerText +
                                        "\r\nFehlerquelle: WriteDefaultUserConfig\r\nHilfe: ");
    EXPECT_FALSE(QFileInfo::exists(pfad("prog/obrak.conf")));
}

TEST_F(UserConfigTest, unlesbareDateiLaesstDBParameterUndZeigtKeinKennwort)
{
    OrdnerUnschreibbar();
    ASSERT_FALSE(ReadUserConfig());
    ASSERT_EQ(DBParameter.value(3), "dbGeheim");

    // Reading /proc/self/mem from offset 0 fails with an I/O error, for root too.
    ProgrammordnerSetzen(pfad("prog"));
    ASSERT_TRUE(QFile::link("/proc/self/mem", pfad("prog/obrak.conf")));
    const QStringList vorher = {"1", "srv", "anna", "Kennwort7", "mess", ""};
    DBParameter = vorher;
    EXPECT_FALSE(ReadUserConfig());
    EXPECT_EQ(DBParameter, vorher);
    EXPECT_TRUE(FehlerText.startsWith("Ger\u00e4te-E/A-Fehler: ")) << FehlerText.toStdString();
    ASSERT_EQ(m_meldungen.texte.size(), 2);
    EXPECT_TRUE(m_meldungen.texte[1].contains("Fehlerquelle: ReadUserConfig"));

    const QString ausgaben = m_meldungen.texte.join('\n') + '\n' + FehlerText + '\n' +
                             Cp1252ZuText(lesen("261205ed.log"));
    for (const QString& kennwort : {QStringLiteral("dbGeheim"), QStringLiteral("Kennwort7"),
                                    Cp1252ZuText("\xc3\xc5\xe0\xc2\xcf\xc2\xce\xca")})
        EXPECT_FALSE(ausgaben.contains(kennwort, Qt::CaseInsensitive)) << kennwort.toStdString();
}

} // namespace
