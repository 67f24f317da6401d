// Windows-1252 text, Windows-style paths and the text-file layer.

#include "platform/Cp1252.h"
#include "platform/Pfad.h"
#include "platform/Textdatei.h"
#include "support/TestUmgebung.h"

using PlattformTest = TestUmgebung;

TEST(Cp1252, jedesByteUeberstehtDenHinUndRueckweg)
{
    QByteArray alle;
    for (int i = 0; i < 256; ++i)
        alle += static_cast<char>(i);
    EXPECT_EQ(TextZuCp1252(Cp1252ZuText(alle)), alle);
    EXPECT_EQ(Cp1252ZuText(QByteArray("\x80\xE4\xDF\x84", 4)), "€äß„");
    EXPECT_EQ(TextZuCp1252("Zähler € a→b"), "Z\xE4hler \x80 a?b"); // no code: "?"
    EXPECT_EQ(Chr(153), QChar(0x2122));
    EXPECT_EQ(Asc(Chr(153)), 153);
}

TEST_F(PlattformTest, windowsPfadFindetVorhandeneNamenOhneRuecksichtAufGrossschreibung)
{
    schreiben("zep.ini", "x");
    schreiben("DB200/MBusLog/261205mb.log", "x");
    schreiben("laufwerk/Daten/200/x", "x");
    qputenv("TELVARIN_LAUFWERK_D", pfad("laufwerk").toLocal8Bit());
    const QList<QPair<QString, QString>> faelle = {
        {".\\ZEP.INI", "./zep.ini"},
        {".\\db200\\mbuslog\\261205MB.LOG", "./DB200/MBusLog/261205mb.log"},
        {".\\db200\\Neu\\", "./DB200/Neu/"}, // missing components stay as written
        {"neu\\Datei.txt", "neu/Datei.txt"},
        {"", ""},
        {".\\", "./"},
        {"d:\\daten\\200\\", pfad("laufwerk/Daten/200/")},
        {"Q:\\nirgends\\a", "/nirgends/a"},
    };
    for (const auto& [windows, aufgeloest] : faelle)
        EXPECT_EQ(PfadAufloesen(windows), aufgeloest) << windows.toStdString();
    qunsetenv("TELVARIN_LAUFWERK_D");
    EXPECT_EQ(OrdnerVon("./DB200/MBusLog/a.log"), "./DB200/MBusLog");
    EXPECT_EQ(OrdnerVon("a.log"), "");
    EXPECT_EQ(OrdnerVon("/a.log"), "/");
}

TEST_F(PlattformTest, textdateienSindWindows1252MitCrLf)
{
    EXPECT_EQ(TextZeilenTrennen("a\r\nb\nc"), QStringList({"a", "b", "c"}));
    EXPECT_EQ(TextZeilenTrennen("a\r\n\r\nb\r\n"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(TextZeilenTrennen("").isEmpty());

    ASSERT_TRUE(TextZeilenAnhaengen(pfad("t.txt"), {"Wärme", "b"}));
    ASSERT_TRUE(TextZeilenAnhaengen(pfad("t.txt"), {"c"}));
    EXPECT_EQ(lesen("t.txt"), "W\xE4rme\r\nb\r\nc\r\n");
    QStringList zeilen;
    ASSERT_TRUE(TextdateiLesen(pfad("t.txt"), zeilen));
    EXPECT_EQ(zeilen, QStringList({"Wärme", "b", "c"}));
}

TEST_F(PlattformTest, fehlendeUndZuGrosseDateienWerdenNichtGelesen)
{
    QStringList zeilen{"alt"};
    QString fehler;
    EXPECT_FALSE(TextdateiLesen(pfad("fehlt.txt"), zeilen, &fehler));
    EXPECT_TRUE(zeilen.isEmpty());
    EXPECT_FALSE(fehler.isEmpty());
    schreiben("gross.txt", QByteArray(2000, 'x'));
    EXPECT_FALSE(TextdateiLesen(pfad("gross.txt"), zeilen, &fehler, 1000));
    EXPECT_FALSE(TextZeilenAnhaengen(pfad("fehlt/t.txt"), {"x"}, &fehler));
}
