#pragma once
// M-Bus primary addresses (EN 13757-2): 0 to 250 belong to meters, 253 talks to the meter
// selected by its secondary address, 254 and 255 reach every meter on the bus.

#include <cstdint>

class MBusAdresse
{
public:
    // Lowest and highest address a meter can be given.
    static constexpr int kErsteZaehleradresse = 0;
    static constexpr int kLetzteZaehleradresse = 250;
    // The meter selected before by its secondary address (network layer).
    static constexpr int kNetzwerkschicht = 253;
    // Every meter, and every meter answers (only safe with a single meter on the bus).
    static constexpr int kRundrufMitAntwort = 254;
    // Every meter, no meter answers.
    static constexpr int kRundruf = 255;

    explicit constexpr MBusAdresse(std::uint8_t wert) : m_wert(wert) {}

    constexpr std::uint8_t wert() const { return m_wert; }
    constexpr bool istZaehleradresse() const { return IstZaehleradresse(m_wert); }
    constexpr bool istNetzwerkschicht() const { return m_wert == kNetzwerkschicht; }
    constexpr bool istRundruf() const { return m_wert == kRundruf || m_wert == kRundrufMitAntwort; }

    // True for a number a meter may carry as its primary address (0 to 250).
    static constexpr bool IstZaehleradresse(long long wert)
    {
        return wert >= kErsteZaehleradresse && wert <= kLetzteZaehleradresse;
    }

    friend constexpr bool operator==(MBusAdresse a, MBusAdresse b) = default;

private:
    std::uint8_t m_wert = 0;
};
