#include "TelegrammText.h"

#include "RahmenArgumente.h"

namespace {

constexpr int kSekAdrStellen = 8;
const QString kSekAdrPlatzhalter = QStringLiteral("FF FF FF FF");
constexpr QChar kFeldtrenner = u';';

QString ZweiHexStellen(int wert)
{
    return QStringLiteral("%1").arg(wert & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

bool IstHexZiffer(QChar zeichen)
{
    return (zeichen >= u'0' && zeichen <= u'9') || (zeichen >= u'A' && zeichen <= u'F') ||
           (zeichen >= u'a' && zeichen <= u'f');
}

// The byte of one hex field; blanks around it are ignored, anything else that is no hex number
// from 00 to FF gives 0.
char FeldAlsByte(const QString& feld)
{
    const QString ziffern = feld.trimmed();
    if (ziffern.isEmpty())
        return 0;
    for (const QChar zeichen : ziffern) {
        if (!IstHexZiffer(zeichen))
            return 0;
    }
    bool ok = false;
    const uint wert = ziffern.toUInt(&ok, 16);
    return ok && wert <= 0xFF ? static_cast<char>(wert) : char(0);
}

QByteArray PaareLesen(const QString& hex)
{
    QByteArray bytes;
    bytes.reserve((hex.size() + 1) / 2);
    for (qsizetype p = 0; p < hex.size(); p += 2)
        bytes.append(FeldAlsByte(hex.mid(p, 2)));
    return bytes;
}

QByteArray FelderLesen(QString text, const QString& trenner)
{
    if (trenner != QString(kFeldtrenner))
        text.replace(trenner, QString(kFeldtrenner));
    // Blanks behind the last field would otherwise become a field of their own.
    while (text.endsWith(u' '))
        text.chop(1);
    if (!text.endsWith(kFeldtrenner))
        text.append(kFeldtrenner);

    QByteArray bytes;
    qsizetype anfang = 0;
    for (qsizetype ende = text.indexOf(kFeldtrenner); ende >= 0;
         ende = text.indexOf(kFeldtrenner, anfang)) {
        bytes.append(FeldAlsByte(text.mid(anfang, ende - anfang)));
        anfang = ende + 1;
    }
    return bytes;
}

} // namespace

QString MB_SekAdrToHex(const QVariant& sekAdr)
{
    const std::optional<QString> ziffern = ZiffernText(sekAdr);
    if (!ziffern)
        return {};
    // Leading zeros do not count as digits of the number; then at least eight digits.
    QString text = *ziffern;
    while (text.size() > 1 && text.startsWith(u'0'))
        text.remove(0, 1);
    text = text.rightJustified(kSekAdrStellen, u'0').left(kSekAdrStellen);

    QString ergebnis;
    for (int stelle = kSekAdrStellen - 2; stelle >= 0; stelle -= 2)
        ergebnis += text.mid(stelle, 2) + u' ';
    return ergebnis + kSekAdrPlatzhalter;
}

QString MB_Checksumme(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    int summe = 0;
    for (const char byte : bytes)
        summe = (summe + static_cast<unsigned char>(byte)) % 256;
    return ZweiHexStellen(summe);
}

QString StrToHex(const QByteArray& bytes, const QString& trenner)
{
    QString text;
    text.reserve(bytes.size() * (2 + trenner.size()));
    for (const char byte : bytes)
        text += ZweiHexStellen(static_cast<unsigned char>(byte)) + trenner;
    return text;
}

QByteArray HexToStr(const QString& hex, QString& trenner)
{
    if (hex.isEmpty())
        return {};
    if (trenner.isEmpty()) {
        // Contiguous hex has a digit where a separator would stand: read it in pairs.
        if (hex.size() < 3 || IstHexZiffer(hex[2]))
            return PaareLesen(hex);
        trenner = hex[2];
    }
    if (!hex.contains(trenner))
        return {};
    return FelderLesen(hex, trenner);
}

QByteArray HexToStr(const QString& hex)
{
    QString trenner;
    return HexToStr(hex, trenner);
}
