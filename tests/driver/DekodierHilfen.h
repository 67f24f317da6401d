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

// The records of a CI 72 telegram built from record bytes given as hex.
inline QList<mbus::Datensatz> AlleDatensaetze(const QString& datensaetzeHex)
{
    const auto ergebnis = DekodiereGenau(BaueRahmen(VariablerKopf() + Hex(datensaetzeHex)));
    if (const auto* fehler = std::get_if<mbus::DekodierFehler>(&ergebnis)) {
        ADD_FAILURE() << mbus::DekodierFehlerText(*fehler, mbus::Sprache::Deutsch).toStdString();
        return {};
    }
    if (!std::holds_alternative<mbus::Telegramm>(ergebnis)) {
        ADD_FAILURE() << "no telegram";
        return {};
    }
    return std::get<mbus::Telegramm>(ergebnis).datensaetze;
}

// The one record of a telegram built from its bytes.
inline mbus::Datensatz EinDatensatz(const QString& datensatzHex)
{
    const QList<mbus::Datensatz> alle = AlleDatensaetze(datensatzHex);
    EXPECT_EQ(alle.size(), 1) << datensatzHex.toStdString();
    return alle.isEmpty() ? mbus::Datensatz() : alle.front();
}

} // namespace dekodiertest
