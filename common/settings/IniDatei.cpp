#include "IniDatei.h"

#include "platform/Cp1252.h"
#include "platform/Pfad.h"
#include "platform/Sperrdatei.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QLockFile>
#include <QSaveFile>
#include <QStringView>
#include <QThread>

#include <functional>
#include <optional>

namespace {

constexpr char kNeueZeile[] = "\r\n";
// How long a writer waits for another writer of this program before it gives up.
constexpr int kSperrWartezeitMs = 3000;
constexpr int kSperrTaktMs = 5;

// One line of the file: byte positions and what the line says.
struct IniZeile
{
    enum class Art { Leer, Kommentar, Abschnitt, Eintrag, Sonstiges };

    qsizetype anfang = 0;     // first byte of the line
    qsizetype inhaltEnde = 0; // first byte of its line end (or the end of the file)
    qsizetype ende = 0;       // first byte after its line end
    Art art = Art::Leer;
    QString name; // section or key
    QString wert; // value as written (entries only)
};

bool IstLeerzeichen(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

// Blanks and tabs at both ends removed (no-break spaces are characters of the value).
QString Beschneiden(QStringView text)
{
    qsizetype a = 0;
    qsizetype e = text.size();
    while (a < e && IstLeerzeichen(text[a]))
        ++a;
    while (e > a && IstLeerzeichen(text[e - 1]))
        --e;
    return text.mid(a, e - a).toString();
}

IniZeile ZeileDeuten(const QByteArray& bytes, qsizetype anfang, qsizetype inhaltEnde,
                     qsizetype ende)
{
    IniZeile zeile;
    zeile.anfang = anfang;
    zeile.inhaltEnde = inhaltEnde;
    zeile.ende = ende;
    const QString text = Beschneiden(Cp1252ZuText(bytes.mid(anfang, inhaltEnde - anfang)));
    if (text.isEmpty()) {
        zeile.art = IniZeile::Art::Leer;
    } else if (text.startsWith(u';')) {
        zeile.art = IniZeile::Art::Kommentar;
    } else if (text.startsWith(u'[')) {
        zeile.art = IniZeile::Art::Abschnitt;
        qsizetype schluss = text.lastIndexOf(u']');
        if (schluss < 1)
            schluss = text.size();
        zeile.name = Beschneiden(QStringView(text).mid(1, schluss - 1));
    } else if (const qsizetype gleich = text.indexOf(u'='); gleich >= 0) {
        zeile.art = IniZeile::Art::Eintrag;
        zeile.name = Beschneiden(QStringView(text).left(gleich));
        zeile.wert = Beschneiden(QStringView(text).mid(gleich + 1));
    } else {
        zeile.art = IniZeile::Art::Sonstiges;
    }
    return zeile;
}

// The file in lines. A UTF-8 byte-order mark in front stays outside every line.
QList<IniZeile> Zerlegen(const QByteArray& bytes)
{
    QList<IniZeile> zeilen;
    qsizetype anfang = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (anfang < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', anfang);
        const qsizetype ende = lf < 0 ? bytes.size() : lf + 1;
        qsizetype inhaltEnde = lf < 0 ? bytes.size() : lf;
        if (lf >= 0 && inhaltEnde > anfang && bytes[inhaltEnde - 1] == '\r')
            --inhaltEnde;
        zeilen << ZeileDeuten(bytes, anfang, inhaltEnde, ende);
        anfang = ende;
    }
    return zeilen;
}

bool GleicherName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the header of the first section of that name, -1 when there is none.
qsizetype AbschnittSuchen(const QList<IniZeile>& zeilen, const QString& abschnitt)
{
    for (qsizetype i = 0; i < zeilen.size(); ++i)
        if (zeilen[i].art == IniZeile::Art::Abschnitt && GleicherName(zeilen[i].name, abschnitt))
            return i;
    return -1;
}

// Index of the next section header after kopf, or the number of lines.
qsizetype AbschnittEnde(const QList<IniZeile>& zeilen, qsizetype kopf)
{
    qsizetype i = kopf + 1;
    while (i < zeilen.size() && zeilen[i].art != IniZeile::Art::Abschnitt)
        ++i;
    return i;
}

qsizetype SchluesselSuchen(const QList<IniZeile>& zeilen, qsizetype kopf,
                           const QString& schluessel)
{
    const qsizetype ende = AbschnittEnde(zeilen, kopf);
    for (qsizetype i = kopf + 1; i < ende; ++i)
        if (zeilen[i].art == IniZeile::Art::Eintrag && GleicherName(zeilen[i].name, schluessel))
            return i;
    return -1;
}

QString QuotesEntfernen(const QString& wert)
{
    if (wert.size() >= 2) {
        const QChar erstes = wert.front();
        if ((erstes == u'"' || erstes == u'\'') && wert.back() == erstes)
            return wert.mid(1, wert.size() - 2);
    }
    return wert;
}

bool NameBrauchbar(const QString& name)
{
    return !name.contains(u'\r') && !name.contains(u'\n');
}

QString BisZeilenumbruch(const QString& wert)
{
    qsizetype schnitt = wert.size();
    for (qsizetype i = 0; i < wert.size(); ++i) {
        if (wert[i] == u'\r' || wert[i] == u'\n') {
            schnitt = i;
            break;
        }
    }
    return wert.left(schnitt);
}

// ---- changes on the bytes of a file ---------------------------------------------------------

QByteArray WertSetzen(const QByteArray& bytes, const QString& abschnitt,
                      const QString& schluessel, const QString& wert)
{
    const QList<IniZeile> zeilen = Zerlegen(bytes);
    QByteArray neu = bytes;
    const qsizetype kopf = AbschnittSuchen(zeilen, abschnitt);
    if (kopf < 0) {
        if (!neu.isEmpty() && !neu.endsWith('\n') && neu != "\xEF\xBB\xBF")
            neu += kNeueZeile;
        neu += TextZuCp1252(QStringLiteral("[") + abschnitt + QStringLiteral("]")) + kNeueZeile;
        neu += TextZuCp1252(schluessel + u'=' + wert) + kNeueZeile;
        return neu;
    }
    const qsizetype eintrag = SchluesselSuchen(zeilen, kopf, schluessel);
    if (eintrag >= 0) {
        const IniZeile& z = zeilen[eintrag];
        neu.replace(z.anfang, z.inhaltEnde - z.anfang, TextZuCp1252(z.name + u'=' + wert));
        return neu;
    }
    qsizetype letzte = kopf;
    for (qsizetype i = kopf + 1; i < AbschnittEnde(zeilen, kopf); ++i)
        if (zeilen[i].art != IniZeile::Art::Leer)
            letzte = i;
    const IniZeile& z = zeilen[letzte];
    QByteArray einfuegen;
    if (z.ende == z.inhaltEnde) // last line of the file without a line end
        einfuegen += kNeueZeile;
    einfuegen += TextZuCp1252(schluessel + u'=' + wert) + kNeueZeile;
    neu.insert(z.ende, einfuegen);
    return neu;
}

QByteArray SchluesselEntfernen(const QByteArray& bytes, const QString& abschnitt,
                               const QString& schluessel)
{
    const QList<IniZeile> zeilen = Zerlegen(bytes);
    const qsizetype kopf = AbschnittSuchen(zeilen, abschnitt);
    const qsizetype eintrag = kopf < 0 ? -1 : SchluesselSuchen(zeilen, kopf, schluessel);
    if (eintrag < 0)
        return bytes;
    QByteArray neu = bytes;
    neu.remove(zeilen[eintrag].anfang, zeilen[eintrag].ende - zeilen[eintrag].anfang);
    return neu;
}

QByteArray AbschnittEntfernen(const QByteArray& bytes, const QString& abschnitt)
{
    const QList<IniZeile> zeilen = Zerlegen(bytes);
    const qsizetype kopf = AbschnittSuchen(zeilen, abschnitt);
    if (kopf < 0)
        return bytes;
    const qsizetype ende = AbschnittEnde(zeilen, kopf);
    const qsizetype bis = ende < zeilen.size() ? zeilen[ende].anfang : bytes.size();
    QByteArray neu = bytes;
    neu.remove(zeilen[kopf].anfang, bis - zeilen[kopf].anfang);
    return neu;
}

// ---- the file ---------------------------------------------------------------------------------

enum class Dateizustand { Gelesen, Fehlt, Unbrauchbar };

Dateizustand DateiLesen(const QString& pfad, QByteArray& bytes)
{
    bytes.clear();
    const QFileInfo info(pfad);
    if (!info.exists())
        return info.isSymLink() ? Dateizustand::Unbrauchbar : Dateizustand::Fehlt;
    if (!info.isFile() || info.size() > kIniMaxGroesse)
        return Dateizustand::Unbrauchbar;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return Dateizustand::Unbrauchbar;
    bytes = datei.read(kIniMaxGroesse + 1);
    if (datei.error() != QFileDevice::NoError || bytes.size() > kIniMaxGroesse
        || bytes.contains('\0')) {
        bytes.clear();
        return Dateizustand::Unbrauchbar;
    }
    return Dateizustand::Gelesen;
}

// The file the writes go to: a link is followed to its target, so the link stays.
QString Schreibziel(const QString& aufgeloest)
{
    const QFileInfo info(aufgeloest);
    if (info.exists())
        return info.canonicalFilePath();
    return info.absoluteFilePath();
}

// Waits for other writers of this program; gives up after kSperrWartezeitMs. When the lock file
// cannot be made at all (temporary folder not writable), the write goes ahead unguarded: losing
// the setting would be worse than the small chance of two writers at the same moment.
class IniSperre
{
public:
    explicit IniSperre(const QString& ziel) : m_pfad(IniSperrdatei(ziel)), m_datei(m_pfad)
    {
        const QDeadlineTimer frist(kSperrWartezeitMs);
        for (;;) {
            if (m_datei.tryLock(0))
                return;
            if (m_datei.error() != QLockFile::LockFailedError)
                return;
            // A writer killed between creating the file and writing its number into it leaves
            // it empty, which QLockFile counts as held for half a minute: taken over at once.
            if (VerwaisteSperrdateiEntfernen(m_pfad))
                continue;
            if (frist.hasExpired()) {
                m_besetzt = true;
                return;
            }
            QThread::msleep(kSperrTaktMs);
        }
    }
    // True when another writer held the file for the whole wait.
    bool besetzt() const { return m_besetzt; }

private:
    QString m_pfad;
    QLockFile m_datei;
    bool m_besetzt = false;
};

bool Speichern(const QString& ziel, const QByteArray& bytes,
               std::optional<QFileDevice::Permissions> rechte)
{
    QSaveFile datei(ziel);
    datei.setDirectWriteFallback(true);
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    if (rechte)
        datei.setPermissions(*rechte);
    if (datei.write(bytes) != bytes.size()) {
        datei.cancelWriting();
        return false;
    }
    return datei.commit();
}

using Aenderung = std::function<QByteArray(const QByteArray&)>;

bool DateiAendern(const QString& dateiname, const Aenderung& aenderung)
{
    const QString aufgeloest = PfadAufloesen(dateiname);
    if (aufgeloest.isEmpty())
        return false;
    const QString ziel = Schreibziel(aufgeloest);
    if (!QFileInfo(QFileInfo(ziel).absolutePath()).isDir())
        return false;

    const IniSperre sperre(ziel);
    if (sperre.besetzt())
        return false;
    QByteArray alt;
    const Dateizustand zustand = DateiLesen(ziel, alt);
    if (zustand == Dateizustand::Unbrauchbar)
        return false;
    const QByteArray neu = aenderung(alt);
    if (neu == alt && (zustand == Dateizustand::Gelesen || neu.isEmpty()))
        return true;
    std::optional<QFileDevice::Permissions> rechte;
    if (zustand == Dateizustand::Gelesen)
        rechte = QFileInfo(ziel).permissions();
    return Speichern(ziel, neu, rechte);
}

} // namespace

QString ProfilLesen(const QString& abschnitt, const QString& schluessel, const QString& vorgabe,
                    const QString& datei)
{
    const QString pfad = PfadAufloesen(datei);
    QByteArray bytes;
    if (pfad.isEmpty() || DateiLesen(pfad, bytes) != Dateizustand::Gelesen)
        return vorgabe.left(kIniWertLaenge);
    const QList<IniZeile> zeilen = Zerlegen(bytes);
    const qsizetype kopf = AbschnittSuchen(zeilen, Beschneiden(abschnitt));
    const qsizetype eintrag = kopf < 0 ? -1 : SchluesselSuchen(zeilen, kopf, Beschneiden(schluessel));
    if (eintrag < 0)
        return vorgabe.left(kIniWertLaenge);
    return QuotesEntfernen(zeilen[eintrag].wert).left(kIniWertLaenge);
}

bool ProfilSchreiben(const QString& abschnitt, const QString& schluessel, const QString& wert,
                     const QString& datei)
{
    const QString a = Beschneiden(abschnitt);
    const QString s = Beschneiden(schluessel);
    if (!NameBrauchbar(a) || a.contains(u']') || !NameBrauchbar(s) || s.isEmpty()
        || s.contains(u'=') || s.startsWith(u'[') || s.startsWith(u';'))
        return false;
    const QString w = BisZeilenumbruch(wert);
    return DateiAendern(datei, [&](const QByteArray& alt) { return WertSetzen(alt, a, s, w); });
}

bool ProfilSchluesselLoeschen(const QString& abschnitt, const QString& schluessel,
                              const QString& datei)
{
    const QString a = Beschneiden(abschnitt);
    const QString s = Beschneiden(schluessel);
    return DateiAendern(datei,
                        [&](const QByteArray& alt) { return SchluesselEntfernen(alt, a, s); });
}

bool ProfilAbschnittLoeschen(const QString& abschnitt, const QString& datei)
{
    const QString a = Beschneiden(abschnitt);
    return DateiAendern(datei, [&](const QByteArray& alt) { return AbschnittEntfernen(alt, a); });
}

QString IniSperrdatei(const QString& aufgeloesterPfad)
{
    const QByteArray hash =
        QCryptographicHash::hash(Schreibziel(aufgeloesterPfad).toUtf8(), QCryptographicHash::Sha1);
    return QDir::tempPath() + QStringLiteral("/telvarin-ini-") + QString::fromLatin1(hash.toHex())
           + QStringLiteral(".lock");
}
