#include "Einheiten.h"

#include <array>

namespace mbus {

namespace {

using E = Einheit;

// Unit changes by a power of ten and a whole factor: exact.
struct Umrechnung
{
    Einheit von;
    Einheit nach;
    int zehnerpotenz;
    std::uint32_t faktor;
};

// clang-format off
constexpr Umrechnung kUmrechnungen[] = {
    // from                    to                       10^n  factor
    {E::Wh,                    E::kWh,                    -3,    1},
    {E::J,                     E::GJ,                     -9,    1},
    {E::Kilogramm,             E::Tonne,                  -3,    1},
    {E::Watt,                  E::Kilowatt,               -3,    1},
    {E::Megawatt,              E::Kilowatt,                3,    1},
    {E::JouleProStunde,        E::GJProStunde,            -9,    1},
    {E::KubikmeterProMinute,   E::KubikmeterProStunde,     0,   60},
    {E::KubikmeterProSekunde,  E::KubikmeterProStunde,     0, 3600},
    {E::KilogrammProStunde,    E::TonneProStunde,         -3,    1},
};
// clang-format on

constexpr double kKubikmeterJeKubikfuss = 0.028316846592;

struct EinheitTexte
{
    const char* deutsch;
    const char* englisch;
};

constexpr std::array<EinheitTexte, static_cast<std::size_t>(E::Anzahl_)> kTexte = {{
    {"", ""},
    {"Wh", "Wh"},
    {"kWh", "kWh"},
    {"MWh", "MWh"},
    {"J", "J"},
    {"GJ", "GJ"},
    {"MCal", "MCal"},
    {"m^3", "m^3"},
    {"ft^3", "ft^3"},
    {"kg", "kg"},
    {"t", "t"},
    {"s", "s"},
    {"min", "min"},
    {"h", "h"},
    {"d", "d"},
    {"Monate", "months"},
    {"Jahre", "years"},
    {"W", "W"},
    {"kW", "kW"},
    {"MW", "MW"},
    {"J/h", "J/h"},
    {"GJ/h", "GJ/h"},
    {"m^3/h", "m^3/h"},
    {"m^3/min", "m^3/min"},
    {"m^3/s", "m^3/s"},
    {"kg/h", "kg/h"},
    {"t/h", "t/h"},
    {"°C", "°C"},
    {"K", "K"},
    {"°F", "°F"},
    {"°F", "°F"},
    {"bar", "bar"},
    {"Währungseinheiten", "currency units"},
    {"Baud", "Baud"},
    {"Bitzeiten", "bit times"},
    {"V", "V"},
    {"A", "A"},
    {"%", "%"},
    {"°", "°"},
    {"Hz", "Hz"},
    {"kvarh", "kvarh"},
    {"kVAh", "kVAh"},
    {"kvar", "kvar"},
    {"kVA", "kVA"},
    {"dBm", "dBm"},
}};
static_assert(kTexte.back().deutsch != nullptr, "one text pair for every unit");

AngezeigterWert UeberDouble(Einheit nach, double wert)
{
    return {nach, Dezimal::AusDouble(wert).value_or(Dezimal())};
}

} // namespace

AngezeigterWert InAnzeigeeinheit(Einheit einheit, const Dezimal& wert)
{
    for (const Umrechnung& u : kUmrechnungen) {
        if (u.von == einheit)
            return {u.nach, wert.mal(u.faktor).malZehnHoch(u.zehnerpotenz)};
    }
    switch (einheit) {
    case E::Kubikfuss:
        return UeberDouble(E::Kubikmeter, wert.alsDouble() * kKubikmeterJeKubikfuss);
    case E::GradFahrenheit:
        return UeberDouble(E::GradCelsius, (wert.alsDouble() - 32.0) * 5.0 / 9.0);
    case E::FahrenheitDifferenz:
        return UeberDouble(E::Kelvin, wert.alsDouble() * 5.0 / 9.0);
    default:
        return {einheit, wert};
    }
}

QString EinheitText(Einheit einheit, Sprache sprache)
{
    const auto i = static_cast<std::size_t>(einheit);
    if (i >= kTexte.size())
        return {};
    return QString::fromUtf8(sprache == Sprache::Englisch ? kTexte[i].englisch : kTexte[i].deutsch);
}

} // namespace mbus
