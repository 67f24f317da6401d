#include "TestfensterRegeln.h"

#include "TestfensterEinstellungen.h"
#include "driver/faces/TreiberEingaben.h"
#include "serial/ComZuordnung.h"

#include <optional>

bool BusAnsichtNachWechsel(const QString& menueCaption)
{
    return menueCaption != kAnsichtBus;
}

bool DienstschalterGesetzt(const QString& kommandozeile)
{
    return kommandozeile.contains(kDienstschalter, Qt::CaseSensitive);
}

QString HoechsteAdresseUmschalten(const QString& text)
{
    return Val(text) == 255 ? QStringLiteral("10") : QStringLiteral("255");
}

namespace {

// The whole number of a box of digits (blanks around them allowed); none for anything else.
std::optional<int> Ziffern(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5)
        return std::nullopt;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return t.toInt();
}

} // namespace

bool PortParameterLesen(const QString& portText, const QString& baudText, QVariant& port,
                        QVariant& baud, QString* fehler)
{
    const std::optional<int> portNummer = Ziffern(portText);
    const std::optional<int> rate = TreiberBaud(Ziffern(baudText).value_or(0));
    QString grund;
    if (!portText.trimmed().isEmpty() &&
        !(portNummer && *portNummer >= kErsterComPort && *portNummer <= kLetzterComPort))
        grund = kComPortUngueltig;
    else if (!baudText.trimmed().isEmpty() && !rate)
        grund = kBaudUngueltig;
    if (!grund.isEmpty()) {
        if (fehler)
            *fehler = grund;
        return false;
    }
    if (portNummer)
        port = QStringLiteral("Com ") + QString::number(*portNummer);
    if (rate)
        baud = QVariant::fromValue(static_cast<long long>(*rate));
    return true;
}
