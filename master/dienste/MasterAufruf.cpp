#include "MasterAufruf.h"

#include "text/Texte.h"

#include <cmath>
#include <limits>

double SchalterWert(const QString& zeile, qsizetype p)
{
    const QString mitBlank = zeile + QLatin1Char(' ');
    const qsizetype q = mitBlank.indexOf(QLatin1Char(' '), p);
    return Val(zeile.mid(p + 2, q - p - 2));
}

MasterAufruf MasterAufrufLesen(const QString& zeile)
{
    MasterAufruf aufruf;
    const qsizetype c = zeile.toUpper().indexOf(QStringLiteral("-C"));
    if (c >= 0) {
        const double port = SchalterWert(zeile, c);
        // A port is a small whole number; anything else names no port.
        if (std::isfinite(port) && port >= 0 && port <= std::numeric_limits<qint16>::max())
            aufruf.comPort = static_cast<int>(port);
    }
    const qsizetype t = zeile.indexOf(QStringLiteral("-T"));
    if (t >= 0) {
        const double ms = SchalterWert(zeile, t);
        if (std::isfinite(ms) && ms >= 0)
            aufruf.meterPause = ms / 1000.0;
    }
    aufruf.autoStart = zeile.contains(QStringLiteral("Auto"));
    aufruf.testzaehler = zeile.contains(QStringLiteral("testzaehler"), Qt::CaseInsensitive);
    aufruf.schrittModus = zeile.toUpper().contains(QStringLiteral("TEST "));
    return aufruf;
}
