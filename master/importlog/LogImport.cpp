#include "LogImport.h"

#include "LogZeile.h"
#include "WertdateiErsetzen.h"
#include "ZaehlerSuche.h"

#include "datafiles/RB6Wertdatei.h"
#include "grid/FlexGrid.h"
#include "log/Log.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Pfad.h"
#include "platform/Sperren.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "settings/Einstellungen.h"
#include "text/Texte.h"
#include "zugang/UserConfig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 kTaktMs = 20;
constexpr int kTageswerteSpalten = 10;
constexpr qsizetype kMaxZitat = 24;

QElapsedTimer& Uhrwerk()
{
    static QElapsedTimer uhr = [] {
        QElapsedTimer u;
        u.start();
        return u;
    }();
    return uhr;
}

QString TagText(const QDate& tag)
{
    return QLocale::c().toString(tag, QStringLiteral("dd.MM.yyyy"));
}

QString Anzahl(qint64 n, const char* eins, const char* mehrere)
{
    return QString::number(n) + u' ' + QString::fromUtf8(n == 1 ? eins : mehrere);
}

qint64 MandantNummer()
{
    return qint64(LogVal(Mandant));
}

} // namespace

// Marks a run for its whole length, whichever way it ends.
class LogImport::Lauf
{
public:
    explicit Lauf(LogImport& import) : m_import(import), m_gestartet(import.beginnen()) {}
    ~Lauf()
    {
        if (m_gestartet)
            m_import.beenden();
    }
    Lauf(const Lauf&) = delete;
    Lauf& operator=(const Lauf&) = delete;
    bool gestartet() const { return m_gestartet; }

private:
    LogImport& m_import;
    bool m_gestartet;
};

// The readings of an import, per value file in the order the files were first met.
struct LogImport::Sammlung
{
    struct Ziel
    {
        qint32 lznr = 0;
        int index = 0;
        QList<RB6_Satz> werte;
    };
    QList<Ziel> ziele;
    QHash<quint64, qsizetype> nachSchluessel;

    void ablegen(qint32 lznr, int index, qint32 zeit, double wert)
    {
        const quint64 schluessel = (quint64(quint32(lznr)) << 32) | quint32(index);
        auto gefunden = nachSchluessel.constFind(schluessel);
        qsizetype stelle = 0;
        if (gefunden == nachSchluessel.cend()) {
            stelle = ziele.size();
            nachSchluessel.insert(schluessel, stelle);
            ziele.append(Ziel{lznr, index, {}});
        } else {
            stelle = *gefunden;
        }
        ziele[stelle].werte.append(RB6_Satz{zeit, wert});
    }
};

LogImport::LogImport(Anzeige anzeige) : m_anzeige(std::move(anzeige)) {}

QString LogImport::logDatei(const QDate& tag)
{
    return DBPath + QStringLiteral("MBusLog\\") +
           QLocale::c().toString(tag, QStringLiteral("yyMMdd")) + QStringLiteral("mb.log");
}

std::optional<QDate> LogImport::tagLesen(const QString& text)
{
    const std::optional<qint64> sekunden = LogDatumSekunden(text);
    if (!sekunden || *sekunden < 0 || *sekunden > std::numeric_limits<UnixZeit>::max())
        return std::nullopt;
    return QDate(1970, 1, 1).addDays(*sekunden / 86400);
}

std::optional<std::pair<QDate, QDate>>
LogImport::bereichLesen(const QString& vonText, const QString& bisText, const QString& ergebnisText)
{
    QString grund;
    const QDate tagNull(1970, 1, 1);
    const QDate letzterTag = tagNull.addDays(std::numeric_limits<UnixZeit>::max() / 86400);
    auto pruefen = [&](const QString& text, const char* feld) -> std::optional<QDate> {
        if (!grund.isEmpty())
            return std::nullopt;
        const std::optional<qint64> sekunden = LogDatumSekunden(text);
        // The text as typed, a long one shortened so that the status line keeps its width.
        QString eingabe = text.trimmed();
        if (eingabe.size() > kMaxZitat)
            eingabe = eingabe.left(kMaxZitat) + QStringLiteral("…");
        const QString zitat = QStringLiteral(": \"") + eingabe + u'"';
        if (!sekunden)
            grund =
                QStringLiteral("\"%1\" ist kein Datum (z.B. 15.9.2005)").arg(QLatin1String(feld)) +
                zitat;
        else if (*sekunden < 0)
            grund =
                QStringLiteral("\"%1\" liegt vor dem 01.01.1970").arg(QLatin1String(feld)) + zitat;
        else if (const std::optional<QDate> tag = tagLesen(text))
            return tag;
        else
            grund = QStringLiteral("\"%1\" liegt nach dem %2")
                        .arg(QLatin1String(feld), TagText(letzterTag)) +
                    zitat;
        return std::nullopt;
    };
    const std::optional<QDate> von = pruefen(vonText, "Von");
    const std::optional<QDate> bis = pruefen(bisText, "bis");
    if (von && bis && *bis < *von)
        grund =
            QStringLiteral("\"bis\" (%1) liegt vor \"Von\" (%2)").arg(TagText(*bis), TagText(*von));
    if (!grund.isEmpty()) {
        const QString text = ergebnisText + QStringLiteral(": ") + grund;
        if (m_anzeige.fortschritt)
            m_anzeige.fortschritt(QString());
        status(text);
        MsgBox(text, vbExclamation, QStringLiteral("Import Log Datei"));
        return std::nullopt;
    }
    return std::pair{*von, *bis};
}

bool LogImport::beginnen()
{
    if (m_laeuft) {
        FehlerText = QStringLiteral("Es läuft bereits ein Import");
        return false;
    }
    m_laeuft = true;
    m_anhalten = false;
    m_bilanz = {};
    m_schreibGrund.clear();
    // The first line of a run already serves the queue.
    m_letzterTakt = Uhrwerk().elapsed() - kTaktMs;
    if (m_anzeige.laeuft)
        m_anzeige.laeuft(true);
    return true;
}

void LogImport::beenden()
{
    m_laeuft = false;
    if (m_anzeige.laeuft)
        m_anzeige.laeuft(false);
}

void LogImport::status(const QString& text)
{
    if (m_anzeige.status)
        m_anzeige.status(text);
}

bool LogImport::sperrenHolen(Sperre& sperre)
{
    if (!sperre.holen()) {
        status(Sperren::gehalten(sperre.datei())
                   ? QStringLiteral("Wertdateien gesperrt, ein anderer Import läuft")
                   : QStringLiteral("Wertdateien nicht sperrbar: ") + FehlerText);
        return false;
    }
    // Taken before looking, so that a cycle starting now finds the folder lock.
    if (Sperren::zyklusLaeuft(MandantNummer())) {
        sperre.freigeben();
        status(QStringLiteral("Master-Zyklus läuft, bitte später importieren"));
        return false;
    }
    return true;
}

bool LogImport::takt(qint64 zeilen, qint64 bytes, qint64 laenge, bool sofort)
{
    if (!sofort && !faellig())
        return !m_anhalten;
    if (m_anzeige.fortschritt) {
        const qint64 prozent = laenge > 0 ? qRound64(double(bytes) * 100.0 / double(laenge)) : 0;
        m_anzeige.fortschritt(QString::number(zeilen) + QStringLiteral("  (") +
                              QString::number(prozent) + QStringLiteral("%)"));
    }
    return sofort || bedienen();
}

bool LogImport::faellig() const
{
    return Uhrwerk().elapsed() - m_letzterTakt >= kTaktMs;
}

bool LogImport::bedienen()
{
    m_letzterTakt = Uhrwerk().elapsed();
    if (!DoEvents())
        m_anhalten = true;
    return !m_anhalten;
}

LogImport::Gelesen LogImport::logLesen(
    const QString& datei, qint64 zeilenAnfang,
    const std::function<void(qint32 lznr, int index, qint32 zeit, double wert)>& ablegen)
{
    FehlerText.clear();
    ZaehlerSuche suche;
    if (!suche.laden())
        return Gelesen::DatenbankFehlt;
    QFile log(PfadAufloesen(datei));
    if (!log.open(QIODevice::ReadOnly)) {
        FehlerText = log.errorString() + QStringLiteral(": ") + datei;
        return Gelesen::DateiFehlt;
    }
    const qint64 laenge = log.size();
    qint64 zeilen = zeilenAnfang;
    qint64 bytes = 0;
    LogZeilenLeser leser(log);
    LogZeilenLeser::Zeile zeile;
    while (!leser.amEnde()) {
        if (!takt(zeilen, bytes, laenge, false))
            return Gelesen::Angehalten;
        leser.lesen(zeile);
        bytes += zeile.text.size();
        ++zeilen;
        ++m_bilanz.zeilen;
        if (zeile.abgeschnitten) {
            ++m_bilanz.abgeschnitten;
            continue;
        }
        const std::optional<LogWert> wert = LogZeileLesen(zeile.text);
        if (!wert)
            continue;
        qint32 lznr = 0;
        switch (suche.suchen(wert->adresse, wert->index, wert->port, lznr)) {
        case ZaehlerSuche::Treffer::Keiner:
            break;
        case ZaehlerSuche::Treffer::Mehrdeutig:
            ++m_bilanz.mehrdeutig;
            break;
        case ZaehlerSuche::Treffer::Eindeutig:
            ++m_bilanz.werte;
            ablegen(lznr, wert->index, wert->zeit, wert->wert);
            break;
        }
    }
    takt(zeilen, bytes, laenge, true);
    return Gelesen::Ja;
}

void LogImport::Read_MBusLog(FlexGrid& grid, const QString& datei, bool, const QString&, int,
                             bool ifAppand)
{
    const Lauf lauf(*this);
    if (!lauf.gestartet())
        return;
    Sperre sperre(Sperren::wertordnerDatei(DBPath, MandantNummer()));
    if (!sperrenHolen(sperre))
        return;
    qint64 zeilenAnfang = 0;
    if (ifAppand) {
        zeilenAnfang = grid.Rows();
    } else {
        grid.setRows(0);
        grid.setCols(0);
    }
    if (m_anzeige.gridSichtbar)
        m_anzeige.gridSichtbar(false);
    // A time the file's append rule refuses (-2) is no fault; a file that cannot be made or
    // written is, and the final status says so.
    QString& schreibGrund = m_schreibGrund;
    schreibGrund.clear();
    const Gelesen gelesen =
        logLesen(datei, zeilenAnfang, [&](qint32 lznr, int index, qint32 zeit, double wert) {
            QString name;
            const int rc = RB6_WertSchreiben(DBPath, lznr, zeit, wert, index, name);
            if (rc == -1 || rc == -3 || rc == -4) {
                if (m_bilanz.schreibFehler++ == 0)
                    schreibGrund = FehlerText;
            }
        });
    const QString grund = gelesen == Gelesen::Ja ? schreibGrund : FehlerText;
    if (m_bilanz.schreibFehler > 0)
        LogSchreiben(QStringLiteral("Import Log Datei: ") +
                     Anzahl(m_bilanz.schreibFehler, "Wert", "Werte") +
                     QStringLiteral(" nicht geschrieben: ") + schreibGrund);
    if (m_anzeige.gridSichtbar)
        m_anzeige.gridSichtbar(true);
    m_bilanz.abgebrochen = m_anhalten;
    if (gelesen == Gelesen::DateiFehlt || gelesen == Gelesen::DatenbankFehlt)
        status(QStringLiteral("Datei nicht gelesen: ") + grund);
    else
        status(schlussText());
    FehlerText = grund;
}

bool LogImport::importieren(const QString& vonText, const QString& bisText, FlexGrid& grid)
{
    const Lauf lauf(*this);
    if (!lauf.gestartet())
        return false;
    const auto bereich = bereichLesen(vonText, bisText, QStringLiteral("Nichts importiert"));
    if (!bereich)
        return false;
    const auto& [von, bis] = *bereich;
    Sperre sperre(Sperren::wertordnerDatei(DBPath, MandantNummer()));
    if (!sperrenHolen(sperre))
        return false;

    Sammlung sammlung;
    WertdateiNeuaufbau neuaufbau;
    // A clock beyond the 32-bit range gives 0: then no time counts as after the import.
    const QDateTime importZeit = Jetzt();
    const UnixZeit jetzt = DatumInUnixZeit(importZeit);
    neuaufbau.jetzt = jetzt > 0 ? jetzt : std::numeric_limits<UnixZeit>::max();
    const QDate tagNull(1970, 1, 1);
    QDate ersterOhneLog;
    QDate letzterOhneLog;
    QString grundOhneLog;
    const qint64 n = von.daysTo(bis);
    for (qint64 k = 0; k <= n && !m_anhalten; ++k) {
        const QDate tag = von.addDays(k);
        status(QStringLiteral(" Bearbeite ") + TagText(tag));
        if (faellig() && !bedienen())
            break;
        if (m_anzeige.gridSichtbar)
            m_anzeige.gridSichtbar(false);
        grid.setRows(0);
        grid.setCols(0);
        const Gelesen gelesen =
            logLesen(logDatei(tag), 0, [&](qint32 lznr, int index, qint32 zeit, double wert) {
                sammlung.ablegen(lznr, index, zeit, wert);
            });
        if (m_anzeige.gridSichtbar)
            m_anzeige.gridSichtbar(true);
        if (gelesen == Gelesen::DatenbankFehlt) {
            // Without the meters nothing can be assigned: no file is touched.
            status(QStringLiteral("Import nicht möglich, Datenbank: ") + FehlerText);
            return true;
        }
        if (gelesen == Gelesen::Ja)
            neuaufbau.tage.insert(tagNull.daysTo(tag));
        if (gelesen == Gelesen::DateiFehlt) {
            if (m_bilanz.tageOhneLog++ == 0) {
                ersterOhneLog = tag;
                grundOhneLog = FehlerText;
            }
            letzterOhneLog = tag;
        }
    }
    // One line for the whole range, however many days lack their log.
    if (m_bilanz.tageOhneLog == 1)
        LogSchreiben(QStringLiteral("Import Log Datei: ") + grundOhneLog);
    else if (m_bilanz.tageOhneLog > 1)
        LogSchreiben(QStringLiteral("Import Log Datei: %1 Tage ohne Logdatei (%2 bis %3), "
                                    "zuerst: %4")
                         .arg(m_bilanz.tageOhneLog)
                         .arg(TagText(ersterOhneLog), TagText(letzterOhneLog), grundOhneLog));

    // Nothing is replaced when the reading was stopped.
    if (!m_anhalten) {
        for (qsizetype i = 0; i < sammlung.ziele.size(); ++i) {
            if (!takt(i, i, sammlung.ziele.size(), false))
                break;
            status(QStringLiteral(" Schreibe Wertdatei %1 von %2")
                       .arg(i + 1)
                       .arg(sammlung.ziele.size()));
            const Sammlung::Ziel& ziel = sammlung.ziele[i];
            const WertdateiErsetzenErgebnis ergebnis =
                WertdateiErsetzen(ziel.lznr, ziel.index, ziel.werte, neuaufbau);
            m_bilanz.zukunft += ergebnis.verworfen;
            if (ergebnis.status == 0) {
                ++m_bilanz.dateien;
            } else {
                ++m_bilanz.dateienFehler;
                LogSchreiben(QStringLiteral("Import Log Datei: Wertdatei nicht ersetzt: ") +
                             FehlerText);
            }
        }
    }
    if (m_bilanz.zukunft > 0)
        LogSchreiben(QStringLiteral("Import Log Datei: ") +
                     Anzahl(m_bilanz.zukunft, "Wert", "Werte") +
                     QStringLiteral(" mit Zeit nach dem ") +
                     QLocale::c().toString(importZeit, QStringLiteral("dd.MM.yyyy hh:mm:ss")) +
                     QStringLiteral(" verworfen"));
    m_bilanz.abgebrochen = m_anhalten;
    status(schlussText());
    return true;
}

QString LogImport::schlussText() const
{
    QStringList hinweise;
    if (m_bilanz.abgebrochen)
        hinweise << QStringLiteral("abgebrochen, keine Datei halb geschrieben");
    // Lines skipped, with their reasons.
    QStringList gruende;
    if (m_bilanz.mehrdeutig > 0)
        gruende << QStringLiteral("Adresse mehrfach vergeben");
    if (m_bilanz.abgeschnitten > 0)
        gruende << QStringLiteral("ohne Zeilenende");
    if (gruende.size() == 2) {
        gruende[0].prepend(QString::number(m_bilanz.mehrdeutig) + u' ');
        gruende[1].prepend(QString::number(m_bilanz.abgeschnitten) + u' ');
    }
    if (!gruende.isEmpty())
        hinweise << Anzahl(m_bilanz.mehrdeutig + m_bilanz.abgeschnitten, "Zeile", "Zeilen") +
                        QStringLiteral(" übersprungen (") + gruende.join(QStringLiteral(", ")) +
                        u')';
    if (m_bilanz.tageOhneLog > 0)
        hinweise << Anzahl(m_bilanz.tageOhneLog, "Tag", "Tage") + QStringLiteral(" ohne Logdatei");
    if (m_bilanz.zukunft > 0)
        hinweise << Anzahl(m_bilanz.zukunft, "Wert", "Werte") +
                        QStringLiteral(" mit Zeit in der Zukunft verworfen");
    if (m_bilanz.dateienFehler > 0)
        hinweise << Anzahl(m_bilanz.dateienFehler, "Wertdatei", "Wertdateien") +
                        QStringLiteral(" nicht ersetzt (siehe Programmlog)");
    if (m_bilanz.schreibFehler > 0)
        hinweise << Anzahl(m_bilanz.schreibFehler, "Wert", "Werte") +
                        QStringLiteral(" nicht geschrieben: ") + m_schreibGrund;
    QString text = QStringLiteral("Fertig");
    if (!hinweise.isEmpty())
        text += QStringLiteral(" (") + hinweise.join(QStringLiteral(", ")) + u')';
    return text;
}

bool LogImport::tgIndexLesen(FlexGrid& grid, const QString& datei, int primAdr, int tgNr)
{
    FehlerText.clear();
    const QString pfad = PfadAufloesen(datei);
    QFile log(pfad);
    if (!log.open(QIODevice::ReadOnly)) {
        FehlerText = log.errorString() + QStringLiteral(": ") + datei;
        return false;
    }
    const qint64 laenge = log.size();
    if (laenge == 0) {
        log.remove();
        return true;
    }
    qint64 zeilen = 0;
    qint64 bytes = 0;
    qint64 vorige = 0;
    bool getroffen = false;
    LogZeilenLeser leser(log);
    LogZeilenLeser::Zeile zeile;
    while (!leser.amEnde()) {
        bytes += vorige;
        if (!takt(zeilen, bytes, laenge, false))
            return false;
        leser.lesen(zeile);
        vorige = zeile.text.size();
        ++zeilen;
        if (zeile.abgeschnitten) {
            ++m_bilanz.abgeschnitten;
            continue;
        }
        const std::optional<LogWert> wert = LogZeileLesen(zeile.text);
        if (!wert)
            continue;
        if (wert->adresse != primAdr) {
            if (getroffen)
                break;
            continue;
        }
        getroffen = true;
        if (!grid.setTextMatrix(tgNr, wert->index + 1, ZahlAlsText(wert->wert)))
            FehlerText = grid.letzterFehler();
        grid.setTextMatrix(tgNr, 0, wert->zeitText.toString());
    }
    takt(zeilen, bytes, laenge, true);
    return true;
}

void LogImport::Read_MBusLogTgIndex(FlexGrid& grid, const QString& datei, const QString& primAdr,
                                    int tgNr)
{
    const Lauf lauf(*this);
    if (lauf.gestartet())
        tgIndexLesen(grid, datei, int(std::nearbyint(LogVal(primAdr))), tgNr);
}

bool LogImport::tageswerte(const QString& vonText, const QString& bisText, const QString& adresse,
                           FlexGrid& grid)
{
    const Lauf lauf(*this);
    if (!lauf.gestartet())
        return false;
    const auto bereich = bereichLesen(vonText, bisText, QStringLiteral("Keine Tageswerte gelesen"));
    if (!bereich)
        return false;
    const auto& [von, bis] = *bereich;
    const qint64 n = von.daysTo(bis);
    // A first row and one row per day.
    const qint64 zeilen = std::clamp<qint64>(n + 2, 2, FlexGrid::kMaxZeilen / kTageswerteSpalten);
    grid.setRows(int(zeilen));
    grid.setCols(kTageswerteSpalten);
    grid.Clear();
    const int primAdr = int(std::nearbyint(LogVal(adresse)));
    for (qint64 k = 0; k <= n && k + 1 < zeilen && !m_anhalten; ++k) {
        const QDate tag = von.addDays(k);
        status(QStringLiteral(" Bearbeite ") + TagText(tag));
        if (faellig() && !bedienen())
            break;
        if (!tgIndexLesen(grid, logDatei(tag), primAdr, int(k + 1)) && !m_anhalten)
            ++m_bilanz.tageOhneLog;
    }
    m_bilanz.abgebrochen = m_anhalten;
    status(schlussText());
    return true;
}

std::optional<QString> ImportLogStarten()
{
    std::optional<QString> datenbank;
    if (Mandant.isEmpty()) {
        DBPath = QDir(Programmordner()).absolutePath() + u'/';
        KommandozeileAuswerten();
        if (Mandant.isEmpty())
            Mandant = QStringLiteral("1320");
        ZEPIniLesen(QStringLiteral(".\\zep.ini"));
        datenbank = DBPath + QStringLiteral("basis.mdb");
        DatenPath = DBPath;
    }
    const double bloecke = LogVal(
        IniLesen(Mandant + QStringLiteral("MBus"), QStringLiteral("RB6_StandardGroesse"), kZepIni));
    RB6_StandardGroesse =
        bloecke >= 1 && bloecke <= 1'000'000 ? qint32(bloecke) : kRB6_VorgabeBloecke;
    return datenbank;
}
