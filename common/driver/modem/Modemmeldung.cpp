#include "Modemmeldung.h"

namespace mbus {

namespace {

constexpr char kConnect[] = "CONNECT";

struct Ergebniswort
{
    const char* wort;
    Meldungsart art;
};

// Verbose results other than CONNECT, each recognised at the end of a line.
constexpr Ergebniswort kErgebniswoerter[] = {
    {"NO CARRIER", Meldungsart::NoCarrier},
    {"NO DIALTONE", Meldungsart::NoDialtone},
    {"NO DIAL TONE", Meldungsart::NoDialtone},
    {"NO ANSWER", Meldungsart::NoAnswer},
    {"BUSY", Meldungsart::Busy},
    {"ERROR", Meldungsart::Error},
    {"RING", Meldungsart::Ring},
    {"OK", Meldungsart::Ok},
};

Modemmeldung Meldung(Meldungsart art, const QString& text, const QString& zusatz = {})
{
    return Modemmeldung{art, text, zusatz};
}

Modemmeldung Zahlmeldung(int code)
{
    switch (code) {
    case 0:
        return Meldung(Meldungsart::Ok, QStringLiteral("OK"));
    case 1:
        return Meldung(Meldungsart::Connect, QStringLiteral("CONNECT"));
    case 2:
        return Meldung(Meldungsart::Ring, QStringLiteral("RING"));
    case 3:
        return Meldung(Meldungsart::NoCarrier, QStringLiteral("NO CARRIER"));
    case 4:
        return Meldung(Meldungsart::Error, QStringLiteral("ERROR"));
    case 5:
        return Meldung(Meldungsart::Connect, QStringLiteral("CONNECT 1200"),
                       QStringLiteral("1200"));
    case 6:
        return Meldung(Meldungsart::NoDialtone, QStringLiteral("NO DIALTONE"));
    case 7:
        return Meldung(Meldungsart::Busy, QStringLiteral("BUSY"));
    case 8:
        return Meldung(Meldungsart::NoAnswer, QStringLiteral("NO ANSWER"));
    default:
        // The numbers of the faster speeds differ from maker to maker.
        return Meldung(Meldungsart::Connect, QStringLiteral("CONNECT"));
    }
}

bool NurZiffern(const QByteArray& zeile)
{
    for (const char c : zeile)
        if (c < '0' || c > '9')
            return false;
    return !zeile.isEmpty();
}

} // namespace

QByteArray ModemzeileBereinigen(const QByteArray& zeile)
{
    QByteArray sauber;
    sauber.reserve(zeile.size());
    for (const char c : zeile)
        if (c >= 0x20 && c <= 0x7E)
            sauber += c;
    return sauber.trimmed();
}

Modemmeldung MeldungDeuten(const QByteArray& zeile)
{
    const QByteArray gross = ModemzeileBereinigen(zeile).toUpper();
    if (gross.isEmpty())
        return {};
    if (gross.startsWith("AT"))
        return Meldung(Meldungsart::Echo, QString::fromLatin1(gross));
    if (NurZiffern(gross) && gross.size() <= 2)
        return Zahlmeldung(gross.toInt());

    const qsizetype connect = gross.lastIndexOf(kConnect);
    if (connect >= 0) {
        const QByteArray rest = gross.mid(connect + qsizetype(sizeof(kConnect) - 1));
        if (rest.isEmpty() || rest.startsWith(' ') || rest.startsWith('/'))
            return Meldung(Meldungsart::Connect, QString::fromLatin1(kConnect + rest),
                           QString::fromLatin1(rest.trimmed()));
    }
    for (const Ergebniswort& e : kErgebniswoerter)
        if (gross.endsWith(e.wort))
            return Meldung(e.art, QString::fromLatin1(e.wort));
    return Meldung(Meldungsart::Sonstige, QString::fromLatin1(gross));
}

bool BeendetWahl(Meldungsart art)
{
    switch (art) {
    case Meldungsart::Connect:
    case Meldungsart::NoCarrier:
    case Meldungsart::Error:
    case Meldungsart::NoDialtone:
    case Meldungsart::Busy:
    case Meldungsart::NoAnswer:
        return true;
    default:
        return false;
    }
}

} // namespace mbus
