#include "MasterZyklus.h"

#include "database/MBConnection.h"
#include "database/WertTabellen.h"
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
#include "text/Texte.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <cmath>
#include <memory>

namespace {

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
    zyklusSperre.holen();
    m_durchlauf = 0;

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
        const bool gesperrt = Sperren::gehalten(Sperren::wertordnerDatei(DBPath, mandant));
        if (gesperrt)
            mbLog(QStringLiteral("Wertdateien gesperrt (Import läuft) : in diesem Zyklus keine "
                                 "Wertdateien und Intervalldateien"));
        if (!durchlauf(*offen.treiber, gesperrt)) {
            m_z.ZyklusLaeuft = 0;
            emit beendet();
            return;
        }
        zyklusZeitZeigen(t0.elapsed());
        if (m_z.Gestartet && m_durchlauf == 1) {
            if (!durchlauf(*offen.treiber, gesperrt)) {
                m_z.ZyklusLaeuft = 0;
                emit beendet();
                return;
            }
            zyklusZeitZeigen(t0.elapsed());
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
    if (i == 1 && rc != 0) {
        log(QStringLiteral("Nochmal ersten lesen"));
        rc = MBusRawAuslesen(m_f.comm, treiber, zaehler);
    }
    if (rc != 0) {
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
                                m_f.log};
        MasterWerteSpeichern(zaehler, a, ziel);
    }
    m_f.zaehler.setTextMatrix(r, 2, QString::number(zaehler.Gelesen));
    m_f.zaehler.setTextMatrix(r, 3, QString::number(zaehler.LeseFehler));
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
