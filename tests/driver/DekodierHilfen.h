#pragma once
// Helpers of the decoder tests: frames from hex text, frames built around records, and decoding
// from a buffer of exactly the frame's size (so that the sanitizers see any read past its end).

#include "driver/decode/DekodierTexte.h"
#include "driver/decode/Telegramm.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace dekodiertest {

inline QByteArray Hex(const QString& text)
{
    return QByteArray::fromHex(text.toLatin1());
}

// Decodes from a copy on the heap that ends exactly with the frame.
inline mbus::Dekodierergebnis DekodiereGenau(const QByteArray& bytes)
{
    const std::vector<char> puffer(bytes.begin(), bytes.end());
    return mbus::DekodiereTelegramm(QByteArrayView(puffer.data(), qsizetype(puffer.size())));
}

// A long frame 68 L L 68 C A CI data CS 16 with length and checksum computed.
inline QByteArray BaueRahmen(const QByteArray& nutzdaten, quint8 ci = 0x72, quint8 c = 0x08,
                             quint8 a = 0x05)
{
    QByteArray inhalt;
    inhalt.append(char(c)).append(char(a)).append(char(ci)).append(nutzdaten);
    quint8 summe = 0;
    for (const char b : inhalt)
        summe = quint8(summe + quint8(b));
    QByteArray rahmen;
    rahmen.append(char(0x68)).append(char(inhalt.size())).append(char(inhalt.size()));
    rahmen.append(char(0x68)).append(inhalt).append(char(summe)).append(char(0x16));
    return rahmen;
}

// The header of a variable data structure: ident 12345678, "EFE", version 1, medium heat,
// access 0x2A, status 0, signature 0.
inline QByteArray VariablerKopf()
{
    return Hex(QStringLiteral("78563412C51401042A000000"));
}

// A CI 72 answer of address 5 with that header and the records given as hex.
inline QByteArray RahmenMit(const QString& datensaetzeHex)
{
    return BaueRahmen(VariablerKopf() + Hex(datensaetzeHex));
}

// The fault of a frame in English; "" when it decodes.
inline QString FehlerText(const QByteArray& rahmen)
{
    const auto ergebnis = DekodiereGenau(rahmen);
    const auto* fehler = std::get_if<mbus::DekodierFehler>(&ergebnis);
    return fehler ? mbus::DekodierFehlerText(*fehler, mbus::Sprache::Englisch) : QString();
}

// The records of a CI 72 telegram built from record bytes given as hex.
inline QList<mbus::Datensatz> AlleDatensaetze(const QString& datensaetzeHex)
{
    const auto ergebnis = DekodiereGenau(RahmenMit(datensaetzeHex));
    const auto* telegramm = std::get_if<mbus::Telegramm>(&ergebnis);
    if (!telegramm) {
        ADD_FAILURE() << "no telegram: " << FehlerText(RahmenMit(datensaetzeHex)).toStdString();
        return {};
    }
    return telegramm->datensaetze;
}

// The one record of a telegram built from its bytes.
inline mbus::Datensatz EinDatensatz(const QString& datensatzHex)
{
    const QList<mbus::Datensatz> alle = AlleDatensaetze(datensatzHex);
    EXPECT_EQ(alle.size(), 1) << datensatzHex.toStdString();
    return alle.isEmpty() ? mbus::Datensatz() : alle.front();
}

} // namespace dekodiertest
