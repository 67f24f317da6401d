#pragma once
// An exact decimal number: a whole number times a power of ten. Meter values are decimal by
// nature (a BCD or binary reading times 10^n), so scaling by powers of ten and the unit changes of
// the display never lose or invent a digit, and the value text shows what the meter sent.

#include <QString>

#include <cstdint>
#include <optional>

namespace mbus {

class Dezimal
{
public:
    __extension__ typedef unsigned __int128 Betrag;

    constexpr Dezimal() = default;
    constexpr Dezimal(bool negativ, Betrag betrag, int exponent)
        : m_negativ(negativ && betrag != 0), m_betrag(betrag), m_exponent(exponent)
    {
    }

    static Dezimal AusGanzzahl(std::int64_t wert);
    static Dezimal AusVorzeichenlos(std::uint64_t wert);
    // The shortest digits that read back as the same float; none for NaN and infinity.
    static std::optional<Dezimal> AusFloat(float wert);
    // Ten significant digits; none for NaN and infinity.
    static std::optional<Dezimal> AusDouble(double wert);

    bool negativ() const { return m_negativ; }
    Betrag betrag() const { return m_betrag; }
    int exponent() const { return m_exponent; }

    Dezimal malZehnHoch(int n) const { return Dezimal(m_negativ, m_betrag, m_exponent + n); }
    // Exact while the digits fit; beyond that through a double.
    Dezimal mal(std::uint32_t faktor) const;

    // The value as text: "." as the decimal sign, no grouping, no exponent, no trailing zeros
    // behind the point ("54.321", "-0.2", "800000", "0").
    QString text() const;
    double alsDouble() const;

    friend bool operator==(const Dezimal& a, const Dezimal& b) { return a.text() == b.text(); }

private:
    bool m_negativ = false;
    Betrag m_betrag = 0;
    int m_exponent = 0;
};

} // namespace mbus
