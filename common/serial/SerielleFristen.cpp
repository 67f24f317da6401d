#include "SerielleFristen.h"

#include <cmath>

namespace {

// Longer waits than a day are taken as a day (also keeps the arithmetic in range).
constexpr double kLaengsteWarteSekunden = 86400.0;

double Begrenzt(double sekunden)
{
    return std::isfinite(sekunden) ? qBound(0.0, sekunden, kLaengsteWarteSekunden) : 0.0;
}

} // namespace

qint64 DrahtzeitMs(qsizetype bytes, qint32 baud)
{
    return static_cast<qint64>(std::ceil(1000.0 * static_cast<double>(bytes) * kBitsJeByte /
                                         static_cast<double>(qMax(baud, 1))));
}

qint64 SendeFristMs(qsizetype bytes, qint32 baud, double sendeZeitlimitSekunden)
{
    const double gegeben = Begrenzt(sendeZeitlimitSekunden);
    if (gegeben > 0)
        return static_cast<qint64>(std::ceil(gegeben * 1000.0));
    return DrahtzeitMs(bytes, baud) + 1000;
}

qint64 LeseGesamtfristMs(double zeitlimitSekunden, qint32 baud)
{
    return static_cast<qint64>(std::ceil(3000.0 * Begrenzt(zeitlimitSekunden))) + 1000 +
           2 * DrahtzeitMs(kLaengsterRahmen, baud);
}

qint64 DrahtzeitNs(qsizetype bytes, qint32 baud)
{
    return static_cast<qint64>(1e9 * static_cast<double>(bytes) * kBitsJeByte /
                               static_cast<double>(qMax(baud, 1)));
}

qint64 AntwortfristMs(qint32 baud)
{
    constexpr int kFensterBits = 330;
    constexpr int kFensterMs = 50;
    constexpr int kZugabeMs = 1;
    return static_cast<qint64>(std::ceil(1000.0 * (kFensterBits + kBitsJeByte) /
                                         static_cast<double>(qMax(baud, 1)))) +
           kFensterMs + kZugabeMs;
}

qint64 LeerlesenFristMs(qint32 baud)
{
    return 1000 + DrahtzeitMs(kLaengsterRahmen, baud);
}
