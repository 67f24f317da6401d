#include "DekodierTexte.h"

#include "Einheiten.h"
#include "VifTabelle.h"

#include <array>

namespace mbus {

namespace {

struct Text
{
    const char* deutsch;
    const char* englisch;

    QString in(Sprache sprache) const
    {
        return QString::fromUtf8(sprache == Sprache::Englisch ? englisch : deutsch);
    }
};

struct Medium
{
    std::uint8_t erster;
    std::uint8_t letzter;
    Text text;
};

// EN 13757-3, medium of the variable data structure.
constexpr Medium kMedien[] = {
    {0x00, 0x00, {"Sonstiges", "Other"}},
    {0x01, 0x01, {"Öl", "Oil"}},
    {0x02, 0x02, {"Elektrizität", "Electricity"}},
    {0x03, 0x03, {"Gas", "Gas"}},
    {0x04, 0x04, {"Wärme", "Heat"}},
    {0x05, 0x05, {"Dampf", "Steam"}},
    {0x06, 0x06, {"Warmwasser", "Warm water"}},
    {0x07, 0x07, {"Wasser", "Water"}},
    {0x08, 0x08, {"Heizkostenverteiler", "Heat cost allocator"}},
    {0x09, 0x09, {"Druckluft", "Compressed air"}},
    {0x0A, 0x0A, {"Kälte", "Cooling"}},
    {0x0B, 0x0B, {"Kälte (Vorlauf)", "Cooling (inlet)"}},
    {0x0C, 0x0C, {"Wärme (Vorlauf)", "Heat (inlet)"}},
    {0x0D, 0x0D, {"Wärme/Kälte", "Heat/cooling"}},
    {0x0E, 0x0E, {"Bus/System", "Bus/system component"}},
    {0x0F, 0x0F, {"Unbekanntes Medium", "Unknown medium"}},
    {0x14, 0x14, {"Brennwert", "Calorific value"}},
    {0x15, 0x15, {"Heißwasser", "Hot water"}},
    {0x16, 0x16, {"Kaltwasser", "Cold water"}},
    {0x17, 0x17, {"Warm-/Kaltwasser", "Dual register water"}},
    {0x18, 0x18, {"Druck", "Pressure"}},
    {0x19, 0x19, {"A/D-Wandler", "A/D converter"}},
    {0x1A, 0x1A, {"Rauchwarnmelder", "Smoke detector"}},
    {0x1B, 0x1B, {"Raumsensor", "Room sensor"}},
    {0x1C, 0x1C, {"Gaswarnmelder", "Gas detector"}},
    {0x20, 0x20, {"Schalter (Strom)", "Breaker (electricity)"}},
    {0x21, 0x21, {"Ventil", "Valve"}},
    {0x25, 0x25, {"Anzeigegerät", "Customer unit"}},
    {0x28, 0x28, {"Abwasser", "Waste water"}},
    {0x29, 0x29, {"Abfall", "Garbage"}},
    {0x31, 0x31, {"Kommunikationssteuerung", "Communication controller"}},
    {0x32, 0x32, {"Repeater (unidirektional)", "Unidirectional repeater"}},
    {0x33, 0x33, {"Repeater (bidirektional)", "Bidirectional repeater"}},
    {0x36, 0x36, {"Funkkonverter (System)", "Radio converter (system side)"}},
    {0x37, 0x37, {"Funkkonverter (Zähler)", "Radio converter (meter side)"}},
};

struct GroesseZeile
{
    Groesse groesse;
    Text text;
};

using G = Groesse;
constexpr GroesseZeile kGroessen[] = {
    {G::Keine, {"", ""}},
    {G::Energie, {"Energie", "Energy"}},
    {G::Volumen, {"Volumen", "Volume"}},
    {G::Masse, {"Masse", "Mass"}},
    {G::Einschaltdauer, {"Einschaltdauer", "On time"}},
    {G::Betriebsdauer, {"Betriebsdauer", "Operating time"}},
    {G::Leistung, {"Leistung", "Power"}},
    {G::Durchfluss, {"Durchfluss", "Volume flow"}},
    {G::Massestrom, {"Massestrom", "Mass flow"}},
    {G::Vorlauftemperatur, {"Vorlauftemperatur", "Flow temperature"}},
    {G::Ruecklauftemperatur, {"Rücklauftemperatur", "Return temperature"}},
    {G::Temperaturdifferenz, {"Temperaturdifferenz", "Temperature difference"}},
    {G::Aussentemperatur, {"Außentemperatur", "External temperature"}},
    {G::Druck, {"Druck", "Pressure"}},
    {G::Datum, {"Datum", "Date"}},
    {G::DatumUhrzeit, {"Datum/Uhrzeit", "Date and time"}},
    {G::Uhrzeit, {"Uhrzeit", "Time"}},
    {G::HkvEinheiten, {"HKV-Einheiten", "Units for H.C.A."}},
    {G::Mittelungsdauer, {"Mittelungsdauer", "Averaging duration"}},
    {G::Aktualitaetsdauer, {"Aktualitätsdauer", "Actuality duration"}},
    {G::Fabrikationsnummer, {"Fabrikationsnummer", "Fabrication number"}},
    {G::Identifikation, {"Identifikation", "Enhanced identification"}},
    {G::Busadresse, {"Busadresse", "Bus address"}},
    {G::BeliebigerVif, {"Beliebiger VIF", "Any VIF"}},
    {G::Herstellerspezifisch, {"Herstellerspezifisch", "Manufacturer specific"}},
    {G::Klartext, {"Klartext", "Plain text"}},
    {G::Reserviert, {"Reserviert", "Reserved"}},
    {G::Guthaben, {"Guthaben", "Credit"}},
    {G::Lastschrift, {"Lastschrift", "Debit"}},
    {G::Zugriffsnummer, {"Zugriffsnummer", "Access number"}},
    {G::Geraetetyp, {"Gerätetyp", "Device type"}},
    {G::Hersteller, {"Hersteller", "Manufacturer"}},
    {G::Parametersatz, {"Parametersatz", "Parameter set identification"}},
    {G::ModellVersion, {"Modell/Version", "Model/version"}},
    {G::Hardwareversion, {"Hardwareversion", "Hardware version"}},
    {G::Firmwareversion, {"Firmwareversion", "Firmware version"}},
    {G::Softwareversion, {"Softwareversion", "Software version"}},
    {G::Kundenstandort, {"Kundenstandort", "Customer location"}},
    {G::Kunde, {"Kunde", "Customer"}},
    {G::ZugangscodeBenutzer, {"Zugangscode Benutzer", "Access code user"}},
    {G::ZugangscodeBetreiber, {"Zugangscode Betreiber", "Access code operator"}},
    {G::ZugangscodeSystembetreiber, {"Zugangscode Systembetreiber", "Access code system operator"}},
    {G::ZugangscodeEntwickler, {"Zugangscode Entwickler", "Access code developer"}},
    {G::Passwort, {"Passwort", "Password"}},
    {G::Fehlerflags, {"Fehlerflags", "Error flags"}},
    {G::Fehlermaske, {"Fehlermaske", "Error mask"}},
    {G::Sicherheitsschluessel, {"Sicherheitsschlüssel", "Security key"}},
    {G::Digitalausgang, {"Digitalausgang", "Digital output"}},
    {G::Digitaleingang, {"Digitaleingang", "Digital input"}},
    {G::Baudrate, {"Baudrate", "Baud rate"}},
    {G::Antwortverzoegerung, {"Antwortverzögerung", "Response delay time"}},
    {G::Wiederholung, {"Wiederholung", "Retry"}},
    {G::Fernsteuerung, {"Fernsteuerung", "Remote control"}},
    {G::ErsterSpeicher, {"Erster Speicher", "First storage number"}},
    {G::LetzterSpeicher, {"Letzter Speicher", "Last storage number"}},
    {G::Speicherblockgroesse, {"Speicherblockgröße", "Size of storage block"}},
    {G::TarifDeskriptor, {"Tarif/Untereinheit", "Descriptor for tariff and subunit"}},
    {G::Speicherintervall, {"Speicherintervall", "Storage interval"}},
    {G::Betreiberdaten, {"Betreiberdaten", "Operator specific data"}},
    {G::ZeitpunktSekunde, {"Zeitpunkt Sekunde", "Time point second"}},
    {G::DauerSeitAuslesung, {"Dauer seit Auslesung", "Duration since last readout"}},
    {G::Tarifbeginn, {"Tarifbeginn", "Start of tariff"}},
    {G::Tarifdauer, {"Tarifdauer", "Duration of tariff"}},
    {G::Tarifperiode, {"Tarifperiode", "Period of tariff"}},
    {G::Dimensionslos, {"Dimensionslos", "Dimensionless"}},
    {G::Datencontainer, {"Datencontainer", "Data container"}},
    {G::Sendeperiode, {"Sendeperiode", "Period of nominal data transmissions"}},
    {G::Spannung, {"Spannung", "Voltage"}},
    {G::Strom, {"Strom", "Current"}},
    {G::Ruecksetzzaehler, {"Rücksetzzähler", "Reset counter"}},
    {G::Kumulationszaehler, {"Kumulationszähler", "Cumulation counter"}},
    {G::Steuersignal, {"Steuersignal", "Control signal"}},
    {G::Wochentag, {"Wochentag", "Day of week"}},
    {G::Kalenderwoche, {"Kalenderwoche", "Week number"}},
    {G::Tageswechsel, {"Tageswechsel", "Time point of day change"}},
    {G::Parameteraktivierung, {"Parameteraktivierung", "State of parameter activation"}},
    {G::Lieferanteninformation, {"Lieferanteninformation", "Special supplier information"}},
    {G::DauerSeitKumulation, {"Dauer seit Kumulation", "Duration since last cumulation"}},
    {G::Batteriebetriebsdauer, {"Batteriebetriebsdauer", "Operating time battery"}},
    {G::Batteriewechsel, {"Batteriewechsel", "Date of battery change"}},
    {G::Funkpegel, {"Funkpegel", "RF level"}},
    {G::Sommerzeit, {"Sommerzeit", "Daylight saving"}},
    {G::Empfangsfenster, {"Empfangsfenster", "Listening window management"}},
    {G::Batterierestlaufzeit, {"Batterierestlaufzeit", "Remaining battery life time"}},
    {G::Stillstaende, {"Anzahl Stillstände", "Number of times the meter was stopped"}},
    {G::Herstellercontainer, {"Herstellerdatencontainer", "Manufacturer data container"}},
    {G::Blindenergie, {"Blindenergie", "Reactive energy"}},
    {G::Scheinenergie, {"Scheinenergie", "Apparent energy"}},
    {G::Blindleistung, {"Blindleistung", "Reactive power"}},
    {G::Scheinleistung, {"Scheinleistung", "Apparent power"}},
    {G::RelativeFeuchte, {"Relative Feuchte", "Relative humidity"}},
    {G::PhasenwinkelUU, {"Phasenwinkel U-U", "Phase U-U"}},
    {G::PhasenwinkelUI, {"Phasenwinkel U-I", "Phase U-I"}},
    {G::Frequenz, {"Frequenz", "Frequency"}},
    {G::Temperaturgrenze, {"Temperaturgrenze", "Cold/warm temperature limit"}},
    {G::MaximalleistungKumuliert, {"Kumulierte Maximalleistung", "Cumulative count max power"}},
    {G::Temperatur, {"Temperatur", "Temperature"}},
    {G::Herstellerdaten, {"Herstellerdaten", "Manufacturer data"}},
    {G::WeitereDatensaetze, {"Weitere Datensätze folgen", "More records follow"}},
};
static_assert(std::size(kGroessen) == static_cast<std::size_t>(G::Anzahl_),
              "one text pair for every quantity");

constexpr bool GroessenInOrdnung()
{
    for (std::size_t i = 0; i < std::size(kGroessen); ++i) {
        if (static_cast<std::size_t>(kGroessen[i].groesse) != i)
            return false;
    }
    return true;
}
static_assert(GroessenInOrdnung(), "the rows follow the order of the quantities");

constexpr Text kFunktionen[] = {
    {"Momentanwert", "Instantaneous value"},
    {"Maximalwert", "Maximum value"},
    {"Minimalwert", "Minimum value"},
    {"Wert bei Fehler", "Value during error state"},
};

constexpr Text kDatenfelder[16] = {
    {"Keine Daten", "No data"},
    {"8 Bit Ganzzahl", "8 bit integer"},
    {"16 Bit Ganzzahl", "16 bit integer"},
    {"24 Bit Ganzzahl", "24 bit integer"},
    {"32 Bit Ganzzahl", "32 bit integer"},
    {"32 Bit Real", "32 bit real"},
    {"48 Bit Ganzzahl", "48 bit integer"},
    {"64 Bit Ganzzahl", "64 bit integer"},
    {"Auswahl zur Auslesung", "Selection for readout"},
    {"2 Ziffern BCD", "2 digit BCD"},
    {"4 Ziffern BCD", "4 digit BCD"},
    {"6 Ziffern BCD", "6 digit BCD"},
    {"8 Ziffern BCD", "8 digit BCD"},
    {"Variable Länge", "Variable length"},
    {"12 Ziffern BCD", "12 digit BCD"},
    {"Sonderfunktion", "Special function"},
};

// EN 13757-3, application errors (CI 70).
constexpr Text kAnwendungsfehler[] = {
    {"Nicht spezifizierter Fehler", "Unspecified error"},
    {"CI-Feld nicht implementiert", "Unimplemented CI-Field"},
    {"Puffer zu lang, abgeschnitten", "Buffer too long, truncated"},
    {"Zu viele Datensätze", "Too many records"},
    {"Vorzeitiges Ende eines Datensatzes", "Premature end of record"},
    {"Mehr als 10 DIFEs", "More than 10 DIFEs"},
    {"Mehr als 10 VIFEs", "More than 10 VIFEs"},
    {"Reserviert", "Reserved"},
    {"Anwendung beschäftigt", "Application busy"},
    {"Zu viele Auslesungen", "Too many readouts"},
};

QString HexPaare(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

QString RohdatenHex(QByteArrayView rahmen)
{
    return QString::fromLatin1(rahmen.toByteArray().toHex().toUpper());
}

QString RohdatenDez(QByteArrayView rahmen)
{
    QString text;
    text.reserve(rahmen.size() * 3);
    for (const char byte : rahmen)
        text += QStringLiteral("%1").arg(static_cast<std::uint8_t>(byte), 3, 10, QLatin1Char('0'));
    return text;
}

QString MediumText(std::uint8_t medium, Sprache sprache)
{
    for (const Medium& m : kMedien) {
        if (medium >= m.erster && medium <= m.letzter)
            return m.text.in(sprache);
    }
    return Text{"Reserviert", "Reserved"}.in(sprache);
}

QString GroesseText(Groesse groesse, Sprache sprache)
{
    const auto i = static_cast<std::size_t>(groesse);
    return i < std::size(kGroessen) ? kGroessen[i].text.in(sprache) : QString();
}

QString FunktionText(Funktion funktion, Sprache sprache)
{
    return kFunktionen[static_cast<int>(funktion) & 0x03].in(sprache);
}

QString DatenfeldText(const Datensatz& datensatz, Sprache sprache)
{
    if (datensatz.sonderfunktion != Sonderfunktion::Keine)
        return GroesseText(datensatz.groesse, sprache);
    return kDatenfelder[datensatz.datenfeld & 0x0F].in(sprache);
}

QString StatusText(const Kopf& kopf, Sprache sprache)
{
    static constexpr Text kAnwendung[] = {
        {"", ""},
        {"Anwendung beschäftigt", "Application busy"},
        {"Anwendungsfehler", "Any application error"},
        {"Alarm", "Abnormal condition/alarm"},
    };
    static constexpr Text kBits[] = {
        {"Spannung niedrig", "Power low"},
        {"Dauerfehler", "Permanent error"},
        {"Vorübergehender Fehler", "Temporary error"},
    };
    QStringList teile;
    if (kopf.status & 0x03)
        teile << kAnwendung[kopf.status & 0x03].in(sprache);
    for (int bit = 0; bit < 3; ++bit) {
        if (kopf.status & (0x04 << bit))
            teile << kBits[bit].in(sprache);
    }
    const int hersteller = kopf.festeStruktur ? (kopf.status & 0x20) : (kopf.status & 0xE0);
    if (hersteller != 0) {
        teile << Text{"Herstellerbits %1", "Manufacturer bits %1"}.in(sprache).arg(
            QStringLiteral("%1").arg(hersteller, 2, 16, QLatin1Char('0')).toUpper());
    }
    return teile.join(QStringLiteral(", "));
}

QString AnwendungsfehlerText(std::optional<std::uint8_t> code, Sprache sprache)
{
    const std::uint8_t c = code.value_or(0);
    if (c < std::size(kAnwendungsfehler))
        return kAnwendungsfehler[c].in(sprache);
    return Text{"Unbekannter Fehler %1", "Unknown error %1"}.in(sprache).arg(c);
}

QString BeschreibungText(const Datensatz& datensatz, Sprache sprache)
{
    QString text = datensatz.groesse == Groesse::Klartext ? datensatz.klartext
                                                          : GroesseText(datensatz.groesse, sprache);
    for (const Zusatz& zusatz : datensatz.zusaetze) {
        const VifeZeile& zeile = zusatz.erweitert ? KombinierbareVifeErweitert(zusatz.code)
                                                  : KombinierbareVife(zusatz.code);
        const QString teil = VifeText(zeile, zusatz.code, sprache);
        if (!teil.isEmpty())
            text += QStringLiteral(", ") + teil;
    }
    return text;
}

QString EinheitText(const Datensatz& datensatz, Sprache sprache)
{
    if (datensatz.groesse == Groesse::Klartext)
        return datensatz.klartext + datensatz.einheitZusatz;
    return EinheitText(datensatz.einheit, sprache) + datensatz.einheitZusatz;
}

QString WertText(const Datensatz& datensatz)
{
    struct Textform
    {
        QString operator()(const KeinWert&) const { return {}; }
        QString operator()(const Dezimal& zahl) const { return zahl.text(); }
        QString operator()(const Zeitpunkt& zeitpunkt) const { return zeitpunkt.text(); }
        QString operator()(const QString& text) const { return text; }
        QString operator()(const QByteArray& bytes) const { return HexPaare(bytes); }
        QString operator()(const UngueltigeZiffern&) const { return {}; }
    };
    return std::visit(Textform{}, datensatz.wert);
}

QString WertHex(const Datensatz& datensatz)
{
    if (datensatz.sonderfunktion != Sonderfunktion::Keine)
        return QString::fromLatin1(datensatz.block.daten.toHex().toUpper());
    return HexZiffern(datensatz.block.daten, datensatz.msbZuerst);
}

} // namespace mbus
