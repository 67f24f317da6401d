#include "DatensatzDeutung.h"

#include "Einheiten.h"
#include "VifTabelle.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace mbus {

namespace {

constexpr std::uint8_t kErweiterungFB = 0x7B;
constexpr std::uint8_t kKlartext = 0x7C;
constexpr std::uint8_t kErweiterungFD = 0x7D;
constexpr std::uint8_t kHersteller = 0x7F;
constexpr Einheit kDauereinheiten[] = {Einheit::Sekunde, Einheit::Minute, Einheit::Stunde,
                                       Einheit::Tag};

enum class Datenart : std::uint8_t { Keine, Ganzzahl, Real, Bcd, Variabel };

constexpr Datenart kDatenart[16] = {
    Datenart::Keine,    Datenart::Ganzzahl, Datenart::Ganzzahl, Datenart::Ganzzahl,
    Datenart::Ganzzahl, Datenart::Real,     Datenart::Ganzzahl, Datenart::Ganzzahl,
    Datenart::Keine,    Datenart::Bcd,      Datenart::Bcd,      Datenart::Bcd,
    Datenart::Bcd,      Datenart::Variabel, Datenart::Bcd,      Datenart::Keine,
};

bool IstZeitpunktGroesse(Groesse g)
{
    return g == Groesse::Datum || g == Groesse::DatumUhrzeit || g == Groesse::Tarifbeginn ||
           g == Groesse::Batteriewechsel;
}

// What the VIFEs did besides describing the value.
struct VifeFolgen
{
    int exponent = 0;
    bool zeitpunkt = false;
    std::optional<Einheit> eigeneEinheit; // durations and counts have their own unit
};

Wert BcdWert(QByteArrayView bytes, bool msbZuerst)
{
    if (const std::optional<Dezimal> zahl = Bcd(bytes, msbZuerst))
        return *zahl;
    return UngueltigeZiffern{HexZiffern(bytes, msbZuerst)};
}

// Variable-length data: text, BCD or a binary number, as the LVAR byte says.
Wert VariablerWert(std::uint8_t lvar, const QByteArray& daten, bool msbZuerst)
{
    if (lvar <= 0xBF) {
        // Characters come in the byte order of the telegram: last character first unless the
        // telegram sends the most significant byte first.
        return Cp1252ZuText(LsbZuerst(daten, !msbZuerst));
    }
    if (lvar <= 0xDF) {
        const Wert w = BcdWert(daten, msbZuerst);
        if (lvar >= 0xD0) {
            if (const auto* zahl = std::get_if<Dezimal>(&w))
                return Dezimal(!zahl->negativ(), zahl->betrag(), zahl->exponent());
        }
        return w;
    }
    if (daten.isEmpty())
        return KeinWert{};
    if (daten.size() <= 8)
        return Dezimal::AusGanzzahl(Ganzzahl(daten, msbZuerst));
    QByteArray msb = LsbZuerst(daten, msbZuerst);
    std::reverse(msb.begin(), msb.end());
    return msb;
}

Wert Rohwert(const Datensatz& d, bool zeitpunkt)
{
    const QByteArray& daten = d.block.daten;
    const bool msb = d.msbZuerst;
    if (zeitpunkt && kDatenart[d.datenfeld] == Datenart::Ganzzahl) {
        if (const std::optional<Zeitart> art = ZeitartFuerLaenge(daten.size()))
            return LiesZeitpunkt(*art, daten, msb);
    }
    switch (kDatenart[d.datenfeld]) {
    case Datenart::Keine:
        return KeinWert{};
    case Datenart::Ganzzahl:
        return Dezimal::AusGanzzahl(Ganzzahl(daten, msb));
    case Datenart::Real: {
        const std::optional<Dezimal> zahl = Dezimal::AusFloat(Real32(daten, msb));
        return zahl ? Wert(*zahl) : Wert(KeinWert{});
    }
    case Datenart::Bcd:
        return BcdWert(daten, msb);
    case Datenart::Variabel:
        return VariablerWert(d.block.lvar.value_or(0), daten, msb);
    }
    return KeinWert{};
}

// Scales a number by the exponent and brings it to the unit it is shown in.
void WertSetzen(Datensatz& d, Wert wert, int exponent)
{
    if (auto* zahl = std::get_if<Dezimal>(&wert)) {
        const AngezeigterWert angezeigt = InAnzeigeeinheit(d.einheit, zahl->malZehnHoch(exponent));
        d.einheit = angezeigt.einheit;
        wert = angezeigt.wert;
    } else {
        if (std::holds_alternative<Zeitpunkt>(wert))
            d.einheit = Einheit::Keine;
    }
    d.wert = std::move(wert);
}

VifeFolgen VifesAuswerten(Datensatz& d, QByteArrayView vifes)
{
    VifeFolgen folgen;
    bool erweitertFolgt = false;
    for (const char zeichen : vifes) {
        const auto code = static_cast<std::uint8_t>(zeichen & 0x7F);
        if (erweitertFolgt) {
            d.zusaetze.append({code, true});
            erweitertFolgt = false;
            continue;
        }
        const VifeZeile& zeile = KombinierbareVife(code);
        switch (zeile.wirkung) {
        case Wirkung::Fehlercode:
            if (code != 0) // 00: "no error"
                d.zusaetze.append({code, false});
            break;
        case Wirkung::Einheitszusatz:
            d.einheitZusatz += QLatin1String(zeile.einheitZusatz);
            break;
        case Wirkung::Exponent:
            folgen.exponent += code - zeile.erster + zeile.exponent;
            if (*zeile.deutsch != '\0')
                d.zusaetze.append({code, false});
            break;
        case Wirkung::Datum:
            folgen.zeitpunkt = true;
            d.zusaetze.append({code, false});
            break;
        case Wirkung::Dauer:
            folgen.eigeneEinheit = kDauereinheiten[code & 0x03];
            d.zusaetze.append({code, false});
            break;
        case Wirkung::Zaehlung:
            folgen.eigeneEinheit = Einheit::Keine;
            d.zusaetze.append({code, false});
            break;
        case Wirkung::Beschreibung:
            d.zusaetze.append({code, false});
            break;
        case Wirkung::Erweiterung:
            erweitertFolgt = true;
            break;
        case Wirkung::Hersteller:
            d.zusaetze.append({code, false});
            d.herstellerVifes = true;
            return folgen; // the meter's own VIFEs follow
        }
    }
    return folgen;
}

} // namespace

Datensatz DeuteDatenblock(const Datenblock& block, bool msbZuerst)
{
    Datensatz d;
    d.block = block;
    d.msbZuerst = msbZuerst;
    const std::uint8_t dif = block.dif();
    d.datenfeld = dif & 0x0F;
    if (dif == 0x0F || dif == 0x1F) {
        d.sonderfunktion =
            dif == 0x0F ? Sonderfunktion::Herstellerdaten : Sonderfunktion::WeitereDatensaetze;
        d.groesse = dif == 0x0F ? Groesse::Herstellerdaten : Groesse::WeitereDatensaetze;
        d.wert = block.daten.isEmpty() ? Wert(KeinWert{}) : Wert(block.daten);
        return d;
    }

    d.funktion = static_cast<Funktion>((dif >> 4) & 0x03);
    d.speicher = (dif >> 6) & 0x01;
    for (qsizetype i = 1; i < block.dib.size(); ++i) {
        const auto dife = static_cast<std::uint8_t>(block.dib[i]);
        const int stufe = static_cast<int>(i - 1);
        d.speicher |= std::uint64_t(dife & 0x0F) << (1 + 4 * stufe);
        d.tarif |= std::uint32_t((dife >> 4) & 0x03) << (2 * stufe);
        d.untereinheit |= std::uint32_t((dife >> 6) & 0x01) << stufe;
    }

    // A block always has its VIF: the first stage refuses a record without one.
    const auto vif = static_cast<std::uint8_t>(block.vib.isEmpty() ? 0 : block.vib[0] & 0x7F);
    QByteArrayView vifes =
        QByteArrayView(block.vib).sliced(std::min<qsizetype>(1, block.vib.size()));
    VifBedeutung bedeutung;
    if (vif == kErweiterungFB || vif == kErweiterungFD) {
        if (!vifes.isEmpty()) {
            const auto code = static_cast<std::uint8_t>(vifes[0]);
            bedeutung = vif == kErweiterungFB ? ErweiterungFB(code) : ErweiterungFD(code);
            vifes = vifes.sliced(1);
        }
    } else if (vif == kKlartext) {
        bedeutung = {Groesse::Klartext, Einheit::Keine, 0};
        d.klartext = Cp1252ZuText(LsbZuerst(block.klartext, !msbZuerst));
    } else if (vif == kHersteller) {
        bedeutung = {Groesse::Herstellerspezifisch, Einheit::Keine, 0};
        d.herstellerVifes = true;
        vifes = {};
    } else {
        bedeutung = PrimaererVif(vif);
    }
    d.groesse = bedeutung.groesse;
    d.einheit = bedeutung.einheit;

    const VifeFolgen folgen = VifesAuswerten(d, vifes);
    const bool zeitpunkt = folgen.zeitpunkt || IstZeitpunktGroesse(d.groesse);
    Wert wert = Rohwert(d, zeitpunkt);
    if (const auto* z = std::get_if<Zeitpunkt>(&wert)) {
        if (d.groesse == Groesse::Datum || d.groesse == Groesse::DatumUhrzeit) {
            d.groesse = z->art == Zeitart::DatumG     ? Groesse::Datum
                        : z->art == Zeitart::UhrzeitJ ? Groesse::Uhrzeit
                                                      : Groesse::DatumUhrzeit;
        }
    }
    int exponent = bedeutung.exponent + folgen.exponent;
    if (folgen.eigeneEinheit) {
        d.einheit = *folgen.eigeneEinheit;
        exponent = 0;
    }
    WertSetzen(d, std::move(wert), exponent);
    return d;
}

Datensatz DeuteFestenZaehler(const Datenblock& block, std::uint8_t einheitCode, bool binaer,
                             bool historisch, bool msbZuerst)
{
    constexpr int kBinaer32 = 0x04;
    constexpr int kBcd8 = 0x0C;
    Datensatz d;
    d.block = block;
    d.msbZuerst = msbZuerst;
    d.datenfeld = binaer ? kBinaer32 : kBcd8;
    d.speicher = historisch ? 1 : 0;
    const VifBedeutung bedeutung = FesteEinheit(einheitCode);
    d.groesse = bedeutung.groesse;
    d.einheit = bedeutung.einheit;
    // The counters of the fixed structure carry dates and times as plain numbers.
    WertSetzen(d, Rohwert(d, false), bedeutung.exponent);
    return d;
}

} // namespace mbus
