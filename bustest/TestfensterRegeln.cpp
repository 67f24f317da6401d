#include "TestfensterRegeln.h"

#include "TestfensterEinstellungen.h"

#include <QRegularExpression>

#include <cmath>

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

bool IstNumerisch(const QString& text)
{
    static const QRegularExpression zahl(
        QStringLiteral("^\\s*[+-]?\\s*(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return zahl.match(text).hasMatch();
}

namespace {

QVariant Zahl(const QString& text)
{
    const double wert = Val(text);
    if (std::fabs(wert) < 1e15 && wert == std::trunc(wert))
        return QVariant::fromValue(static_cast<long long>(wert));
    return wert;
}

} // namespace

bool PortParameterLesen(const QString& portText, const QString& baudText, QVariant& port,
                        QVariant& baud)
{
    if (!portText.isEmpty() && IstNumerisch(portText))
        port = QStringLiteral("Com ") + Zahl(portText).toString();
    if (!baudText.isEmpty() && IstNumerisch(baudText))
        baud = Zahl(baudText);
    return true;
}
