#include "Zykluszeiten.h"

#include "platform/Global.h"
#include "settings/IniDatei.h"
#include "text/Texte.h"

namespace {

const std::array<double, 5> kGruppenVorgabe = {2.0, 1.0, 0.27, 0.15, 0.075};
constexpr double kZaehlerVorgabe = 0.24;

// The value of the key, or its default when the value reads as 0 (the default written back).
QString Einstellung(const QString& abschnitt, const QString& schluessel, double vorgabe,
                    const QString& datei)
{
    const QString text = ProfilLesen(abschnitt, schluessel, QString(), datei);
    // A text that is no number reads as 0 too; that is no failure of the start-up.
    const QString fehlerVorher = FehlerText;
    const double wert = MB_TextZuDouble(text);
    FehlerText = fehlerVorher;
    if (wert != 0.0)
        return text;
    const QString vorgabeText = ZahlAlsText(vorgabe);
    ProfilSchreiben(abschnitt, schluessel, vorgabeText, datei);
    return vorgabeText;
}

} // namespace

double Zykluszeiten::sekundenJeZaehler() const
{
    return MB_TextZuDouble(MBTime);
}

std::optional<double> Zykluszeiten::gruppenSekunden(int baud) const
{
    const int s = spalte(baud);
    if (s < 0)
        return std::nullopt;
    return MB_TextZuDouble(Time[static_cast<size_t>(s - 2)]);
}

int Zykluszeiten::spalte(int baud)
{
    for (size_t i = 0; i < kBaudraten.size(); ++i)
        if (kBaudraten[i] == baud)
            return static_cast<int>(i) + 2;
    return -1;
}

Zykluszeiten ZykluszeitenLaden(const QString& datei)
{
    const QString abschnitt = Mandant + QStringLiteral("MBus");
    Zykluszeiten z;
    z.MBTime = Einstellung(abschnitt, QStringLiteral("MBTime"), kZaehlerVorgabe, datei);
    for (size_t i = 0; i < z.Time.size(); ++i)
        z.Time[i] = Einstellung(
            abschnitt, QStringLiteral("Time") + QString::number(Zykluszeiten::kBaudraten[i]),
            kGruppenVorgabe[i], datei);
    return z;
}
