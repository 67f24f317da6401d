#include "Telegramm.h"

#include "DatensatzDeutung.h"
#include "DatensatzLeser.h"
#include "LangerRahmen.h"

namespace mbus {

namespace {

constexpr std::uint8_t kAnwendungsfehler = 0x70;
constexpr std::uint8_t kVariabel = 0x72;
constexpr std::uint8_t kFest = 0x73;
constexpr std::uint8_t kVariabelMsb = 0x76;
constexpr std::uint8_t kFestMsb = 0x77;
constexpr int kVariablerKopf =
    12; // ident 4, manufacturer 2, version, medium, access, status, signature 2
constexpr int kFesteStruktur = 16; // ident 4, access, status, medium/unit 2, counter 1, counter 2

// Media of the fixed data structure (four bits) as media of the variable data structure.
// clang-format off
constexpr std::uint8_t kFestesMedium[16] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                            0x08, 0x0F, 0x03, 0x04, 0x06, 0x07, 0x08, 0x0F};
// clang-format on
constexpr std::uint8_t kHistorischWieZaehler1 = 0x3E;

class Dekoder
{
public:
    Dekoder(QByteArrayView bytes, const LangerRahmen& rahmen) : m_bytes(bytes), m_rahmen(rahmen)
    {
        m_kopf.steuerfeld = rahmen.steuerfeld;
        m_kopf.adresse = rahmen.adresse;
        m_kopf.ci = rahmen.ci;
        m_kopf.msbZuerst = rahmen.ci == kVariabelMsb || rahmen.ci == kFestMsb;
    }

    Dekodierergebnis dekodieren()
    {
        switch (m_rahmen.ci) {
        case kAnwendungsfehler:
            return anwendungsfehler();
        case kVariabel:
        case kVariabelMsb:
            return variabel();
        case kFest:
        case kFestMsb:
            return fest();
        default:
            return UnbekanntesCi{m_rahmen.ci};
        }
    }

private:
    int datenbytes() const { return m_rahmen.datenEnde - m_rahmen.datenAnfang; }
    std::uint8_t byte(int abstand) const
    {
        return static_cast<std::uint8_t>(m_bytes[m_rahmen.datenAnfang + abstand]);
    }
    QByteArrayView teil(int abstand, int laenge) const
    {
        return m_bytes.sliced(m_rahmen.datenAnfang + abstand, laenge);
    }
    std::uint64_t zahl(int abstand, int laenge) const
    {
        return Vorzeichenlos(teil(abstand, laenge), m_kopf.msbZuerst);
    }

    Dekodierergebnis anwendungsfehler() const
    {
        Anwendungsfehler fehler{m_kopf, std::nullopt};
        if (datenbytes() > 0)
            fehler.code = byte(0);
        return fehler;
    }

    Dekodierergebnis variabel()
    {
        if (datenbytes() < kVariablerKopf)
            return KopfZuKurz{m_rahmen.ci, kVariablerKopf, datenbytes()};
        m_kopf.ident = static_cast<std::uint32_t>(zahl(0, 4));
        m_kopf.hersteller = static_cast<std::uint16_t>(zahl(4, 2));
        m_kopf.version = byte(6);
        m_kopf.medium = byte(7);
        m_kopf.zugriffsnummer = byte(8);
        m_kopf.status = byte(9);
        m_kopf.signatur = static_cast<std::uint16_t>(zahl(10, 2));

        auto bloecke =
            LiesDatenbloecke(m_bytes, m_rahmen.datenAnfang + kVariablerKopf, m_rahmen.datenEnde);
        if (auto* fehler = std::get_if<DekodierFehler>(&bloecke))
            return *fehler;
        Telegramm telegramm{m_kopf, {}};
        for (const Datenblock& block : std::get<QList<Datenblock>>(bloecke))
            telegramm.datensaetze.append(DeuteDatenblock(block, m_kopf.msbZuerst));
        return telegramm;
    }

    Dekodierergebnis fest()
    {
        if (datenbytes() != kFesteStruktur)
            return KopfZuKurz{m_rahmen.ci, kFesteStruktur, datenbytes()};
        m_kopf.festeStruktur = true;
        m_kopf.ident = static_cast<std::uint32_t>(zahl(0, 4));
        m_kopf.zugriffsnummer = byte(4);
        m_kopf.status = byte(5);
        const std::uint8_t einheit1 = byte(6);
        const std::uint8_t einheit2 = byte(7);
        m_kopf.medium = kFestesMedium[((einheit1 & 0xC0) >> 6) | ((einheit2 & 0xC0) >> 4)];

        const bool binaer = (m_kopf.status & 0x80) != 0;
        const bool historisch = (m_kopf.status & 0x40) != 0;
        Telegramm telegramm{m_kopf, {}};
        for (int k = 0; k < 2; ++k) {
            Datenblock block;
            block.position = m_rahmen.datenAnfang + 8 + 4 * k;
            block.daten = teil(8 + 4 * k, 4).toByteArray();
            std::uint8_t code = (k == 0 ? einheit1 : einheit2) & 0x3F;
            bool alt = historisch;
            if (k == 1 && code == kHistorischWieZaehler1) {
                code = einheit1 & 0x3F;
                alt = true;
            }
            telegramm.datensaetze.append(
                DeuteFestenZaehler(block, code, binaer, alt, m_kopf.msbZuerst));
        }
        return telegramm;
    }

    QByteArrayView m_bytes;
    LangerRahmen m_rahmen;
    Kopf m_kopf;
};

} // namespace

QString IdentText(const Kopf& kopf)
{
    return QStringLiteral("%1").arg(kopf.ident, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<std::int64_t> IdentNummer(const Kopf& kopf)
{
    std::int64_t nummer = 0;
    for (int stelle = 7; stelle >= 0; --stelle) {
        const int ziffer = (kopf.ident >> (4 * stelle)) & 0x0F;
        if (ziffer > 9)
            return std::nullopt;
        nummer = nummer * 10 + ziffer;
    }
    return nummer;
}

QString HerstellerText(std::uint16_t hersteller)
{
    if (hersteller == 0)
        return {};
    QString text;
    for (const int verschiebung : {10, 5, 0})
        text.append(QChar(u'@' + ((hersteller >> verschiebung) & 0x1F)));
    return text;
}

bool Telegramm::weitereDatensaetze() const
{
    return !datensaetze.isEmpty() &&
           datensaetze.back().sonderfunktion == Sonderfunktion::WeitereDatensaetze;
}

bool Telegramm::herstellerdaten() const
{
    return !datensaetze.isEmpty() &&
           datensaetze.back().sonderfunktion == Sonderfunktion::Herstellerdaten;
}

Dekodierergebnis DekodiereTelegramm(QByteArrayView rahmen)
{
    const auto gelesen = LiesLangenRahmen(rahmen);
    if (const auto* fehler = std::get_if<DekodierFehler>(&gelesen))
        return *fehler;
    const LangerRahmen& langerRahmen = std::get<LangerRahmen>(gelesen);
    if (!IstZaehlerantwort(langerRahmen.steuerfeld))
        return KeineZaehlerantwort{langerRahmen.steuerfeld};
    return Dekoder(rahmen, langerRahmen).dekodieren();
}

} // namespace mbus
