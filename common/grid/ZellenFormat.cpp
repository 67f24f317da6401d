#include "ZellenFormat.h"

#include "platform/Global.h"
#include "platform/Uhr.h"
#include "text/Texte.h"

#include <QDate>
#include <QList>
#include <QRegularExpression>
#include <QTime>

#include <array>
#include <cmath>
#include <optional>

namespace {

// A character of a pattern: quoted or escaped characters are literal text.
struct Zeichen
{
    QChar z;
    bool woertlich = false;
};

QList<Zeichen> MusterZerlegen(const QString& muster)
{
    QList<Zeichen> zeichen;
    for (qsizetype i = 0; i < muster.size(); ++i) {
        const QChar z = muster[i];
        if (z == u'"') {
            for (++i; i < muster.size() && muster[i] != u'"'; ++i)
                zeichen.append({muster[i], true});
        } else if (z == u'\\' && i + 1 < muster.size()) {
            zeichen.append({muster[++i], true});
        } else {
            zeichen.append({z, false});
        }
    }
    return zeichen;
}

QString BenanntesMuster(const QString& muster)
{
    struct Name
    {
        const char* name;
        const char* muster;
    };
    static constexpr std::array<Name, 8> kNamen = {{
        {"General Number", "0.##############"},
        {"Fixed", "0.00"},
        {"Standard", "#,##0.00"},
        {"Percent", "0.00%"},
        {"General Date", "dd.mm.yyyy hh:nn:ss"},
        {"Short Date", "dd.mm.yyyy"},
        {"Long Time", "hh:nn:ss"},
        {"Short Time", "hh:nn"},
    }};
    for (const Name& n : kNamen)
        if (muster.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(n.muster);
    return muster;
}

bool IstZiffernplatz(const Zeichen& z)
{
    return !z.woertlich && (z.z == u'0' || z.z == u'#');
}

bool IstZahlmuster(const QList<Zeichen>& zeichen)
{
    for (const Zeichen& z : zeichen)
        if (IstZiffernplatz(z))
            return true;
    return false;
}

bool IstDatumsmuster(const QList<Zeichen>& zeichen)
{
    for (const Zeichen& z : zeichen)
        if (!z.woertlich && QStringLiteral("dmyhnsDMYHNS").contains(z.z))
            return true;
    return false;
}

// ---- numbers ------------------------------------------------------------------------------

struct Zahlmuster
{
    QString vor;
    QString nach;
    int minGanz = 0;
    int minNachkomma = 0;
    int maxNachkomma = 0;
    bool dezimalzeichen = false;
    bool gruppen = false;
    bool prozent = false;
};

std::optional<Zahlmuster> ZahlmusterLesen(const QList<Zeichen>& zeichen)
{
    qsizetype anfang = -1;
    qsizetype ende = -1;
    for (qsizetype i = 0; i < zeichen.size(); ++i) {
        if (IstZiffernplatz(zeichen[i])) {
            if (anfang < 0)
                anfang = i;
            ende = i;
        }
    }
    if (anfang < 0)
        return std::nullopt;
    // A decimal sign right before the first digit place (".00") belongs to the number.
    if (anfang > 0 && !zeichen[anfang - 1].woertlich && zeichen[anfang - 1].z == u'.')
        --anfang;

    Zahlmuster m;
    bool nachkomma = false;
    for (qsizetype i = anfang; i <= ende; ++i) {
        const Zeichen& z = zeichen[i];
        if (z.woertlich)
            return std::nullopt;
        if (z.z == u'.') {
            if (nachkomma)
                return std::nullopt;
            nachkomma = true;
            m.dezimalzeichen = true;
        } else if (z.z == u',') {
            if (!nachkomma)
                m.gruppen = true;
        } else if (z.z == u'0' || z.z == u'#') {
            if (nachkomma) {
                ++m.maxNachkomma;
                if (z.z == u'0')
                    m.minNachkomma = m.maxNachkomma;
            } else if (z.z == u'0') {
                ++m.minGanz;
            }
        } else {
            return std::nullopt;
        }
    }
    // A decimal sign right after the last digit place ("0.") is kept.
    if (ende + 1 < zeichen.size() && !zeichen[ende + 1].woertlich && zeichen[ende + 1].z == u'.' &&
        !nachkomma) {
        m.dezimalzeichen = true;
        ++ende;
    }
    for (qsizetype i = 0; i < zeichen.size(); ++i) {
        if (i >= anfang && i <= ende)
            continue;
        const Zeichen& z = zeichen[i];
        if (!z.woertlich && (z.z == u'e' || z.z == u'E') && i + 1 < zeichen.size() &&
            (zeichen[i + 1].z == u'+' || zeichen[i + 1].z == u'-'))
            return std::nullopt; // scientific patterns are not supported
        if (!z.woertlich && z.z == u'%')
            m.prozent = true;
        (i < anfang ? m.vor : m.nach) += z.z;
    }
    return m;
}

// Adds one to a string of decimal digits.
QString Aufrunden(QString ziffern)
{
    qsizetype i = ziffern.size() - 1;
    while (i >= 0 && ziffern[i] == u'9') {
        ziffern[i] = u'0';
        --i;
    }
    if (i < 0)
        ziffern.prepend(u'1');
    else
        ziffern[i] = QChar(ziffern[i].unicode() + 1);
    return ziffern;
}

std::optional<QString> ZahlFormatieren(double wert, const QString& muster)
{
    const std::optional<Zahlmuster> m = ZahlmusterLesen(MusterZerlegen(muster));
    if (!m)
        return std::nullopt;
    if (m->prozent)
        wert *= 100.0;
    if (!std::isfinite(wert))
        return std::nullopt;

    // The value as 15 significant decimal digits, as the stored number texts carry it.
    const QString e = QString::number(std::fabs(wert), 'e', 14);
    const qsizetype ePos = e.indexOf(u'e');
    const QString ziffern = e.left(1) + e.mid(2, ePos - 2);
    const int ganzStellen = e.mid(ePos + 1).toInt() + 1;
    QString ganz;
    QString bruch;
    if (ganzStellen >= ziffern.size()) {
        ganz = ziffern + QString(ganzStellen - ziffern.size(), u'0');
    } else if (ganzStellen > 0) {
        ganz = ziffern.left(ganzStellen);
        bruch = ziffern.mid(ganzStellen);
    } else {
        bruch = QString(-ganzStellen, u'0') + ziffern;
    }

    if (bruch.size() > m->maxNachkomma) {
        const bool auf = bruch[m->maxNachkomma] >= u'5';
        bruch.truncate(m->maxNachkomma);
        if (auf) {
            const QString alles = Aufrunden(ganz + bruch);
            ganz = alles.left(alles.size() - bruch.size());
            bruch = alles.right(bruch.size());
        }
    }
    while (bruch.size() > m->minNachkomma && bruch.endsWith(u'0'))
        bruch.chop(1);
    while (bruch.size() < m->minNachkomma)
        bruch += u'0';
    qsizetype fuehrend = 0;
    while (fuehrend < ganz.size() && ganz[fuehrend] == u'0')
        ++fuehrend;
    ganz = ganz.mid(fuehrend);
    const bool null =
        ganz.isEmpty() && !bruch.contains(QRegularExpression(QStringLiteral("[1-9]")));
    while (ganz.size() < m->minGanz)
        ganz.prepend(u'0');
    if (m->gruppen)
        for (qsizetype i = ganz.size() - 3; i > 0; i -= 3)
            ganz.insert(i, u'.');

    QString text = (wert < 0 && !null) ? QStringLiteral("-") : QString();
    text += m->vor + ganz;
    if (m->dezimalzeichen)
        text += u',' + bruch;
    return text + m->nach;
}

bool IstZahlText(const QString& text)
{
    static const QRegularExpression kZahl(
        QStringLiteral(R"(^\s*[+-]?(\d+([.,]\d*)?|[.,]\d+)([eE][+-]?\d{1,3})?\s*$)"));
    return kZahl.match(text).hasMatch();
}

// ---- dates --------------------------------------------------------------------------------

int JahrAusText(const QString& text)
{
    const int jahr = text.toInt();
    if (text.size() > 2)
        return jahr;
    return jahr < 30 ? 2000 + jahr : 1900 + jahr;
}

std::optional<QDateTime> DatumLesen(const QString& text)
{
    static const QRegularExpression kDeutsch(QStringLiteral(
        R"(^(\d{1,2})\.(\d{1,2})\.(\d{2}|\d{4})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    static const QRegularExpression kIso(QStringLiteral(
        R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    static const QRegularExpression kUhrzeit(
        QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$)"));

    const QString t = text.trimmed();
    QDate datum;
    QString stunde;
    QString minute;
    QString sekunde;
    if (const auto d = kDeutsch.match(t); d.hasMatch()) {
        datum = QDate(JahrAusText(d.captured(3)), d.captured(2).toInt(), d.captured(1).toInt());
        stunde = d.captured(4);
        minute = d.captured(5);
        sekunde = d.captured(6);
    } else if (const auto i = kIso.match(t); i.hasMatch()) {
        datum = QDate(i.captured(1).toInt(), i.captured(2).toInt(), i.captured(3).toInt());
        stunde = i.captured(4);
        minute = i.captured(5);
        sekunde = i.captured(6);
    } else if (const auto u = kUhrzeit.match(t); u.hasMatch()) {
        datum = QDate(1899, 12, 30); // the day a time without date belongs to
        stunde = u.captured(1);
        minute = u.captured(2);
        sekunde = u.captured(3);
    } else {
        return std::nullopt;
    }
    const QTime zeit(stunde.toInt(), minute.toInt(), sekunde.toInt());
    if (!datum.isValid() || !zeit.isValid())
        return std::nullopt;
    return Wandzeit(datum, zeit);
}

const std::array<const char*, 7> kTagKurz = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
const std::array<const char*, 7> kTagLang = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                             "Freitag", "Samstag",  "Sonntag"};
const std::array<const char*, 12> kMonatKurz = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                                "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const std::array<const char*, 12> kMonatLang = {"Januar",    "Februar", "März",     "April",
                                                "Mai",       "Juni",    "Juli",     "August",
                                                "September", "Oktober", "November", "Dezember"};

QString Zweistellig(int wert)
{
    return QStringLiteral("%1").arg(wert, 2, 10, QChar(u'0'));
}

// True when the next date letter after position i is a seconds letter.
bool SekundenFolgen(const QList<Zeichen>& zeichen, qsizetype i)
{
    for (; i < zeichen.size(); ++i) {
        if (zeichen[i].woertlich || !zeichen[i].z.isLetter())
            continue;
        return zeichen[i].z.toLower() == u's';
    }
    return false;
}

} // namespace

QString DatumFormatieren(const QDateTime& datum, const QString& muster)
{
    const QDate d = datum.date();
    const QTime t = datum.time();
    const QList<Zeichen> zeichen = MusterZerlegen(muster);
    QString text;
    bool nachStunde = false;
    for (qsizetype i = 0; i < zeichen.size();) {
        const Zeichen& z = zeichen[i];
        const QChar klein = z.z.toLower();
        if (z.woertlich || !QStringLiteral("dmyhns").contains(klein)) {
            text += (!z.woertlich && z.z == u'/') ? QChar(u'.') : z.z;
            ++i;
            continue;
        }
        qsizetype n = 1;
        while (i + n < zeichen.size() && !zeichen[i + n].woertlich &&
               zeichen[i + n].z.toLower() == klein)
            ++n;
        const auto einOderZwei = [&](int wert) {
            return n >= 2 ? Zweistellig(wert) : QString::number(wert);
        };
        switch (klein.unicode()) {
        case u'd':
            if (n >= 4)
                text += QLatin1String(kTagLang[d.dayOfWeek() - 1]);
            else if (n == 3)
                text += QLatin1String(kTagKurz[d.dayOfWeek() - 1]);
            else
                text += einOderZwei(d.day());
            break;
        case u'm':
            if (n <= 2 && (nachStunde || SekundenFolgen(zeichen, i + n)))
                text += einOderZwei(t.minute());
            else if (n >= 4)
                text += QString::fromUtf8(kMonatLang[d.month() - 1]);
            else if (n == 3)
                text += QLatin1String(kMonatKurz[d.month() - 1]);
            else
                text += einOderZwei(d.month());
            break;
        case u'y':
            if (n == 1)
                text += QString::number(d.dayOfYear());
            else if (n == 2)
                text += Zweistellig(d.year() % 100);
            else
                text += QString::number(d.year());
            break;
        case u'h':
            text += einOderZwei(t.hour());
            break;
        case u'n':
            text += einOderZwei(t.minute());
            break;
        case u's':
            text += einOderZwei(t.second());
            break;
        }
        nachStunde = klein == u'h';
        i += n;
    }
    return text;
}

QString ZelleFormatieren(const QString& text, const QString& muster)
{
    const QString m = BenanntesMuster(muster);
    if (m == u">")
        return text.toUpper();
    if (m == u"<")
        return text.toLower();
    const QList<Zeichen> zeichen = MusterZerlegen(m);
    if (IstZahlmuster(zeichen)) {
        if (!IstZahlText(text))
            return text;
        const QString vorher = FehlerText;
        FehlerText.clear();
        const double wert = MB_TextZuDouble(QVariant(text));
        const bool gelesen = FehlerText.isEmpty();
        FehlerText = vorher;
        if (!gelesen)
            return text;
        return ZahlFormatieren(wert, m).value_or(text);
    }
    if (IstDatumsmuster(zeichen)) {
        const std::optional<QDateTime> datum = DatumLesen(text);
        return datum ? DatumFormatieren(*datum, m) : text;
    }
    return text;
}
