#include "LogZeile.h"

#include "log/MasterLogZeile.h"

#include <QDate>
#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr int kMaxFelder = 64;

bool IstZiffer(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QStringView OhneBlanks(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.mid(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

// Reads 1 to maxZiffern digits at pos; -1 when there is none.
int ZahlLesen(QStringView text, qsizetype& pos, int maxZiffern)
{
    int wert = 0;
    int ziffern = 0;
    while (pos < text.size() && ziffern < maxZiffern && IstZiffer(text[pos])) {
        wert = wert * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++ziffern;
    }
    return ziffern > 0 ? wert : -1;
}

bool BeginntMitZiffer(QStringView text)
{
    text = OhneBlanks(text);
    return !text.isEmpty() && IstZiffer(text.front());
}

// A whole number text (blanks around allowed) that fits an int.
std::optional<int> GanzeZahl(QStringView text)
{
    text = OhneBlanks(text);
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int wert = 0;
    for (const QChar c : text) {
        if (!IstZiffer(c))
            return std::nullopt;
        wert = wert * 10 + (c.unicode() - u'0');
    }
    return wert;
}

// A number text: sign, digits with one "," or "." as decimal sign, exponent; blanks around.
std::optional<double> Zahl(QStringView text)
{
    text = OhneBlanks(text);
    if (text.isEmpty() || text.size() > 60)
        return std::nullopt;
    char puffer[64];
    qsizetype n = 0;
    qsizetype pos = 0;
    if (text[pos] == u'+' || text[pos] == u'-')
        puffer[n++] = char(text[pos++].unicode());
    int ziffern = 0;
    bool komma = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (IstZiffer(c)) {
            puffer[n++] = char(c.unicode());
            ++ziffern;
        } else if ((c == u',' || c == u'.') && !komma) {
            puffer[n++] = '.';
            komma = true;
        } else {
            break;
        }
    }
    if (ziffern == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        puffer[n++] = 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
            puffer[n++] = char(text[pos++].unicode());
        int exponent = 0;
        for (; pos < text.size() && IstZiffer(text[pos]); ++pos, ++exponent)
            puffer[n++] = char(text[pos].unicode());
        if (exponent == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    double wert = 0;
    const auto [ende, fehler] = std::from_chars(puffer, puffer + n, wert);
    if (fehler != std::errc() || ende != puffer + n || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

} // namespace

double LogVal(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t'))
        ++pos;
    char puffer[64];
    qsizetype n = 0;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        puffer[n++] = char(text[pos++].unicode());
    bool punkt = false;
    int ziffern = 0;
    for (; pos < text.size() && n < 60; ++pos) {
        const QChar c = text[pos];
        if (IstZiffer(c)) {
            puffer[n++] = char(c.unicode());
            ++ziffern;
        } else if (c == u'.' && !punkt) {
            puffer[n++] = '.';
            punkt = true;
        } else {
            break;
        }
    }
    if (ziffern == 0)
        return 0;
    double wert = 0;
    std::from_chars(puffer, puffer + n, wert);
    return wert;
}

UnixZeit LogZeitLesen(QStringView text)
{
    text = OhneBlanks(text);
    qsizetype pos = 0;
    const int tag = ZahlLesen(text, pos, 2);
    if (tag < 0 || pos >= text.size() || text[pos++] != u'.')
        return 0;
    const int monat = ZahlLesen(text, pos, 2);
    if (monat < 0 || pos >= text.size() || text[pos++] != u'.')
        return 0;
    const qsizetype jahrAnfang = pos;
    int jahr = ZahlLesen(text, pos, 4);
    const qsizetype jahrZiffern = pos - jahrAnfang;
    if (jahrZiffern == 2)
        jahr += jahr < 30 ? 2000 : 1900;
    else if (jahrZiffern != 4)
        return 0;

    int stunde = 0, minute = 0, sekunde = 0;
    if (pos < text.size()) {
        if (text[pos] != u' ')
            return 0;
        while (pos < text.size() && text[pos] == u' ')
            ++pos;
        stunde = ZahlLesen(text, pos, 2);
        if (stunde < 0 || pos >= text.size() || text[pos++] != u':')
            return 0;
        const qsizetype minuteAnfang = pos;
        minute = ZahlLesen(text, pos, 2);
        if (minute < 0 || pos - minuteAnfang != 2)
            return 0;
        if (pos < text.size()) {
            if (text[pos++] != u':')
                return 0;
            const qsizetype sekundeAnfang = pos;
            sekunde = ZahlLesen(text, pos, 2);
            if (sekunde < 0 || pos - sekundeAnfang != 2)
                return 0;
        }
        if (pos != text.size() || stunde > 23 || minute > 59 || sekunde > 59)
            return 0;
    }
    const QDate datum(jahr, monat, tag);
    if (!datum.isValid())
        return 0;
    static const qint64 kJulian1970 = QDate(1970, 1, 1).toJulianDay();
    const qint64 sekunden =
        (datum.toJulianDay() - kJulian1970) * 86400 + stunde * 3600 + minute * 60 + sekunde;
    if (sekunden <= 0 || sekunden > std::numeric_limits<UnixZeit>::max())
        return 0;
    return UnixZeit(sekunden);
}

std::optional<LogWert> LogZeileLesen(QStringView zeile)
{
    QVarLengthArray<QStringView, 16> felder;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        if (zeile[i] == u';') {
            if (felder.size() == kMaxFelder)
                return std::nullopt; // no log line of ours has that many fields
            felder.append(zeile.mid(anfang, i - anfang));
            anfang = i + 1;
        }
    }
    if (anfang < zeile.size())
        felder.append(zeile.mid(anfang));
    const qsizetype anzahl = felder.size();
    if (anzahl < 4)
        return std::nullopt;

    QStringView adresse, index, wert, port;
    if (anzahl >= MasterLogFelder::kAnzahl) {
        // From the right: ...;port;address;k;value;unit
        adresse = felder[anzahl - 4];
        index = felder[anzahl - 3];
        wert = felder[anzahl - 2];
        port = felder[anzahl - 5];
    } else {
        adresse = felder[1];
        index = felder[2];
        wert = felder[3];
    }
    if (!BeginntMitZiffer(adresse))
        return std::nullopt;
    const std::optional<int> idx = GanzeZahl(index);
    const std::optional<double> zahl = idx ? Zahl(wert) : std::nullopt;
    if (!zahl)
        return std::nullopt;
    const UnixZeit zeit = LogZeitLesen(felder[0]);
    if (zeit <= 0)
        return std::nullopt;
    const double adressWert = LogVal(adresse);
    if (!(adressWert < double(std::numeric_limits<int>::max())))
        return std::nullopt;

    LogWert ergebnis;
    ergebnis.zeit = zeit;
    ergebnis.zeitText = felder[0];
    ergebnis.adresse = int(std::nearbyint(adressWert));
    ergebnis.index = *idx;
    ergebnis.wert = *zahl;
    if (!port.isNull())
        ergebnis.port = GanzeZahl(port).value_or(-1);
    return ergebnis;
}
