#include "ProviderListe.h"

#include "platform/Global.h"
#include "settings/Einstellungen.h"

#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int kStandardTreiber = 1;

const char* const kTreiber[] = {"MBus OLE V1", "MBus OLE V2", "MBus ZEP"};
constexpr int kTreiberAnzahl = static_cast<int>(std::size(kTreiber));

// The number a text begins with, as the stored value is read: blanks, a sign, digits and a
// decimal point; "" and a text without a leading number give 0. Halves round to even.
double FuehrendeZahl(const QString& text)
{
    static const QRegularExpression zahl(QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch treffer = zahl.match(text);
    if (!treffer.hasMatch())
        return 0;
    return treffer.captured(1).toDouble();
}

int Treibernummer(const QString& gespeichert)
{
    const double wert = std::nearbyint(FuehrendeZahl(gespeichert));
    if (wert <= 0 || wert >= kTreiberAnzahl)
        return kStandardTreiber;
    return static_cast<int>(wert);
}

} // namespace

int MB_ProviderListeLaden(AuswahlListe& liste, const QVariant& suffix)
{
    liste.clear();
    for (int nummer = 0; nummer < kTreiberAnzahl; ++nummer)
        liste.addItem(QString::fromLatin1(kTreiber[nummer]), nummer);

    const QString abschnitt = Mandant + QStringLiteral("MBus") + suffix.toString();
    const int nummer = Treibernummer(IniLesen(abschnitt, QStringLiteral("OleProvider"), kZepIni));
    liste.setCurrentIndex(nummer);
    return nummer;
}

QVariant MB_Leer(const QVariant&, const QVariant&, const QVariant&)
{
    return {};
}
