#include "Modemzeile.h"

namespace mbus {

namespace {

// Longer than any result or command line a modem sends.
constexpr qsizetype kLaengsteZeile = 128;

} // namespace

std::optional<QByteArray> Modemzeile::nimm(char zeichen)
{
    if (zeichen == '\r' || zeichen == '\n') {
        if (m_zeile.isEmpty())
            return std::nullopt;
        QByteArray zeile;
        zeile.swap(m_zeile);
        return zeile;
    }
    if (m_zeile.size() >= kLaengsteZeile)
        m_zeile.remove(0, 1);
    m_zeile += zeichen;
    return std::nullopt;
}

} // namespace mbus
