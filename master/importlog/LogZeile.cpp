#include "LogZeile.h"

#include "log/MasterLogZeile.h"
#include "platform/Cp1252.h"

#include <QDate>
#include <QIODevice>
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

// The longest time stamp looked for inside a line: "dd.mm.yyyy hh:mm:ss" with room for blanks.
constexpr qsizetype kMaxZeitstempel = 32;

// Whether a text has at least n fields as LogZeileLesen counts them (an empty text after the
// last ";" is no field); reads no further than the n-th ";".
bool MindestensFelder(QStringView text, int n)
{
    int trenner = 0;
    for (const QChar c : text)
        if (c == u';' && ++trenner >= n)
            return true;
    return trenner == n - 1 && !text.isEmpty() && text.back() != u';';
}

// The fields of a line as LogZeileLesen counts them (an empty text after the last ";" is none).
qsizetype FelderZaehlen(QStringView zeile)
{
    const qsizetype trenner = zeile.count(u';');
    return zeile.isEmpty() || zeile.back() == u';' ? trenner : trenner + 1;
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

std::optional<qint64> LogDatumSekunden(QStringView text)
{
    text = OhneBlanks(text);
    qsizetype pos = 0;
    const int tag = ZahlLesen(text, pos, 2);
    if (tag < 0 || pos >= text.size() || text[pos++] != u'.')
        return std::nullopt;
    const int monat = ZahlLesen(text, pos, 2);
    if (monat < 0 || pos >= text.size() || text[pos++] != u'.')
        return std::nullopt;
    const qsizetype jahrAnfang = pos;
    int jahr = ZahlLesen(text, pos, 4);
    const qsizetype jahrZiffern = pos - jahrAnfang;
    if (jahrZiffern == 2)
        jahr += jahr < 30 ? 2000 : 1900;
    else if (jahrZiffern != 4)
        return std::nullopt;

    int stunde = 0, minute = 0, sekunde = 0;
    if (pos < text.size()) {
        if (text[pos] != u' ')
            return std::nullopt;
        while (pos < text.size() && text[pos] == u' ')
            ++pos;
        stunde = ZahlLesen(text, pos, 2);
        if (stunde < 0 || pos >= text.size() || text[pos++] != u':')
            return std::nullopt;
        const qsizetype minuteAnfang = pos;
        minute = ZahlLesen(text, pos, 2);
        if (minute < 0 || pos - minuteAnfang != 2)
            return std::nullopt;
        if (pos < text.size()) {
            if (text[pos++] != u':')
                return std::nullopt;
            const qsizetype sekundeAnfang = pos;
            sekunde = ZahlLesen(text, pos, 2);
            if (sekunde < 0 || pos - sekundeAnfang != 2)
                return std::nullopt;
        }
        if (pos != text.size() || stunde > 23 || minute > 59 || sekunde > 59)
            return std::nullopt;
    }
    const QDate datum(jahr, monat, tag);
    if (!datum.isValid())
        return std::nullopt;
    static const qint64 kJulian1970 = QDate(1970, 1, 1).toJulianDay();
    return (datum.toJulianDay() - kJulian1970) * 86400 + stunde * 3600 + minute * 60 + sekunde;
}

UnixZeit LogZeitLesen(QStringView text)
{
    const std::optional<qint64> sekunden = LogDatumSekunden(text);
    if (!sekunden || *sekunden <= 0 || *sekunden > std::numeric_limits<UnixZeit>::max())
        return 0;
    return UnixZeit(*sekunden);
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

qsizetype LogZeileFortsetzung(QStringView zeile)
{
    const qsizetype erstesEnde = zeile.indexOf(u';');
    if (erstesEnde < 0)
        return -1;
    // A line's own time stamp is no second line (its day may well have one digit less); without
    // a time after it there is none.
    const bool eigeneZeit = LogDatumSekunden(zeile.left(erstesEnde)).has_value();
    if (eigeneZeit && zeile.indexOf(u':', erstesEnde) < 0)
        return -1;
    // Whether a field is (part of) the meter name of a master data line that reads; the line is
    // read once, when first asked.
    std::optional<qsizetype> namensEnde;
    auto imMeterNamen = [&](int feld) {
        if (!namensEnde) {
            constexpr int kNachDemNamen = MasterLogFelder::kAnzahl - MasterLogFelder::kName - 1;
            const qsizetype anzahl = FelderZaehlen(zeile);
            namensEnde = anzahl >= MasterLogFelder::kAnzahl && LogZeileLesen(zeile)
                             ? anzahl - kNachDemNamen
                             : 0;
        }
        return feld >= MasterLogFelder::kName && feld < *namensEnde;
    };
    qsizetype feldAnfang = 0;
    int feld = 0;
    for (qsizetype ende = erstesEnde; ende < zeile.size(); ++ende) {
        if (zeile[ende] != u';')
            continue;
        // A time stamp ends the field (blanks may follow it).
        QStringView inhalt = zeile.mid(feldAnfang, ende - feldAnfang);
        while (!inhalt.isEmpty() && inhalt.back() == u' ')
            inhalt.chop(1);
        const qsizetype erste =
            std::max<qsizetype>(feld == 0 ? 1 : 0, inhalt.size() - kMaxZeitstempel);
        if (!(feld == 0 && eigeneZeit) && inhalt.contains(u':')) {
            for (qsizetype p = erste; p < inhalt.size(); ++p) {
                if (!IstZiffer(inhalt[p]))
                    continue;
                const QStringView kandidat = inhalt.mid(p);
                if (!LogDatumSekunden(kandidat) || !kandidat.contains(u':'))
                    continue;
                const qsizetype stelle = feldAnfang + p;
                // A date in the name of a meter whose line reads is part of the name, unless a
                // whole data line of the master follows it.
                if (feld >= MasterLogFelder::kName &&
                    !MindestensFelder(zeile.mid(stelle), MasterLogFelder::kAnzahl) &&
                    imMeterNamen(feld))
                    break;
                return stelle;
            }
        }
        feldAnfang = ende + 1;
        ++feld;
    }
    return -1;
}

LogZeilenLeser::LogZeilenLeser(QIODevice& datei) : m_datei(datei) {}

bool LogZeilenLeser::amEnde() const
{
    return m_naechste >= m_zeilen.size() && m_datei.atEnd();
}

bool LogZeilenLeser::lesen(Zeile& zeile)
{
    if (m_naechste >= m_zeilen.size()) {
        m_zeilen.clear();
        m_naechste = 0;
        if (m_datei.atEnd())
            return false;
        QByteArray roh = m_datei.readLine();
        while (roh.endsWith('\n') || roh.endsWith('\r'))
            roh.chop(1);
        // A bare CR ends a line too.
        const QList<QByteArray> stuecke = roh.contains('\r') ? roh.split('\r') : QList{roh};
        for (const QByteArray& stueck : stuecke) {
            const QString text = Cp1252ZuText(stueck);
            QStringView rest = text;
            for (qsizetype p = LogZeileFortsetzung(rest); p > 0; p = LogZeileFortsetzung(rest)) {
                m_zeilen.append(Zeile{rest.left(p).toString(), true});
                rest = rest.mid(p);
            }
            m_zeilen.append(Zeile{rest.size() == text.size() ? text : rest.toString(), false});
        }
    }
    zeile = std::move(m_zeilen[m_naechste++]);
    return true;
}
