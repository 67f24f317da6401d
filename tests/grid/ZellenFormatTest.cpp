#include "grid/ZellenFormat.h"

#include "platform/Global.h"
#include "platform/Uhr.h"
#include "support/TestUmgebung.h"

namespace {

struct Fall
{
    const char* text;
    const char* muster;
    const char* erwartet;
};

void Pruefen(const std::initializer_list<Fall>& faelle)
{
    for (const Fall& f : faelle)
        EXPECT_EQ(ZelleFormatieren(QString::fromUtf8(f.text), QString::fromUtf8(f.muster)),
                  QString::fromUtf8(f.erwartet))
            << f.text << " / " << f.muster;
}

} // namespace

class ZellenFormatTest : public TestUmgebung
{
};

TEST_F(ZellenFormatTest, zahlmusterSchreibenDeutschMitDezimalkomma)
{
    Pruefen({
        {"12.5", "0.00", "12,50"},
        {"12,5", "0.00", "12,50"},
        {"3", "0.000", "3,000"},
        {"-7,25", "0.0", "-7,3"},
        {"1.23456", "#0.0##", "1,235"},
        {"1.5", "#0.0##", "1,5"},
        {"0", "#0.0##", "0,0"},
        {"0.5", "#.##", ",5"},
        {"1234567.891", "#,##0.00", "1.234.567,89"},
        {"123", "00000", "00123"},
        {"0.256", "0%", "26%"},
        {"12", "0.00 kWh", "12,00 kWh"},
        {"12", "\"Nr. \"0", "Nr. 12"},
        {"1E3", "0", "1000"},
        {" 42 ", "0", "42"},
        {"12.5", "Fixed", "12,50"},
        {"1234.5", "Standard", "1.234,50"},
    });
}

TEST_F(ZellenFormatTest, zahlenRundenHalbWegVonNullAufDemDezimalwert)
{
    Pruefen({
        {"2.5", "0", "3"},
        {"-2.5", "0", "-3"},
        {"1.005", "0.00", "1,01"},
        {"99.995", "0.00", "100,00"},
        {"0.000001234", "0.000000000", "0,000001234"},
        {"123456789012345678", "0", "123456789012346000"},
        {"-0.001", "0.00", "0,00"},
    });
}

TEST_F(ZellenFormatTest, datumsmusterSchreibenDieFelderDesDatums)
{
    Pruefen({
        {"07.12.2026 08:15:30", "dd.mm.yyyy hh:nn:ss", "07.12.2026 08:15:30"},
        {"07.12.2026 08:15:30", "dd.mm.yyyy hh:mm:ss", "07.12.2026 08:15:30"},
        {"07.12.2026 08:15:30", "yymmddhhnn", "2612070815"},
        {"07.12.2026  08:15:30", "DD.MM.YYYY HH:NN", "07.12.2026 08:15"},
        {"2026-12-07 08:15", "dd/mm/yy", "07.12.26"},
        {"7.12.26", "d.m.yyyy", "7.12.2026"},
        {"08:05", "h:nn", "8:05"},
        {"07.12.2026", "ddd dd. mmmm yyyy", "Mo 07. Dezember 2026"},
        {"01.03.2026", "dddd, d. mmm", "Sonntag, 1. Mrz"},
        {"07.12.2026 08:15:30", "Short Date", "07.12.2026"},
        {"07.12.2026 08:15:30", "Long Time", "08:15:30"},
    });
}

TEST_F(ZellenFormatTest, textDerNichtZumMusterPasstBleibtUnveraendert)
{
    Pruefen({
        {"abc", "0.00", "abc"},
        {"", "0.00", ""},
        {"1.234,5", "0.00", "1.234,5"},
        {"12.5", "0.00E+00", "12.5"},
        {"abc", "dd.mm.yyyy", "abc"},
        {"31.02.2026", "dd.mm.yyyy", "31.02.2026"},
        {"12.5", "dd.mm.yyyy", "12.5"},
        {"Wärme", "@@@", "Wärme"},
    });
}

TEST_F(ZellenFormatTest, grossUndKleinschreibungsmuster)
{
    Pruefen({{"Wärme kWh", ">", "WÄRME KWH"}, {"Wärme kWh", "<", "wärme kwh"}});
}

TEST_F(ZellenFormatTest, formatierenLaesstFehlerTextStehen)
{
    FehlerText = QStringLiteral("vorher");
    ZelleFormatieren(QStringLiteral("abc"), QStringLiteral("0.00"));
    ZelleFormatieren(QStringLiteral("1,5"), QStringLiteral("0.00"));
    EXPECT_EQ(FehlerText, QStringLiteral("vorher"));
}

TEST_F(ZellenFormatTest, datumFormatierenSchreibtDateinamenZeit)
{
    const QDateTime zeit = Wandzeit(QDate(2026, 12, 7), QTime(8, 15, 30));
    EXPECT_EQ(DatumFormatieren(zeit, QStringLiteral("yymmddhhnn")), QStringLiteral("2612070815"));
}
