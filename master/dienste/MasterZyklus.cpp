#include "MasterZyklus.h"

#include "database/MBConnection.h"
#include "database/WertTabellen.h"
#include "datafiles/RB6Wertdatei.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "lesen/Zaehlerlesen.h"
#include "log/Log.h"
#include "log/MasterLogZeile.h"
#include "master/dienste/MasterLog.h"
#include "master/dienste/MasterSpeichern.h"
#include "platform/Global.h"
#include "platform/Sperren.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"
#include "serial/SerielleSchnittstelle.h"
#include "text/Texte.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace {

// How long the end of a cycle waits for the log import to release the value folder.
constexpr int kImportWartezeit = 120 * 1000;
int gImportWartezeit = kImportWartezeit;

void mbLog(const QString& text)
{
    MBusLogSchreiben(text, QString(), kMBusLogSuffix);
}

QString DienstText(int status)
{
    switch (status) {
    case 1:
        return QStringLiteral("Dienst war beendet");
    case 4:
        return QStringLiteral("Dienst ist gestartet");
    case 7:
        return QStringLiteral("Dienst war angehalten");
    default:
        return QStringLiteral("Dienst Status = ") + QString::number(status);
    }
}

// Closes and releases what a cycle opened, on every way out of it.
class ZyklusAufraeumen
{
public:
    explicit ZyklusAufraeumen(MasterZustand& z) : m_z(z) {}
    ~ZyklusAufraeumen() { schliessen(); }
    ZyklusAufraeumen(const ZyklusAufraeumen&) = delete;
    ZyklusAufraeumen& operator=(const ZyklusAufraeumen&) = delete;

    void schliessen()
    {
        if (treiber) {
            treiber->APPCloseCom();
            treiber.reset();
        }
        if (m_z.MBusWerteOffen)
            m_z.rsMBusWerte.Close();
        if (m_z.ZaehlerstaendeOffen)
            m_z.rsZaehlerstaende.Close();
        m_z.MBusWerteOffen = false;
        m_z.ZaehlerstaendeOffen = false;
        if (datenbankOffen)
            MB_ConnectionSchliessen();
        datenbankOffen = false;
    }

    std::unique_ptr<MBusRacX4> treiber;
    bool datenbankOffen = false;

private:
    MasterZustand& m_z;
};

} // namespace

QString KalvixProgramm()
{
    const QString neben =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kalvix"));
    if (QFileInfo(neben).isExecutable())
        return neben;
    return QStandardPaths::findExecutable(QStringLiteral("kalvix"));
}

MasterZyklus::MasterZyklus(MasterZustand& z, MasterZyklusFenster fenster, QObject* parent)
    : QObject(parent), m_z(z), m_f(std::move(fenster))
{
}

void MasterZyklus::log(const QString& text)
{
    MasterLogZeile(m_f.log, text);
}

bool MasterZyklus::gestoppt() const
{
    return !m_z.Gestartet || ProgrammEndet();
}

void MasterZyklus::weiter()
{
    m_z.WarteSchritt = 0;
    // Only the step mode waits for Weiter; the pause before a meter runs its time.
    if (m_warten && m_z.SchrittModus)
        m_warten->quit();
}

void MasterZyklus::wartenAbbrechen()
{
    if (m_warten)
        m_warten->quit();
}

void MasterZyklus::warten(int ms)
{
    QEventLoop schleife;
    QTimer frist;
    if (ms >= 0) {
        frist.setSingleShot(true);
        connect(&frist, &QTimer::timeout, &schleife, &QEventLoop::quit);
        frist.start(ms);
    }
    m_warten = &schleife;
    schleife.exec();
    m_warten = nullptr;
}

void MasterZyklus::laufen(UnixZeit jetztU)
{
    m_z.ZyklusLaeuft = 1;
    m_f.label1(QStringLiteral("Start jetzt"));
    QElapsedTimer t0;
    t0.start();
    const auto mandant = static_cast<qint64>(Val(Mandant));
    Sperre zyklusSperre(Sperren::zyklusDatei(mandant, m_z.MasterComPort));
    // Without its own lock the cycle cannot keep an import from starting: it then treats the
    // value folder as locked.
    const bool eigeneSperre = zyklusSperre.holen();
    const QString sperrGrund = eigeneSperre ? QString() : FehlerText;
    // A lock that cannot be made at all (its folder cannot be created) holds nothing back: no
    // import can hold such a lock either. Said once, not in every cycle, until it can be made.
    const bool schonGemeldet = m_ohneZyklusSperre;
    m_ohneZyklusSperre = !eigeneSperre && zyklusSperre.nichtAnlegbar();
    if (m_ohneZyklusSperre && !schonGemeldet)
        LogSchreiben(QStringLiteral("Zyklussperre Com%1 nicht anlegbar, Wertdateien werden ohne "
                                    "sie geschrieben: ")
                         .arg(m_z.MasterComPort) +
                     sperrGrund);
    m_durchlauf = 0;
    m_portFehlerGemeldet = false;
    m_zurueckgestellt.clear();

    for (int i = 1; i < m_f.zaehler.Rows(); ++i)
        m_f.zaehler.setTextMatrix(i, 4, QString());
    log(QStringLiteral("Öffne Datenbank"));

    ZyklusAufraeumen offen(m_z);
    bool keineZaehler = false;
    if (m_f.haken(0)) {
        if (!m_f.datenbankOeffnen()) {
            log(QStringLiteral("Fehler Öffne Datenbank"));
            mbLog(QStringLiteral("Fehler : Öffne Datenbank"));
        } else {
            offen.datenbankOffen = true;
            const int n = m_f.zaehlerlisteLaden();
            // Freshly loaded meters are the port's real ones.
            m_z.TestModus = false;
            const QString port = QString::number(m_z.MasterComPort);
            if (n <= 0) {
                log(QStringLiteral("MBusMaster : Keine Zähler für Com") + port);
                keineZaehler = true;
            } else {
                log(QStringLiteral("MBusMaster Timer1 : Anz Zähler für Com") + port +
                    QStringLiteral(" = ") + QString::number(n));
                m_z.MBusWerteOffen = MBIndexlisteOeffnen(m_z.rsMBusWerte);
                if (!m_z.MBusWerteOffen)
                    mbLog(QStringLiteral("Fehler : Öffne MBWerteliste"));
                m_z.ZaehlerstaendeOffen = MB_ZaehlerstaendeOeffnen(m_z.rsZaehlerstaende);
                if (!m_z.ZaehlerstaendeOffen)
                    mbLog(QStringLiteral("Fehler : Öffne rsZaehlerstaende"));
            }
        }
    }

    if (!keineZaehler) {
        offen.treiber = std::make_unique<MBusRacX4>();
        offen.treiber->setCOMTimeoutParam(2);
        offen.treiber->setCOMTimeout(m_z.ComTimeouts[0]);
        offen.treiber->setCOMTimeoutOffset(m_z.ComTimeouts[1]);
        offen.treiber->setCOMTimeoutByte(m_z.ComTimeouts[2]);
        offen.treiber->setCOMDeadtime(m_z.ComTimeouts[3]);
        log(QStringLiteral("Starte Auslesen"));
        const QString ordnerSperre = Sperren::wertordnerDatei(DBPath, mandant);
        const bool gesperrt =
            (!eigeneSperre && !m_ohneZyklusSperre) || Sperren::gehalten(ordnerSperre);
        if (!durchlauf(*offen.treiber, gesperrt)) {
            zurueckgestellteSchreiben(zyklusSperre, ordnerSperre, sperrGrund);
            m_z.ZyklusLaeuft = 0;
            emit beendet();
            return;
        }
        zyklusZeitZeigen(t0.elapsed());
        if (m_z.Gestartet && m_durchlauf == 1) {
            if (!durchlauf(*offen.treiber, gesperrt)) {
                zurueckgestellteSchreiben(zyklusSperre, ordnerSperre, sperrGrund);
                m_z.ZyklusLaeuft = 0;
                emit beendet();
                return;
            }
            zyklusZeitZeigen(t0.elapsed());
        }
        zurueckgestellteSchreiben(zyklusSperre, ordnerSperre, sperrGrund);
        // Stop (or the program's end) during the wait for the value folder ends the cycle as
        // Stop does after a meter: its label stays, no calculator starts.
        if (gestoppt()) {
            m_z.ZyklusLaeuft = 0;
            emit beendet();
            return;
        }
    } else {
        zyklusZeitZeigen(t0.elapsed());
    }
    offen.schliessen();
    abschluss(jetztU);
    emit beendet();
}

bool MasterZyklus::durchlauf(MBusRacX4& treiber, bool dateienGesperrt)
{
    ++m_durchlauf;
    const int m = m_f.zaehler.Rows() - 1;
    for (int i = 1; i <= m; ++i) {
        if (m_z.StatusText == QStringLiteral("Stop") || ProgrammEndet())
            return true;
        if (m_f.zaehler.TextMatrix(i, 4) != QStringLiteral("Ok"))
            lesen(treiber, i, dateienGesperrt);
        if (gestoppt())
            return false;
    }
    return true;
}

void MasterZyklus::lesen(MBusRacX4& treiber, int i, bool dateienGesperrt)
{
    const int m = m_f.zaehler.Rows() - 1;
    m_f.label1(QStringLiteral("Lese ") + QString::number(i) + QStringLiteral(" von ") +
               QString::number(m));
    if (m_z.SchrittModus) {
        m_f.weiterZeigen(true);
        m_z.WarteSchritt = 1;
        while (m_z.WarteSchritt != 0 && !gestoppt())
            warten(-1);
    } else if (m_z.MeterPause > 0 && !gestoppt()) {
        warten(static_cast<int>(std::lround(m_z.MeterPause * 1000.0)));
    }
    m_f.weiterZeigen(false);
    if (gestoppt())
        return;

    m_f.zaehler.setRow(i);
    const int r = static_cast<quint8>(i);
    // The address as the log lines show it; a meter stored without one is logged without one,
    // so that its lines are never taken for those of the meter at address 0.
    const QString adressText = m_f.zaehler.TextMatrix(r, 0);
    const QString a =
        adressText.isEmpty()
            ? QString()
            : QString::number(static_cast<quint8>(static_cast<qint64>(Val(adressText))));
    if (r >= static_cast<int>(m_z.MasterZaehler.size()))
        return;
    MBZaehler& zaehler = m_z.MasterZaehler[static_cast<size_t>(r)];
    int rc = MBusRawAuslesen(m_f.comm, treiber, zaehler);
    if (i == 1 && rc != 0 && !ProgrammEndet()) {
        log(QStringLiteral("Nochmal ersten lesen"));
        rc = MBusRawAuslesen(m_f.comm, treiber, zaehler);
    }
    if (rc != 0 && ProgrammEndet()) {
        // The program's end (the window closed) cut the read off: no fault of the meter, so
        // nothing is counted.
        mbLog(MasterLogLeseabbruch(a, zaehler.LeseFehler, rc));
        return;
    }
    if (rc != 0) {
        portFehlerMelden(treiber, zaehler, rc);
        ++zaehler.LeseFehler;
        mbLog(MasterLogLesefehler(a, zaehler.LeseFehler, rc));
        m_f.zaehler.setTextMatrix(i, 4, QStringLiteral("Fehler"));
        if (Mandant == QStringLiteral("1450") && i == 1)
            wiederherstellen();
    } else {
        m_f.zaehler.setTextMatrix(i, 4, QStringLiteral("Ok"));
        ++zaehler.Gelesen;
        MasterSpeicherZiel ziel{m_z,
                                {m_f.haken(0), m_f.haken(1), m_f.haken(2)},
                                m_z.MasterComPort,
                                dateienGesperrt,
                                m_f.log,
                                &m_zurueckgestellt};
        MasterWerteSpeichern(zaehler, a, ziel);
    }
    m_f.zaehler.setTextMatrix(r, 2, QString::number(zaehler.Gelesen));
    m_f.zaehler.setTextMatrix(r, 3, QString::number(zaehler.LeseFehler));
}

void MasterZyklus::importWartezeitSetzen(int ms)
{
    gImportWartezeit = ms < 0 ? kImportWartezeit : ms;
}

bool MasterZyklus::wertordnerFrei(Sperre& zyklusSperre, const QString& ordnerSperre)
{
    return (m_ohneZyklusSperre || zyklusSperre.gehalten() || zyklusSperre.holen()) &&
           !Sperren::gehalten(ordnerSperre);
}

bool MasterZyklus::aufWertordnerWarten(Sperre& zyklusSperre, const QString& ordnerSperre)
{
    qint64 grenze = gImportWartezeit;
    // The next cycle must not be missed: its interval files would lose their slot.
    if (m_z.LeseIntervall > 0) {
        const qint64 bisNaechster =
            (NaechsterIntervall(m_z.LeseIntervall) - DatumInUnixZeit(Jetzt()) - 10) * 1000;
        grenze = std::clamp<qint64>(bisNaechster, 0, grenze);
    }
    const QDeadlineTimer frist(grenze);
    // The import ending removes its lock file; a holder that died leaves it behind, which the
    // look every second finds.
    QFileSystemWatcher waechter;
    const QString sperrOrdner = QFileInfo(ordnerSperre).absolutePath();
    if (QFileInfo(sperrOrdner).isDir())
        waechter.addPath(sperrOrdner);
    connect(&waechter, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (m_warten)
            m_warten->quit();
    });
    const QString merken = FehlerText;
    bool frei = wertordnerFrei(zyklusSperre, ordnerSperre);
    while (!frei && !frist.hasExpired() && !gestoppt()) {
        warten(static_cast<int>(std::min<qint64>(frist.remainingTime(), 1000)));
        frei = wertordnerFrei(zyklusSperre, ordnerSperre);
    }
    FehlerText = merken;
    return frei;
}

void MasterZyklus::zurueckgestellteSchreiben(Sperre& zyklusSperre, const QString& ordnerSperre,
                                             const QString& sperrGrund)
{
    if (m_zurueckgestellt.isEmpty())
        return;
    const QList<WertdateiEintrag> eintraege = std::exchange(m_zurueckgestellt, {});
    if (aufWertordnerWarten(zyklusSperre, ordnerSperre)) {
        for (const WertdateiEintrag& eintrag : eintraege)
            WertdateiEintragSchreiben(eintrag);
        return;
    }
    QStringList dateien;
    for (const WertdateiEintrag& eintrag : eintraege)
        dateien << RB6_DateiName(DBPath, eintrag.lznr, eintrag.index);
    const QString grund =
        zyklusSperre.gehalten()
            ? QStringLiteral("Wertdateien gesperrt (Import läuft)")
            : QStringLiteral("Zyklussperre nicht erhalten (") + sperrGrund + QLatin1Char(')');
    mbLog(grund + QStringLiteral(" : nicht geschrieben ") + dateien.join(QLatin1Char(' ')));
}

void MasterZyklus::portFehlerMelden(MBusRacX4& treiber, const MBZaehler& zaehler, int rc)
{
    if (m_portFehlerGemeldet)
        return;
    // Raw frames go over the window's serial control (-4: it did not open), the rest over the
    // cycle's driver, which keeps the error of its last open.
    const bool roh = rc == -4;
    const int nummer = roh ? m_f.comm.fehlerNummer() : treiber.APPIsComOpen();
    if (nummer == 0 || nummer == ComFehler::kNichtGeoeffnet || nummer == ComFehler::kGeraeteFehler)
        return;
    m_portFehlerGemeldet = true;
    const int port = zaehler.MBComP;
    const QString grund = roh ? m_f.comm.fehlerBeschreibung() : ComFehlerText(nummer);
    LogSchreiben(QStringLiteral("Fehler Open Com %1 (COM%1: ").arg(port) + ComGeraetHinweis(port) +
                 QStringLiteral("; ") + grund + QStringLiteral(" (%1))").arg(nummer));
}

void MasterZyklus::wiederherstellen()
{
    const QString dienst = DienstText(m_f.checkService(QStringLiteral("tsvc")));
    mbLog(QStringLiteral("Fehler ") + dienst);
    log(dienst);
    const QString reset =
        m_f.tibboReset() ? QStringLiteral("Tibbo Reset Ok") : QStringLiteral("Tibbo Reset false");
    log(reset);
    mbLog(QStringLiteral("Fehler ") + reset);
}

void MasterZyklus::zyklusZeitZeigen(qint64 ms)
{
    m_f.zeiten.AddItem(
        ZahlAlsText(std::round(static_cast<double>(ms) / 10.0) / 100.0) + QStringLiteral(" s"), 0);
}

void MasterZyklus::abschluss(UnixZeit jetztU)
{
    if (m_f.zeiten.Rows() >= 5)
        m_f.zeiten.setRows(4);
    if (m_z.LeseIntervall == 0) {
        m_z.ZyklusLaeuft = 0;
        m_f.fertig();
        m_f.label1(QStringLiteral("Fertig"));
        return;
    }
    m_z.NaechsterStart = NaechsterIntervall(m_z.LeseIntervall);
    UnixZeit start = m_z.NaechsterStart;
    m_f.label1(QStringLiteral("Starte Datenholen um ") +
               UnixZeitInDatum(start).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) +
               QStringLiteral("  [") +
               QString::number((DatumInUnixZeit(Jetzt()) - m_z.StartZeit) / 900) +
               QStringLiteral(" Soll]"));
    if (m_f.log.Rows() > 800)
        m_f.log.setRows(500);
    if (m_f.logRahmenSichtbar())
        FlexGridSpaltenbreiten(m_f.log);
    if (m_f.haken(3) && jetztU >= m_z.VBZNaechsterStart) {
        const QStringList argumente{QStringLiteral("-M") + Mandant,
                                    QStringLiteral("AutoBerechnen")};
        const QString programm = KalvixProgramm();
        QString fehler;
        if (programm.isEmpty())
            fehler = QStringLiteral("kalvix nicht gefunden");
        else if (!m_f.programmStarten(programm, argumente, fehler) && fehler.isEmpty())
            fehler = QStringLiteral("Start misslungen");
        if (!fehler.isEmpty())
            mbLog(QStringLiteral("Fehler beim Start von kalvix -M") + Mandant +
                  QStringLiteral(" AutoBerechnen : ") + fehler);
        m_z.VBZNaechsterStart = NaechsterIntervall(m_z.VBZIntervall);
    }
    m_z.ZyklusLaeuft = 0;
}
