#include "Dezimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace mbus {

namespace {

std::string Ziffern(Dezimal::Betrag betrag)
{
    if (betrag == 0)
        return "0";
    std::string ziffern;
    while (betrag != 0) {
        ziffern.insert(ziffern.begin(), static_cast<char>('0' + static_cast<int>(betrag % 10)));
        betrag /= 10;
    }
    return ziffern;
}

// Reads the scientific form "-d.ddde+xx" that to_chars writes.
std::optional<Dezimal> AusWissenschaftlich(const char* anfang, const char* ende)
{
    bool negativ = false;
    Dezimal::Betrag betrag = 0;
    int nachkomma = 0;
    bool punkt = false;
    const char* p = anfang;
    if (p != ende && *p == '-') {
        negativ = true;
        ++p;
    }
    for (; p != ende && *p != 'e'; ++p) {
        if (*p == '.') {
            punkt = true;
            continue;
        }
        if (*p < '0' || *p > '9')
            return std::nullopt;
        betrag = betrag * 10 + static_cast<unsigned>(*p - '0');
        if (punkt)
            ++nachkomma;
    }
    int exponent = 0;
    if (p != ende) {
        ++p;
        if (p != ende && *p == '+')
            ++p;
        if (std::from_chars(p, ende, exponent).ec != std::errc())
            return std::nullopt;
    }
    return Dezimal(negativ, betrag, exponent - nachkomma);
}

} // namespace

Dezimal Dezimal::AusGanzzahl(std::int64_t wert)
{
    // The magnitude of the smallest int64 does not fit an int64: go through unsigned.
    const std::uint64_t betrag =
        wert < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(wert) : std::uint64_t(wert);
    return Dezimal(wert < 0, betrag, 0);
}

Dezimal Dezimal::AusVorzeichenlos(std::uint64_t wert)
{
    return Dezimal(false, wert, 0);
}

std::optional<Dezimal> Dezimal::AusFloat(float wert)
{
    if (!std::isfinite(wert))
        return std::nullopt;
    char puffer[64];
    const auto [ende, fehler] =
        std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::scientific);
    if (fehler != std::errc())
        return std::nullopt;
    return AusWissenschaftlich(puffer, ende);
}

std::optional<Dezimal> Dezimal::AusDouble(double wert)
{
    if (!std::isfinite(wert))
        return std::nullopt;
    char puffer[64];
    const auto [ende, fehler] =
        std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::scientific, 9);
    if (fehler != std::errc())
        return std::nullopt;
    return AusWissenschaftlich(puffer, ende);
}

Dezimal Dezimal::mal(std::uint32_t faktor) const
{
    if (faktor == 0 || m_betrag <= std::numeric_limits<Betrag>::max() / faktor)
        return Dezimal(m_negativ, m_betrag * faktor, m_exponent);
    return AusDouble(alsDouble() * faktor).value_or(Dezimal());
}

QString Dezimal::text() const
{
    std::string ziffern = Ziffern(m_betrag);
    if (m_betrag == 0)
        return QStringLiteral("0");
    if (m_exponent >= 0) {
        ziffern.append(static_cast<std::size_t>(m_exponent), '0');
    } else {
        const std::size_t nachkomma = static_cast<std::size_t>(-static_cast<long long>(m_exponent));
        if (ziffern.size() <= nachkomma)
            ziffern.insert(0, nachkomma - ziffern.size() + 1, '0');
        ziffern.insert(ziffern.size() - nachkomma, 1, '.');
        while (ziffern.back() == '0')
            ziffern.pop_back();
        if (ziffern.back() == '.')
            ziffern.pop_back();
    }
    if (m_negativ)
        ziffern.insert(ziffern.begin(), '-');
    return QString::fromLatin1(ziffern.data(), static_cast<qsizetype>(ziffern.size()));
}

double Dezimal::alsDouble() const
{
    return std::strtod(text().toLatin1().constData(), nullptr);
}

} // namespace mbus
