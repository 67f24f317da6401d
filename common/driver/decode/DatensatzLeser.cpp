#include "DatensatzLeser.h"

namespace mbus {

namespace {

constexpr std::uint8_t kErweiterungsbit = 0x80;
constexpr std::uint8_t kFuellbyte = 0x2F;
constexpr std::uint8_t kHerstellerdaten = 0x0F;
constexpr std::uint8_t kWeitereDatensaetze = 0x1F;
constexpr std::uint8_t kKlartextVif = 0x7C;
constexpr int kVariableLaenge = -1;

// Data bytes per data field of the DIF (EN 13757-3, table 4); 0F is handled before.
// clang-format off
constexpr int kDatenlaenge[16] = {0, 1, 2, 3, 4, 4, 6, 8, 0, 1, 2, 3, 4, kVariableLaenge, 6, 0};
// clang-format on

class Leser
{
public:
    Leser(QByteArrayView rahmen, int anfang, int ende)
        : m_rahmen(rahmen), m_pos(anfang), m_ende(ende)
    {
    }

    std::variant<QList<Datenblock>, DekodierFehler> alle()
    {
        QList<Datenblock> bloecke;
        while (m_pos < m_ende) {
            if (byte(m_pos) == kFuellbyte) {
                ++m_pos;
                continue;
            }
            Datenblock block;
            if (auto fehler = lies(block))
                return *fehler;
            bloecke.append(std::move(block));
        }
        return bloecke;
    }

private:
    std::uint8_t byte(int i) const { return static_cast<std::uint8_t>(m_rahmen[i]); }
    int rest() const { return m_ende - m_pos; }
    QByteArray nimm(int anzahl)
    {
        const QByteArray teil = m_rahmen.sliced(m_pos, anzahl).toByteArray();
        m_pos += anzahl;
        return teil;
    }

    // Appends extension bytes while the last byte has its extension bit.
    std::optional<DekodierFehler> erweiterungen(QByteArray& bytes, int position, Blockteil teil)
    {
        while (static_cast<std::uint8_t>(bytes.back()) & kErweiterungsbit) {
            if (bytes.size() - 1 >= kMaxErweiterungen) {
                if (teil == Blockteil::Dife)
                    return ZuVieleDifes{position};
                return ZuVieleVifes{position};
            }
            if (rest() < 1)
                return DatensatzEndetVorzeitig{position, teil, 1, 0};
            bytes.append(nimm(1));
        }
        return std::nullopt;
    }

    std::optional<DekodierFehler> lies(Datenblock& block)
    {
        const int position = m_pos;
        block.position = position;
        const std::uint8_t dif = byte(m_pos);
        block.dib = nimm(1);
        if (dif == kHerstellerdaten || dif == kWeitereDatensaetze) {
            block.daten = nimm(rest());
            return std::nullopt;
        }
        if ((dif & 0x0F) == 0x0F)
            return ReserviertesDif{dif, position};
        if (auto fehler = erweiterungen(block.dib, position, Blockteil::Dife))
            return fehler;

        if (rest() < 1)
            return DatensatzEndetVorzeitig{position, Blockteil::Vif, 1, 0};
        block.vib = nimm(1);
        if ((static_cast<std::uint8_t>(block.vib[0]) & 0x7F) == kKlartextVif) {
            if (rest() < 1)
                return DatensatzEndetVorzeitig{position, Blockteil::Klartext, 1, 0};
            const int laenge = byte(m_pos);
            ++m_pos;
            if (rest() < laenge)
                return DatensatzEndetVorzeitig{position, Blockteil::Klartext, laenge, rest()};
            block.klartext = nimm(laenge);
        }
        if (auto fehler = erweiterungen(block.vib, position, Blockteil::Vife))
            return fehler;

        int laenge = kDatenlaenge[dif & 0x0F];
        if (laenge == kVariableLaenge) {
            if (rest() < 1)
                return DatensatzEndetVorzeitig{position, Blockteil::Lvar, 1, 0};
            const std::uint8_t lvar = byte(m_pos);
            block.lvar = lvar;
            laenge = LvarLaenge(lvar);
            if (laenge < 0)
                return UngueltigeLvar{lvar, m_pos};
            ++m_pos;
        }
        if (rest() < laenge)
            return DatensatzEndetVorzeitig{position, Blockteil::Daten, laenge, rest()};
        block.daten = nimm(laenge);
        return std::nullopt;
    }

    QByteArrayView m_rahmen;
    int m_pos = 0;
    int m_ende = 0;
};

} // namespace

int LvarLaenge(std::uint8_t lvar)
{
    if (lvar <= 0xBF)
        return lvar; // characters
    if (lvar <= 0xCF)
        return lvar - 0xC0; // positive BCD, two digits a byte
    if (lvar <= 0xDF)
        return lvar - 0xD0; // negative BCD
    if (lvar <= 0xEF)
        return lvar - 0xE0; // binary number
    if (lvar <= 0xF4)
        return 4 * (lvar - 0xEC); // binary number of 16 to 32 bytes
    if (lvar == 0xF5)
        return 48;
    if (lvar == 0xF6)
        return 64;
    return -1;
}

std::variant<QList<Datenblock>, DekodierFehler> LiesDatenbloecke(QByteArrayView rahmen, int anfang,
                                                                 int ende)
{
    if (anfang < 0 || ende > rahmen.size() || anfang > ende)
        return KopfZuKurz{0, anfang, static_cast<int>(rahmen.size())};
    return Leser(rahmen, anfang, ende).alle();
}

} // namespace mbus
