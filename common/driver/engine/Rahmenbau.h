#pragma once
// The link frames the master sends (EN 13757-2): short frame 10 C A CS 16 and long frame
// 68 L L 68 C A CI data CS 16. The checksum is the sum of C to the last data byte modulo 256.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace mbus {

constexpr std::uint8_t kStartKurz = 0x10;
constexpr std::uint8_t kStartLang = 0x68;
constexpr std::uint8_t kStopp = 0x16;
constexpr std::uint8_t kQuittung = 0xE5;

// C fields of the master.
constexpr std::uint8_t kSndNke = 0x40;
constexpr std::uint8_t kReqUd2 = 0x5B;
constexpr std::uint8_t kSndUd = 0x53;
constexpr std::uint8_t kFcb = 0x20; // frame count bit
constexpr std::uint8_t kFcv = 0x10; // frame count bit valid

constexpr std::uint8_t kCiAuswahl = 0x52; // select by secondary address

std::uint8_t Pruefsumme(QByteArrayView bytes);
QByteArray KurzerRahmen(std::uint8_t steuerfeld, std::uint8_t adresse);
// The data must fit the length byte together with C, A and CI (at most 252 bytes).
QByteArray LangerRahmenBytes(std::uint8_t steuerfeld, std::uint8_t adresse, std::uint8_t ci,
                             QByteArrayView daten);

} // namespace mbus
