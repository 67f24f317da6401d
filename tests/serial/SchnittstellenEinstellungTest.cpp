#include "serial/SchnittstellenEinstellung.h"

#include <gtest/gtest.h>

namespace {

struct Fall
{
    const char* text;
    bool gueltig;
    qint32 baud;
    QSerialPort::Parity paritaet;
    QSerialPort::DataBits datenbits;
    QSerialPort::StopBits stoppbits;
};

class SettingsText : public ::testing::TestWithParam<Fall>
{
};

TEST_P(SettingsText, isReadIntoBaudParityDataAndStopBits)
{
    const Fall& fall = GetParam();
    const auto einstellung = SchnittstellenEinstellung::lesen(QString::fromLatin1(fall.text));
    ASSERT_EQ(einstellung.has_value(), fall.gueltig) << fall.text;
    if (!fall.gueltig)
        return;
    EXPECT_EQ(einstellung->baud, fall.baud);
    EXPECT_EQ(einstellung->paritaet, fall.paritaet);
    EXPECT_EQ(einstellung->datenbits, fall.datenbits);
    EXPECT_EQ(einstellung->stoppbits, fall.stoppbits);
}

constexpr auto N = QSerialPort::NoParity;
constexpr auto E = QSerialPort::EvenParity;
constexpr auto O = QSerialPort::OddParity;
constexpr auto D8 = QSerialPort::Data8;
constexpr auto D7 = QSerialPort::Data7;
constexpr auto S1 = QSerialPort::OneStop;
constexpr auto S2 = QSerialPort::TwoStop;

INSTANTIATE_TEST_SUITE_P(
    Texte, SettingsText,
    ::testing::Values(
        Fall{"9600,E,8,1", true, 9600, E, D8, S1}, Fall{"2400,e,8,1", true, 2400, E, D8, S1},
        Fall{"300,n,7,2", true, 300, N, D7, S2},
        Fall{" 38400 , O , 8 , 1 ", true, 38400, O, D8, S1},
        Fall{"1200,S,8,1.5", true, 1200, QSerialPort::SpaceParity, D8, QSerialPort::OneAndHalfStop},
        Fall{"", false, 0, N, D8, S1}, Fall{"9600", false, 0, N, D8, S1},
        Fall{"9600,E,8", false, 0, N, D8, S1}, Fall{"9600,E,8,1,1", false, 0, N, D8, S1},
        Fall{"abc,E,8,1", false, 0, N, D8, S1}, Fall{"0,E,8,1", false, 0, N, D8, S1},
        Fall{"-9600,E,8,1", false, 0, N, D8, S1}, Fall{"9600.5,E,8,1", false, 0, N, D8, S1},
        Fall{"99999999999,E,8,1", false, 0, N, D8, S1}, Fall{"9600,X,8,1", false, 0, N, D8, S1},
        Fall{"9600,EE,8,1", false, 0, N, D8, S1}, Fall{"9600,E,9,1", false, 0, N, D8, S1},
        Fall{"9600,E,4,1", false, 0, N, D8, S1}, Fall{"9600,E,8,3", false, 0, N, D8, S1}));

} // namespace
