// The driver-choice box and the receive-error texts.

#include "support/TestUmgebung.h"

#include "driver/ProviderListe.h"
#include "driver/UartFehlerText.h"
#include "platform/Global.h"

#include <QList>
#include <QPair>

namespace {

class AufzeichnendeListe : public AuswahlListe
{
public:
    void clear() override
    {
        eintraege.clear();
        index = -1;
    }
    void addItem(const QString& text, const QVariant& daten) override
    {
        eintraege.append({text, daten.toInt()});
    }
    void setCurrentIndex(int i) override { index = i; }

    QList<QPair<QString, int>> eintraege{{"alt", 9}};
    int index = 7;
};

using ProviderListeTest = TestUmgebung;

TEST_F(ProviderListeTest, listeHaeltDieDreiTreiberUndDieGespeicherteNummerWaehlt)
{
    const struct
    {
        QByteArray zeile;
        int nummer;
    } faelle[] = {
        {"", 1},                  // no key
        {"OleProvider=\r\n", 1},  // empty
        {"OleProvider=0\r\n", 1}, // 0 becomes 1
        {"OleProvider=abc\r\n", 1},
        {"OleProvider=2\r\n", 2},
        {"oleprovider = 2 \r\n", 2},
        {"OleProvider=2x\r\n", 2}, // the leading number counts
        {"OleProvider=1\r\n", 1},
        // numbers that name no entry select 1 instead of failing at start
        {"OleProvider=7\r\n", 1},
        {"OleProvider=3\r\n", 1},
        {"OleProvider=-1\r\n", 1},
    };
    for (const auto& fall : faelle) {
        schreiben("ZEP.INI", "[MBus0]\r\n" + fall.zeile);
        AufzeichnendeListe liste;
        EXPECT_EQ(MB_ProviderListeLaden(liste, 0), fall.nummer) << fall.zeile.toStdString();
        EXPECT_EQ(liste.index, fall.nummer) << fall.zeile.toStdString();
        const QList<QPair<QString, int>> treiber{
            {"MBus OLE V1", 0}, {"MBus OLE V2", 1}, {"MBus ZEP", 2}};
        EXPECT_EQ(liste.eintraege, treiber);
    }
}

TEST_F(ProviderListeTest, abschnittAusMandantUndSuffix)
{
    Mandant = "200";
    schreiben("ZEP.INI", "[200MBus0]\r\nOleProvider=0\r\n[200MBus3]\r\nOleProvider=2\r\n"
                         "[MBus3]\r\nOleProvider=0\r\n");
    AufzeichnendeListe liste;
    EXPECT_EQ(MB_ProviderListeLaden(liste, 3), 2);
    EXPECT_EQ(MB_ProviderListeLaden(liste, QStringLiteral("3")), 2);
    EXPECT_EQ(MB_ProviderListeLaden(liste, 0), 1);
}

TEST_F(ProviderListeTest, leerGibtEinenLeerenWert)
{
    EXPECT_FALSE(MB_Leer(1, "x", 2.5).isValid());
}

TEST_F(ProviderListeTest, uartFehlerTextNenntJedesGesetzteBit)
{
    const struct
    {
        int maske;
        const char* text;
    } faelle[] = {
        {0, ""},
        {1, "Timeout, "},
        {3, "Timeout, Wrong Parity, 3"},
        {32, "Wrong Stopsign32"},
        {68, "Wrong Checksum, 68Collision, 68"},
        {511, "Timeout, Wrong Parity, 511Wrong Checksum, 511Wrong Startsign, 511"
              "Wrong Length, 511Wrong Stopsign511Collision, 511Frame Error, 511"
              "Other UART Error, 511"},
        {512, ""},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(MB_UartFehlerText(fall.maske), QString::fromLatin1(fall.text)) << fall.maske;
}

} // namespace
