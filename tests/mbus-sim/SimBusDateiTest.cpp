// The bus file: meters, telegrams, faults, modem, and errors reported with their line.

#include "BusSimulator.h"

#include "Gegenstelle.h"
#include "support/TestUmgebung.h"

#include <QFile>
#include <QRegularExpression>

using SimBusDateiTest = TestUmgebung;

namespace {

QString beispielPfad()
{
    return QStringLiteral(MBUS_SIM_QUELLEN "/beispiel.bus");
}

struct Falsch
{
    const char* text;
    const char* fehler;
};

const Falsch FalscheDateien[] = {
    {"zaehler id=1\nblubb", "Zeile 2: unbekanntes Schlüsselwort \"blubb\""},
    {"# Kommentar\n\nzaehler id=123456789", "Zeile 3: ungültiger Wert \"123456789\" für \"id\""},
    {"zaehler adresse=251 id=1", "Zeile 1: ungültiger Wert \"251\" für \"adresse\" (0 bis 250)"},
    {"zaehler id=1 baud=1000", "Zeile 1: ungültiger Wert \"1000\" für \"baud\""},
    {"zaehler id=1 spaet=83.1234", "Zeile 1: ungültiger Wert \"83.1234\" für \"spaet\""},
    {"zaehler id=1 spaet=83,5", "Zeile 1: ungültiger Wert \"83,5\" für \"spaet\""},
    {"zaehler id=1 hersteller=AB1", "Zeile 1: ungültiger Wert \"AB1\" für \"hersteller\""},
    {"zaehler id=1 medium=107", "Zeile 1: ungültiger Wert \"107\" für \"medium\""},
    {"zaehler adresse=1", "Zeile 1: \"zaehler\" ohne \"id=\""},
    {"zaehler id=1 farbe=rot", "Zeile 1: unbekannter Schlüssel \"farbe=rot\" in \"zaehler\""},
    {"satz 0C13 45230100", "Zeile 1: \"satz\" vor dem ersten \"zaehler\""},
    {"zaehler id=1\n\nsatz 0C13 452301",
     "Zeile 3: Datensatz hat 3 Datenbytes, sein DIF verlangt 4"},
    {"zaehler id=1\nsatz 8C", "Zeile 2: Datensatz endet in DIF, VIF"},
    {"zaehler id=1\nsatz 0C13 4523010G", "Zeile 2: ungültige Hexzahl \"4523010G\""},
    {"zaehler id=1\nsatz 0C13 452 30100", "Zeile 2: ungültige Hexzahl \"452\""},
    {"zaehler id=1\nroh 68 03\nsatz 0C13 45230100", "Zeile 3: \"satz\" nach \"roh\""},
    {"zaehler id=1\nfehler spaet", "Zeile 2: \"spaet\" braucht einen Wert"},
    {"zaehler id=1\nfehler antwort_ab=0", "Zeile 2: ungültiger Wert \"0\" für \"antwort_ab\""},
    {"zaehler id=1\nfehler laut", "Zeile 2: unbekannter Fehler \"laut\""},
    {"bus takt=vielleicht", "Zeile 1: ungültiger Wert \"vielleicht\" für \"takt\" (ja oder nein)"},
    {"bus farbe=rot", "Zeile 1: unbekannter Schlüssel \"farbe=rot\" in \"bus\""},
    {"modem\nnummer 123", "Zeile 2: \"nummer\" braucht eine Rufnummer und ein Ergebnis"},
    {"modem\nnummer 123 RING", "Zeile 2: unbekanntes Wählergebnis \"RING\""},
    {"zaehler id=1\ntelegramm 2", "Zeile 2: \"telegramm\" steht allein auf der Zeile"},
    {"zaehler id=1\nrohdatei fehlt.hex", "Zeile 2: \"fehlt.hex\" lässt sich nicht lesen"},
};

// A record of n bytes: DIF 0D (variable length), VIF 13, LVAR, then n - 3 bytes.
QString satzVon(int n)
{
    return QString("satz 0D13 %1%2")
        .arg(n - 3, 2, 16, QLatin1Char('0'))
        .arg(QString("AA").repeated(n - 3));
}

} // namespace

TEST_F(SimBusDateiTest, errorsNameTheirLineAndLeaveTheBusAsItWas)
{
    const QString zuLang =
        "zaehler id=1\n" + satzVon(120) + "\n" + satzVon(120) + "\n" + satzVon(3);
    QList<std::pair<QString, QString>> faelle{{zuLang, "Zeile 4: Telegramm zu lang: 243 Bytes"}};
    for (const Falsch& f : FalscheDateien)
        faelle.append({QString::fromUtf8(f.text), QString::fromUtf8(f.fehler)});
    for (const auto& [text, erwartet] : faelle) {
        SimBus bus;
        bus.takt = false;
        QString fehler;
        EXPECT_FALSE(BusSimulator::busTextLesen(text, bus, &fehler)) << qPrintable(text);
        EXPECT_TRUE(fehler.startsWith(erwartet)) << qPrintable(fehler);
        EXPECT_FALSE(bus.takt) << "a failed read leaves the bus as it was";
    }
}

TEST_F(SimBusDateiTest, exampleFileHasTwelveMetersOnTwoBaudRates)
{
    SimBus bus;
    QString fehler;
    ASSERT_TRUE(BusSimulator::busDateiLesen(beispielPfad(), bus, &fehler)) << qPrintable(fehler);
    ASSERT_EQ(bus.zaehler.size(), 12);
    int bei2400 = 0;
    for (const SimZaehler& z : bus.zaehler)
        bei2400 += z.baud == 2400 ? 1 : z.baud == 9600 ? 0 : 100;
    EXPECT_EQ(bei2400, 6);
    EXPECT_EQ(bus.zaehler[0].telegramme.first().saetze.first(), Hex("04 06 A0 86 01 00"));
    EXPECT_EQ(bus.zaehler[10].telegramme.size(), 3);
    EXPECT_EQ(bus.zaehler[8].telegramme.first().roh.size(), 33);
    EXPECT_EQ(bus.zaehler[9].fehler.antwortAb, 2);
}

// The dates the example's comments give agree with the record bytes: a date record (VIF 6C,
// type G) holds the day in bits 0-4 of its first byte, the month in bits 0-3 of the second, and
// the year within the century in bits 5-7 of the first (low) and 4-7 of the second (high).
TEST_F(SimBusDateiTest, exampleDatesInTheCommentsAreTheDatesOfTheirRecords)
{
    QFile datei(beispielPfad());
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
    static const QRegularExpression datum(QStringLiteral(
        "^satz [0-9A-F]{2}6C ([0-9A-F]{2})([0-9A-F]{2}) .*# .*(\\d\\d)\\.(\\d\\d)\\.20(\\d\\d)"));
    int daten = 0;
    for (const QString& zeile : QString::fromUtf8(datei.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch treffer = datum.match(zeile);
        if (!treffer.hasMatch())
            continue;
        ++daten;
        const int erstes = treffer.captured(1).toInt(nullptr, 16);
        const int zweites = treffer.captured(2).toInt(nullptr, 16);
        EXPECT_EQ(erstes & 0x1F, treffer.captured(3).toInt()) << qPrintable(zeile);
        EXPECT_EQ(zweites & 0x0F, treffer.captured(4).toInt()) << qPrintable(zeile);
        EXPECT_EQ(((zweites & 0xF0) >> 1) | ((erstes & 0xE0) >> 5), treffer.captured(5).toInt())
            << qPrintable(zeile);
    }
    EXPECT_GE(daten, 1);
}

TEST_F(SimBusDateiTest, metersTelegramsBusWideFaultsAndTheModemAreRead)
{
    SimBus bus;
    QString fehler;
    schreiben("golden.hex", "68 03 03 68\n08 01 72 7B 16\n");
    ASSERT_TRUE(BusSimulator::busTextLesen("zaehler id=7\n"
                                           "zaehler id=8 adresse=3 stumm=nein spaet=20\n"
                                           "satz 0C13 01000000 # comment\n"
                                           "satz 1F\n"
                                           "roh 68 03 03 68 08 03 72 7D 16\n"
                                           "rohdatei golden.hex\n"
                                           "zaehler id=9 spaet=83.25\n"
                                           "bus takt=nein echo stumm rauschen_vor=2\n"
                                           "modem waehlzeit=100 schutzzeit=200 busbaud=9600\n"
                                           "nummer 0301234 connect 2400 nach=50\n"
                                           "nummer * NO CARRIER\n",
                                           bus, &fehler))
        << qPrintable(fehler);
    const SimZaehler& z = bus.zaehler[0];
    EXPECT_EQ(z.primaerAdresse, 0);
    EXPECT_EQ(z.hersteller, "SIM");
    EXPECT_EQ(z.baud, 2400);
    EXPECT_EQ(z.telegramme.size(), 1); // a meter without records answers with the header only
    EXPECT_TRUE(z.telegramme.first().saetze.isEmpty());
    const SimZaehler& y = bus.zaehler[1];
    ASSERT_EQ(y.telegramme.size(), 3);
    EXPECT_EQ(y.telegramme[0].saetze.size(), 2);
    EXPECT_EQ(y.telegramme[1].roh, Hex("68 03 03 68 08 03 72 7D 16"));
    EXPECT_EQ(y.telegramme[2].roh, Hex("68 03 03 68 08 01 72 7B 16"));

    // bus-wide faults are defaults that a meter overrides
    EXPECT_FALSE(bus.takt);
    EXPECT_TRUE(bus.echo);
    EXPECT_TRUE(z.fehler.stumm && !y.fehler.stumm);
    EXPECT_EQ(z.fehler.rauschenVor + y.fehler.rauschenVor, 4);
    EXPECT_EQ(y.fehler.spaetMs, 20);
    EXPECT_EQ(bus.zaehler[2].fehler.spaetMs, 83.25);

    EXPECT_TRUE(bus.modem.vorhanden);
    EXPECT_EQ(QList<int>({bus.modem.waehlzeitMs, bus.modem.schutzzeitMs, bus.modem.busBaud}),
              QList<int>({100, 200, 9600}));
    ASSERT_EQ(bus.modem.nummern.size(), 2);
    const auto& connect = bus.modem.nummern[0];
    EXPECT_EQ(connect.ergebnis, "CONNECT");
    EXPECT_EQ(QList<int>({connect.verbindungsBaud, connect.verzoegerungMs}),
              QList<int>({2400, 50}));
    EXPECT_EQ(bus.modem.nummern[1].nummer + bus.modem.nummern[1].ergebnis, "*NO CARRIER");
}
