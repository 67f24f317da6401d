#include "Datentypen.h"

#include <algorithm>
#include <bit>

namespace mbus {

namespace {

std::uint8_t B(const QByteArray& bytes, qsizetype i)
{
    return i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
}

// Years of two digits: 0 to 80 are this century, 81 to 99 the last (the rule meters use since the
// year 2000); the hundred-year bits of type F count on from 1900.
int Jahr(int jahr, int hundert)
{
    if (hundert != 0)
        return 1900 + 100 * hundert + jahr;
    return jahr <= 80 ? 2000 + jahr : 1900 + jahr;
}

} // namespace

QByteArray LsbZuerst(QByteArrayView bytes, bool msbZuerst)
{
    QByteArray ergebnis = bytes.toByteArray();
    if (msbZuerst)
        std::reverse(ergebnis.begin(), ergebnis.end());
    return ergebnis;
}

std::uint64_t Vorzeichenlos(QByteArrayView bytes, bool msbZuerst)
{
    const QByteArray lsb = LsbZuerst(bytes.first(std::min<qsizetype>(bytes.size(), 8)), msbZuerst);
    std::uint64_t wert = 0;
    for (qsizetype i = lsb.size() - 1; i >= 0; --i)
        wert = (wert << 8) | B(lsb, i);
    return wert;
}

std::int64_t Ganzzahl(QByteArrayView bytes, bool msbZuerst)
{
    const qsizetype laenge = std::min<qsizetype>(bytes.size(), 8);
    const std::uint64_t wert = Vorzeichenlos(bytes, msbZuerst);
    if (laenge == 0 || laenge == 8)
        return static_cast<std::int64_t>(wert);
    const int bits = static_cast<int>(laenge) * 8;
    const std::uint64_t vorzeichen = std::uint64_t(1) << (bits - 1);
    if ((wert & vorzeichen) == 0)
        return static_cast<std::int64_t>(wert);
    return static_cast<std::int64_t>(wert | ~((std::uint64_t(1) << bits) - 1));
}

std::optional<Dezimal> Bcd(QByteArrayView bytes, bool msbZuerst)
{
    const QByteArray lsb = LsbZuerst(bytes, msbZuerst);
    Dezimal::Betrag betrag = 0;
    bool negativ = false;
    for (qsizetype i = lsb.size() - 1; i >= 0; --i) {
        const int ziffern[2] = {B(lsb, i) >> 4, B(lsb, i) & 0x0F};
        for (int k = 0; k < 2; ++k) {
            const bool oben = i == lsb.size() - 1 && k == 0;
            if (oben && ziffern[k] == 0x0F) {
                negativ = true;
                continue;
            }
            if (ziffern[k] > 9)
                return std::nullopt;
            betrag = betrag * 10 + static_cast<unsigned>(ziffern[k]);
        }
    }
    return Dezimal(negativ, betrag, 0);
}

QString HexZiffern(QByteArrayView bytes, bool msbZuerst)
{
    QByteArray msb = LsbZuerst(bytes, msbZuerst);
    std::reverse(msb.begin(), msb.end());
    return QString::fromLatin1(msb.toHex().toUpper());
}

float Real32(QByteArrayView bytes, bool msbZuerst)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(Vorzeichenlos(bytes, msbZuerst)));
}

std::optional<Zeitart> ZeitartFuerLaenge(qsizetype laenge)
{
    switch (laenge) {
    case 2:
        return Zeitart::DatumG;
    case 3:
        return Zeitart::UhrzeitJ;
    case 4:
        return Zeitart::DatumUhrzeitF;
    case 6:
        return Zeitart::DatumUhrzeitI;
    default:
        return std::nullopt;
    }
}

Zeitpunkt LiesZeitpunkt(Zeitart art, QByteArrayView bytes, bool msbZuerst)
{
    static constexpr qsizetype kLaenge[] = {2, 4, 6, 3};
    Zeitpunkt z;
    z.art = art;
    if (bytes.size() != kLaenge[static_cast<int>(art)])
        return z;
    const QByteArray b = LsbZuerst(bytes, msbZuerst);
    bool ungueltigMarkiert = false;
    switch (art) {
    case Zeitart::DatumG:
        z.datum = QDate(Jahr((B(b, 0) >> 5) | ((B(b, 1) & 0xF0) >> 1), 0), B(b, 1) & 0x0F,
                        B(b, 0) & 0x1F);
        break;
    case Zeitart::DatumUhrzeitF:
        ungueltigMarkiert = (B(b, 0) & 0x80) != 0;
        z.sommerzeit = (B(b, 1) & 0x80) != 0;
        z.zeit = QTime(B(b, 1) & 0x1F, B(b, 0) & 0x3F);
        z.datum = QDate(Jahr((B(b, 2) >> 5) | ((B(b, 3) & 0xF0) >> 1), (B(b, 1) >> 5) & 0x03),
                        B(b, 3) & 0x0F, B(b, 2) & 0x1F);
        break;
    case Zeitart::DatumUhrzeitI:
        ungueltigMarkiert = (B(b, 1) & 0x80) != 0;
        z.sommerzeit = (B(b, 1) & 0x40) != 0;
        z.zeit = QTime(B(b, 2) & 0x1F, B(b, 1) & 0x3F, B(b, 0) & 0x3F);
        z.datum = QDate(Jahr((B(b, 3) >> 5) | ((B(b, 4) & 0xF0) >> 1), 0), B(b, 4) & 0x0F,
                        B(b, 3) & 0x1F);
        break;
    case Zeitart::UhrzeitJ:
        z.zeit = QTime(B(b, 2) & 0x1F, B(b, 1) & 0x3F, B(b, 0) & 0x3F);
        break;
    }
    const bool mitDatum = art != Zeitart::UhrzeitJ;
    const bool mitZeit = art != Zeitart::DatumG;
    z.gueltig =
        !ungueltigMarkiert && (!mitDatum || z.datum.isValid()) && (!mitZeit || z.zeit.isValid());
    return z;
}

QDateTime Zeitpunkt::alsDateTime() const
{
    if (!gueltig || art == Zeitart::UhrzeitJ)
        return {};
    return QDateTime(datum, art == Zeitart::DatumG ? QTime(0, 0) : zeit);
}

QString Zeitpunkt::text() const
{
    if (!gueltig)
        return {};
    switch (art) {
    case Zeitart::DatumG:
        return datum.toString(QStringLiteral("dd.MM.yyyy"));
    case Zeitart::DatumUhrzeitF:
        return alsDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case Zeitart::DatumUhrzeitI:
        return alsDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    case Zeitart::UhrzeitJ:
        return zeit.toString(QStringLiteral("HH:mm:ss"));
    }
    return {};
}

} // namespace mbus
