// libFuzzer target of the telegram decoder. The bytes go in twice: as a received frame as they
// are, and as the user data (CI field onwards) of a frame with correct length and checksum, so
// that the search reaches the records instead of stopping at the checksum. Every record's texts
// are formed as the driver's getters would form them.

#include "driver/decode/DekodierTexte.h"
#include "driver/decode/Telegramm.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

void TexteBilden(const mbus::Dekodierergebnis& ergebnis)
{
    using namespace mbus;
    for (const Sprache sprache : {Sprache::Deutsch, Sprache::Englisch}) {
        if (const auto* fehler = std::get_if<DekodierFehler>(&ergebnis)) {
            (void)DekodierFehlerText(*fehler, sprache);
            (void)EmpfangsfehlerBits(*fehler);
        } else if (const auto* anwendung = std::get_if<Anwendungsfehler>(&ergebnis)) {
            (void)AnwendungsfehlerText(anwendung->code, sprache);
        } else {
            const Telegramm& t = std::get<Telegramm>(ergebnis);
            (void)IdentText(t.kopf);
            (void)IdentNummer(t.kopf);
            (void)HerstellerText(t.kopf.hersteller);
            (void)MediumText(t.kopf.medium, sprache);
            (void)StatusText(t.kopf, sprache);
            for (const Datensatz& d : t.datensaetze) {
                (void)BeschreibungText(d, sprache);
                (void)EinheitText(d, sprache);
                (void)DatenfeldText(d, sprache);
                (void)FunktionText(d.funktion, sprache);
                (void)WertText(d);
                (void)WertHex(d);
                if (const auto* z = std::get_if<Zeitpunkt>(&d.wert))
                    (void)z->alsDateTime();
                if (const auto* zahl = std::get_if<Dezimal>(&d.wert))
                    (void)zahl->alsDouble();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    TexteBilden(mbus::DekodiereTelegramm(bytes));

    constexpr std::size_t kMaxNutzdaten = 255 - 2; // L counts C and A too
    if (groesse == 0 || groesse > kMaxNutzdaten)
        return 0;
    QByteArray rahmen;
    rahmen.append(char(0x68))
        .append(char(groesse + 2))
        .append(char(groesse + 2))
        .append(char(0x68));
    rahmen.append(char(0x08)).append(char(0x01)).append(bytes.data(), bytes.size());
    std::uint8_t summe = 0x08 + 0x01;
    for (std::size_t i = 0; i < groesse; ++i)
        summe = std::uint8_t(summe + daten[i]);
    rahmen.append(char(summe)).append(char(0x16));
    TexteBilden(mbus::DekodiereTelegramm(rahmen));
    return 0;
}
