#include "Rahmenbau.h"

namespace mbus {

std::uint8_t Pruefsumme(QByteArrayView bytes)
{
    std::uint8_t summe = 0;
    for (const char b : bytes)
        summe = static_cast<std::uint8_t>(summe + static_cast<std::uint8_t>(b));
    return summe;
}

QByteArray KurzerRahmen(std::uint8_t steuerfeld, std::uint8_t adresse)
{
    QByteArray rahmen;
    rahmen.append(static_cast<char>(kStartKurz));
    rahmen.append(static_cast<char>(steuerfeld));
    rahmen.append(static_cast<char>(adresse));
    rahmen.append(static_cast<char>(Pruefsumme(QByteArrayView(rahmen).sliced(1))));
    rahmen.append(static_cast<char>(kStopp));
    return rahmen;
}

QByteArray LangerRahmenBytes(std::uint8_t steuerfeld, std::uint8_t adresse, std::uint8_t ci,
                             QByteArrayView daten)
{
    QByteArray inhalt;
    inhalt.append(static_cast<char>(steuerfeld));
    inhalt.append(static_cast<char>(adresse));
    inhalt.append(static_cast<char>(ci));
    inhalt.append(daten);
    const char laenge = static_cast<char>(inhalt.size());
    QByteArray rahmen;
    rahmen.append(static_cast<char>(kStartLang)).append(laenge).append(laenge);
    rahmen.append(static_cast<char>(kStartLang)).append(inhalt);
    rahmen.append(static_cast<char>(Pruefsumme(inhalt)));
    rahmen.append(static_cast<char>(kStopp));
    return rahmen;
}

} // namespace mbus
