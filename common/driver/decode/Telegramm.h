#pragma once
// A meter's RSP_UD answer, decoded: the header of the variable or fixed data structure and its
// records; or the application error a meter reports with CI 70; or the fault that kept the frame
// from being decoded.

#include "Datensatz.h"
#include "DekodierFehler.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace mbus {

struct Kopf
{
    std::uint8_t steuerfeld = 0; // C
    std::uint8_t adresse = 0;    // A: the primary address the answer came from
    std::uint8_t ci = 0;
    bool festeStruktur = false; // CI 73/77
    bool msbZuerst = false;     // CI 76/77: multi-byte fields most significant byte first
    std::uint32_t ident = 0;    // the identification number's eight BCD digits as a number
    std::uint16_t hersteller = 0;
    std::uint8_t version = 0;
    std::uint8_t medium = 0; // medium code of the variable data structure
    std::uint8_t zugriffsnummer = 0;
    std::uint8_t status = 0;
    std::uint16_t signatur = 0;
};

// The identification number as its eight digits ("04990254"); a digit beyond 9 shows as the
// hex digit the meter sent ("0500023E").
QString IdentText(const Kopf& kopf);
// The identification number as a number; none when a digit is no decimal digit.
std::optional<std::int64_t> IdentNummer(const Kopf& kopf);
// The three letters of a manufacturer code ("EFE"); "" for 0.
QString HerstellerText(std::uint16_t hersteller);

struct Telegramm
{
    Kopf kopf;
    QList<Datensatz> datensaetze;

    // The last record is DIF 1F: the meter holds more records for the next request.
    bool weitereDatensaetze() const;
    // The last record is DIF 0F: manufacturer data close the telegram, nothing more follows.
    bool herstellerdaten() const;
};

// CI 70: the meter answers with an application error instead of data.
struct Anwendungsfehler
{
    Kopf kopf;
    std::optional<std::uint8_t> code; // none: the meter sent no error byte (unspecified)
};

using Dekodierergebnis = std::variant<Telegramm, Anwendungsfehler, DekodierFehler>;

// Decodes one received long frame (68 L L 68 ... CS 16) from its first to its last byte.
Dekodierergebnis DekodiereTelegramm(QByteArrayView rahmen);

} // namespace mbus
