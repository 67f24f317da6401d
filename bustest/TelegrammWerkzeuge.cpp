#include "TelegrammWerkzeuge.h"

#include "driver/faces/MBusRacX4.h"
#include "lesen/Zaehlerlesen.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

constexpr int kBytesJeZeile = 10;

int HexWert(QChar zeichen)
{
    const char c = zeichen.toLatin1();
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value of the hex digits the box starts with, modulo 256 (0 without any).
int FeldWert(const QString& feld)
{
    int wert = 0;
    for (const QChar zeichen : feld.trimmed()) {
        const int ziffer = HexWert(zeichen);
        if (ziffer < 0)
            break;
        wert = (wert * 16 + ziffer) % 256;
    }
    return wert;
}

bool IstHexByte(const QString& text)
{
    return !text.isEmpty() && text.size() <= 2 &&
           std::all_of(text.begin(), text.end(), [](QChar z) { return HexWert(z) >= 0; });
}

QString OhneLeerraum(const QString& text)
{
    QString ergebnis;
    for (const QChar zeichen : text)
        if (!zeichen.isSpace())
            ergebnis += zeichen;
    return ergebnis;
}

// The hex lines of a telegram dump ("n HEX Zeichen" up to "n Dezimal"); none when the text is
// no dump.
std::optional<QString> DumpHex(const QString& text)
{
    static const QRegularExpression kHexKopf(QStringLiteral("^\\d+ HEX Zeichen$"));
    static const QRegularExpression kDezimalKopf(QStringLiteral("^\\d+ Dezimal$"));
    const QStringList zeilen =
        text.trimmed().split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (zeilen.isEmpty() || !kHexKopf.match(zeilen.first().trimmed()).hasMatch())
        return std::nullopt;
    QString hex;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        if (kDezimalKopf.match(zeilen[i].trimmed()).hasMatch())
            break;
        hex += OhneLeerraum(zeilen[i]);
    }
    return hex;
}

} // namespace

QString TelegrammWerkzeuge::AblehnungsText(int status)
{
    return QStringLiteral("APPReceiveError = ") + QString::number(status);
}

QString TelegrammWerkzeuge::HexStream(const QString& text)
{
    QString ergebnis;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        ergebnis += QString::number(text[i - 1].unicode(), 16).toUpper() + QLatin1Char(';');
        if (i % kBytesJeZeile == 0)
            ergebnis += QChar(13);
    }
    return ergebnis;
}

QString TelegrammWerkzeuge::KurzrahmenPruefsumme(const QString& cFeld, const QString& aFeld)
{
    return QString::number((FeldWert(cFeld) + FeldWert(aFeld)) % 256, 16).toUpper();
}

QString TelegrammWerkzeuge::TelegrammAlsHex(const QString& text)
{
    if (const std::optional<QString> dump = DumpHex(text))
        return *dump;
    static const QRegularExpression kTrenner(QStringLiteral("[;\\s]+"));
    const QStringList teile = text.split(kTrenner, Qt::SkipEmptyParts);
    const bool getrennt = teile.size() > 1 || text.contains(QLatin1Char(';'));
    if (getrennt && !teile.isEmpty() && std::all_of(teile.begin(), teile.end(), IstHexByte)) {
        QString hex;
        for (const QString& teil : teile)
            hex += teil.rightJustified(2, QLatin1Char('0'));
        return hex;
    }
    return OhneLeerraum(text);
}

TelegrammWerkzeuge::Deutung TelegrammWerkzeuge::Deuten(MBusRacX4& treiber, const QString& text,
                                                       FlexGrid& satzGrid)
{
    Deutung deutung;
    treiber.APPInterpretTelegramHex(TelegrammAlsHex(text));
    deutung.status = treiber.APPReceiveTest();
    if (!deutung.angenommen())
        return deutung;
    TelegrammInGrid(satzGrid, treiber, deutung.dump);
    deutung.kopf.hersteller = treiber.APPManufacturerIDAsc();
    deutung.kopf.version = QString::number(treiber.APPGenerationNo());
    deutung.kopf.herstellerNummer = QString::number(treiber.APPManufacturerID());
    deutung.kopf.idDezimal = treiber.APPDeviceIDDec();
    deutung.kopf.medium = treiber.APPMediumAsc();
    return deutung;
}

QString TelegrammWerkzeuge::ErsteBaudrate(const QString& spalte)
{
    return spalte.section(QLatin1Char(';'), 0, 0).trimmed();
}
