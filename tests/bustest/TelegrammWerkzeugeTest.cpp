// The telegram tools of the test window: the short-frame checksum, the display hex text, the
// telegram forms the interpretation takes, interpreting in the window (sample, refused text,
// every driver choice, a telegram read from the simulator), and the double-click on the meter
// list that reads a meter by primary or secondary address on the simulator (COM3, pacing off).

#include "SimulatorFensterUmgebung.h"

#include "bustest/TelegrammWerkzeuge.h"
#include "bustest/TestfensterRegeln.h"
#include "platform/Global.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kZaehler =
    QStringLiteral("zaehler adresse=5 id=50000005 hersteller=LUG version=07 medium=04 baud=9600\n"
                   "satz 0406 A0860100\nsatz 0C13 45230100\n");

// The sample telegram as contiguous hex.
const QString kBeispielHex = QStringLiteral(
    "6838386808007211970604B4058004E300FFFF0322B43501052E114C9244053E6204CF42055BD7881443055FB0"
    "520A43056370622341046D0F0D4A13CA16");

TEST(TelegrammWerkzeuge, shortFrameChecksumIsCPlusAModulo256)
{
    struct Fall
    {
        const char* c;
        const char* a;
        const char* summe;
    };
    for (const Fall& fall : {Fall{"40", "0a", "4A"}, Fall{"5B", "FE", "59"}, Fall{"", "", "0"},
                             Fall{"7B", "", "7B"}, Fall{"zz", "05", "5"}, Fall{"FF", "01", "0"},
                             Fall{" 5b ", "fe", "59"}, Fall{"1FF", "1", "0"}})
        EXPECT_EQ(TelegrammWerkzeuge::KurzrahmenPruefsumme(QString::fromLatin1(fall.c),
                                                           QString::fromLatin1(fall.a)),
                  QString::fromLatin1(fall.summe))
            << fall.c << " + " << fall.a;
}

TEST(TelegrammWerkzeuge, hexStreamWritesBytesWithoutLeadingZeroAndBreaksAfterTheTenth)
{
    EXPECT_EQ(TelegrammWerkzeuge::HexStream(QString::fromLatin1("\x68\x03")), "68;3;");
    EXPECT_EQ(TelegrammWerkzeuge::HexStream(QString()), "");
    QString elf;
    for (int i = 0; i < 11; ++i)
        elf += QChar(0xF0 + i);
    EXPECT_EQ(TelegrammWerkzeuge::HexStream(elf), "F0;F1;F2;F3;F4;F5;F6;F7;F8;F9;\rFA;");
    QString zehn(10, QChar(0));
    EXPECT_EQ(TelegrammWerkzeuge::HexStream(zehn), "0;0;0;0;0;0;0;0;0;0;\r");
}

TEST(TelegrammWerkzeuge, telegramFormsBecomeContiguousHex)
{
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(kBeispielTelegramm), kBeispielHex);
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(TelegrammWerkzeuge::HexStream(
                  QString::fromLatin1(QByteArray::fromHex(kBeispielHex.toLatin1())))),
              kBeispielHex);
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(QStringLiteral(" 6838\n3868 ")), "68383868");
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(QStringLiteral("68 38 38 68")), "68383868");
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(QStringLiteral("E5;")), "E5");
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(QStringLiteral("5;")), "05");
    // The read-out's dump: only its hex lines.
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(
                  QStringLiteral("3 HEX Zeichen\r\n10 7B 05 \r\n\r\n3 Dezimal\r\n016 123 005 ")),
              "107B05");
    // Text in no form goes to the driver as it is (without blanks), which refuses it.
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(QStringLiteral("68;100;16;")), "68;100;16;");
    EXPECT_EQ(TelegrammWerkzeuge::TelegrammAlsHex(QStringLiteral("hallo welt")), "hallowelt");
}

TEST(TelegrammWerkzeuge, firstBaudRateOfTheRateColumn)
{
    EXPECT_EQ(TelegrammWerkzeuge::ErsteBaudrate(QStringLiteral("9600;2400")), "9600");
    EXPECT_EQ(TelegrammWerkzeuge::ErsteBaudrate(QStringLiteral("2400;")), "2400");
    EXPECT_EQ(TelegrammWerkzeuge::ErsteBaudrate(QStringLiteral("300")), "300");
    EXPECT_EQ(TelegrammWerkzeuge::ErsteBaudrate(QString()), "");
}

class TelegrammWerkzeugeFenster : public SimulatorFensterUmgebung
{
protected:
    QString text2(int index) const
    {
        return m_fenster->ui().Text2[static_cast<size_t>(index)]->text();
    }
    QString grid1(int zeile, int spalte) const
    {
        return m_fenster->ui().Grid1->TextMatrix(zeile, spalte);
    }

    void deuten(const QString& text)
    {
        m_fenster->ui().Text12->setPlainText(text);
        m_fenster->Command2_Click();
    }

    // The header fields and records of the sample telegram.
    void erwarteBeispiel() const
    {
        EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
        EXPECT_EQ(text2(0), "AMT");
        EXPECT_EQ(text2(2), "128");
        EXPECT_EQ(text2(3), "1460") << "the manufacturer's number, not the version again";
        EXPECT_EQ(text2(4), "04069711");
        EXPECT_EQ(text2(5), "Heat");
        EXPECT_EQ(grid1(0, 0), "Index");
        EXPECT_EQ(grid1(1, 0), "");
        EXPECT_EQ(grid1(2, 0), "0 [1]");
        EXPECT_GT(m_fenster->ui().Grid1->Rows(), 3);
        EXPECT_TRUE(m_fenster->ui().Text12->toPlainText().startsWith("62 HEX Zeichen\n68 38 38 68"))
            << qPrintable(m_fenster->ui().Text12->toPlainText());
    }

    // A meter list row as the scans enter it.
    void zeileEintragen(const QString& adresse, const QString& id, const QString& raten)
    {
        m_fenster->ui().MSFlexGrid1->AddItem(
            QStringList({adresse, id, "LUG", "7", "Heat", "2", raten}).join('\t'));
    }

    void doppelklicken(int zeile)
    {
        m_fenster->ui().MSFlexGrid1->setRow(zeile);
        emit m_fenster->ui().MSFlexGrid1->doppelGeklickt();
    }
};

TEST_F(TelegrammWerkzeugeFenster, checksumLabelFollowsTheCAndAFields)
{
    frmMBustest& fenster = oeffnen();
    const auto& e = fenster.ui();
    EXPECT_EQ(e.Label7->text(), "4A") << "the design values' checksum from the start";
    e.Text8[1]->setText(QStringLiteral("5B"));
    e.Text8[2]->setText(QStringLiteral("FE"));
    EXPECT_EQ(e.Label7->text(), "59");
    e.Text8[1]->setText(QStringLiteral("40"));
    e.Text8[2]->setText(QStringLiteral("0a"));
    EXPECT_EQ(e.Label7->text(), "4A");
    e.Text8[1]->clear();
    e.Text8[2]->clear();
    EXPECT_EQ(e.Label7->text(), "0");
}

TEST_F(TelegrammWerkzeugeFenster, sampleTelegramInterpretsInEveryFormAndWithEveryDriverChoice)
{
    frmMBustest& fenster = simulatorStarten(kZaehler);
    for (const int gesicht : {0, 1, 2}) {
        treiberWaehlen(gesicht);
        for (const QString& form : {kBeispielTelegramm, kBeispielHex, QString()}) {
            for (QLineEdit* feld : fenster.ui().Text2)
                feld->clear();
            m_fenster->ui().Grid1->Clear();
            // An empty box interprets the last raw telegram: after loading, the sample.
            deuten(form);
            erwarteBeispiel();
        }
        // The dump the interpretation left in the box interprets again.
        deuten(fenster.ui().Text12->toPlainText());
        erwarteBeispiel();
    }
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty()) << "interpreting needs no bus";
}

TEST_F(TelegrammWerkzeugeFenster, refusedTextGivesTheStatusAndChangesNoField)
{
    frmMBustest& fenster = oeffnen();
    deuten(kBeispielTelegramm);
    m_meldungen.texte.clear();
    const QString dump = fenster.ui().Text12->toPlainText();
    for (const QString& text :
         {QStringLiteral("hallo"), QStringLiteral("68;100;16;"), QStringLiteral("E5"),
          QStringLiteral("6838386808"), kBeispielHex.left(kBeispielHex.size() - 4) + "0016"}) {
        m_meldungen.texte.clear();
        fenster.ui().Text12->setPlainText(text);
        fenster.Command2_Click();
        ASSERT_EQ(m_meldungen.texte.size(), 1) << qPrintable(text);
        EXPECT_EQ(m_meldungen.texte.first(), "APPReceiveError = 6") << qPrintable(text);
        EXPECT_EQ(fenster.ui().Text12->toPlainText(), text);
        EXPECT_EQ(text2(0), "AMT");
        EXPECT_EQ(text2(4), "04069711");
        EXPECT_EQ(grid1(2, 0), "0 [1]");
    }
    EXPECT_FALSE(dump.isEmpty());
}

TEST_F(TelegrammWerkzeugeFenster, telegramReadFromTheBusInterpretsFromTheDumpAndTheRawText)
{
    frmMBustest& fenster = simulatorStarten(kZaehler);
    treiberWaehlen(1);
    fenster.Text1Setzen(1, QString::number(kPort));
    fenster.Text1Setzen(2, QStringLiteral("9600"));
    fenster.Text1Setzen(0, QStringLiteral("5"));
    fenster.ui().cmdstartAuslesen->click();
    ASSERT_EQ(text2(4), "50000005");
    EXPECT_TRUE(RohdatenText.startsWith("68")) << qPrintable(RohdatenText);

    for (const QString& text : {fenster.ui().Text12->toPlainText(), QString()}) {
        for (QLineEdit* feld : fenster.ui().Text2)
            feld->clear();
        deuten(text);
        EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
        EXPECT_EQ(text2(0), "LUG");
        EXPECT_EQ(text2(4), "50000005");
        EXPECT_EQ(grid1(2, 0), "5 [1]");
        EXPECT_EQ(grid1(3, 3), "12,345");
    }
}

TEST_F(TelegrammWerkzeugeFenster, doubleClickReadsByPrimaryAddressAtTheRowsPortAndRate)
{
    frmMBustest& fenster = simulatorStarten(kZaehler);
    treiberWaehlen(1);
    fenster.ui().Combo4->setEditText(QString::number(kPort));
    fenster.Text1Setzen(1, QStringLiteral("7"));
    fenster.Text1Setzen(2, QStringLiteral("300"));
    fenster.ui().Frame11->show();
    zeileEintragen("5", "50000005", "9600;2400;");
    doppelklicken(1);

    const auto& e = fenster.ui();
    EXPECT_TRUE(e.Frame11->isHidden());
    EXPECT_EQ(e.Text1[0]->text(), "5");
    EXPECT_EQ(e.Text1[1]->text(), QString::number(kPort));
    EXPECT_EQ(e.Text1[2]->text(), "9600");
    EXPECT_EQ(ini(QStringLiteral("MBusTest"), QStringLiteral("ComPort")), QString::number(kPort));
    EXPECT_EQ(rahmenZaehlen(IstAnforderung), 1);
    EXPECT_EQ(text2(4), "50000005");
    EXPECT_EQ(grid1(1, 0), "Gelesen in ");
    EXPECT_EQ(grid1(2, 0), "5 [1]");
    EXPECT_EQ(e.mnuZaehlerLesen->text(), kAnsichtZaehler);
    EXPECT_TRUE(e.Frame4->isHidden());
    EXPECT_FALSE(e.Frame6->isHidden());
}

TEST_F(TelegrammWerkzeugeFenster, doubleClickOn253ReadsBySecondaryAddress)
{
    frmMBustest& fenster = simulatorStarten(kZaehler);
    fenster.ui().Combo4->setEditText(QString::number(kPort));
    zeileEintragen("253", "50000005", "9600");
    doppelklicken(1);

    const auto& e = fenster.ui();
    // Selected, its application reset (to its first telegram), selected again, asked once.
    EXPECT_EQ(rahmenZaehlen(IstSelect), 2);
    EXPECT_EQ(rahmenZaehlen(IstAnforderung), 1);
    ASSERT_FALSE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_EQ(static_cast<quint8>(m_sim->empfangeneRahmen().last().bytes[2]), 253);
    EXPECT_EQ(text2(4), "50000005");
    EXPECT_EQ(text2(0), "LUG");
    EXPECT_EQ(grid1(2, 0), "5 [1]");
    EXPECT_EQ(e.Text1[0]->text(), "5") << "the address the meter answered with";
    EXPECT_EQ(e.mnuZaehlerLesen->text(), kAnsichtZaehler);
    EXPECT_TRUE(e.Frame4->isHidden());
    EXPECT_FALSE(e.Frame6->isHidden());
}

TEST_F(TelegrammWerkzeugeFenster, doubleClickWithoutPortFillsTheFieldsAndReadsNothing)
{
    frmMBustest& fenster = simulatorStarten(kZaehler);
    fenster.ui().Combo4->setEditText(QString());
    zeileEintragen("5", "50000005", "9600;");
    doppelklicken(1);
    // The header row is no meter.
    doppelklicken(0);

    const auto& e = fenster.ui();
    EXPECT_EQ(e.Text1[0]->text(), "5");
    EXPECT_EQ(e.Text1[1]->text(), "");
    EXPECT_EQ(text2(0), "LUG");
    EXPECT_EQ(text2(1), "50000005");
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_EQ(e.mnuZaehlerLesen->text(), kAnsichtBus);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
}

} // namespace
