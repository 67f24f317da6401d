#include "Auswahlmaske.h"

namespace mbus {

namespace {

constexpr int kIdentStellen = 8;
constexpr int kHerstellerBuchstaben = 3;
constexpr char kBeliebig = static_cast<char>(0xFF);

std::optional<int> Nibble(QChar zeichen)
{
    const char16_t c = zeichen.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c == u'F' || c == u'f')
        return 0xF;
    return std::nullopt;
}

std::optional<QByteArray> IdentBytes(const QString& ident)
{
    const QString text = ident.trimmed();
    if (text.isEmpty() || text.size() > kIdentStellen)
        return std::nullopt;
    const QString stellen = text.rightJustified(kIdentStellen, u'0');
    QByteArray bytes;
    for (int p = kIdentStellen - 2; p >= 0; p -= 2) {
        const std::optional<int> hoch = Nibble(stellen[p]);
        const std::optional<int> tief = Nibble(stellen[p + 1]);
        if (!hoch || !tief)
            return std::nullopt;
        bytes.append(static_cast<char>(*hoch << 4 | *tief));
    }
    return bytes;
}

std::optional<QByteArray> HerstellerBytes(const QString& hersteller)
{
    const QString text = hersteller.trimmed().toUpper();
    if (text.isEmpty())
        return QByteArray(2, kBeliebig);
    if (text.size() != kHerstellerBuchstaben)
        return std::nullopt;
    int code = 0;
    for (const QChar zeichen : text) {
        const char16_t c = zeichen.unicode();
        if (c < u'A' || c > u'Z')
            return std::nullopt;
        code = code << 5 | (c - u'A' + 1);
    }
    QByteArray bytes;
    bytes.append(static_cast<char>(code & 0xFF));
    bytes.append(static_cast<char>(code >> 8));
    return bytes;
}

char ByteOderBeliebig(std::optional<std::uint8_t> wert)
{
    return wert ? static_cast<char>(*wert) : kBeliebig;
}

} // namespace

std::optional<QByteArray> AuswahlBytes(const Auswahlmaske& maske)
{
    std::optional<QByteArray> bytes = IdentBytes(maske.ident);
    const std::optional<QByteArray> hersteller = HerstellerBytes(maske.hersteller);
    if (!bytes || !hersteller)
        return std::nullopt;
    bytes->append(*hersteller);
    bytes->append(ByteOderBeliebig(maske.version));
    bytes->append(ByteOderBeliebig(maske.medium));
    return bytes;
}

} // namespace mbus
