#include "grid/ZellenFormat.h"

#include "platform/Global.h"
#include "support/TestUmgebung.h"

using ZellenFormatTest = TestUmgebung;

TEST_F(ZellenFormatTest, zahlenUndDatenNachDemMusterUnpassendesBleibt)
{
    const struct
    {
        const char *text, *muster, *erwartet;
    } faelle[] = {
        // clang-format off
        {"12.5", "0.00", "12,50"}, {"-7,25", "0.0", "-7,3"}, {"1.23456", "#0.0##", "1,235"},
        {"1.5", "#0.0##", "1,5"}, {"0.5", "#.##", ",5"}, {"123", "00000", "00123"},
        {"12", "0.00 kWh", "12,00 kWh"}, {"1E3", "0", "1000"}, {"2.5", "0", "3"},
        {"-2.5", "0", "-3"}, {"1.005", "0.00", "1,01"}, {"99.995", "0.00", "100,00"},
        {"-0.001", "0.00", "0,00"},
        {"07.12.2026 08:15:30", "yymmddhhnn", "2612070815"},
        {"07.12.2026  08:15:30", "DD.MM.YY hh:mm", "07.12.26 08:15"},
        {"07.12.2026 08:15:30", "dd.mm.yyyy hh:nn:ss", "07.12.2026 08:15:30"},
        {"7.12.26", "d.m.yyyy", "7.12.2026"}, {"08:05:09", "h:nn mm:ss", "8:05 05:09"},
        // not fitting the pattern, or no pattern of the set: unchanged
        {"abc", "0.00", "abc"}, {"", "0.00", ""}, {"1.234,5", "0.00", "1.234,5"},
        {"12.5", "#,##0.00", "12.5"}, {"abc", "dd.mm.yyyy", "abc"},
        {"31.02.2026", "dd.mm.yyyy", "31.02.2026"}, {"12.5", "dd.mm.yyyy", "12.5"},
        {"07.12.2026", "ddd", "07.12.2026"}, {"Wärme", "@@@", "Wärme"},
        // clang-format on
    };
    FehlerText = "vorher";
    for (const auto& f : faelle)
        EXPECT_EQ(ZelleFormatieren(QString::fromUtf8(f.text), f.muster),
                  QString::fromUtf8(f.erwartet))
            << f.text << " / " << f.muster;
    EXPECT_EQ(FehlerText, "vorher");
}
