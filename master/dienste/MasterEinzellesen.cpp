#include "MasterEinzellesen.h"

#include "database/IndexListeSpeichern.h"
#include "database/MBConnection.h"
#include "database/Verbindung.h"
#include "driver/engine/Ereignis.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "lesen/Zaehlerlesen.h"
#include "log/Log.h"
#include "log/MasterLogZeile.h"
#include "master/dienste/MasterLog.h"
#include "master/dienste/MasterTreiber.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// Runs the event loop for ms milliseconds.
void Pause(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

// Waits in the event loop until the driver's exchange has ended, at most fristMs: then the
// port is closed, which ends the exchange without an answer.
void Abwarten(MBusRacX4& treiber, int fristMs)
{
    QTimer frist;
    frist.setSingleShot(true);
    frist.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frist, &QTimer::timeout, [&treiber] { treiber.APPCloseCom(); });
    frist.start(std::max(0, fristMs));
    treiber.EmpfangAbwarten();
}

QString MomText(double wert)
{
    return QString::number(static_cast<qint64>(std::llround(wert)));
}

} // namespace

// Held by a row read, the V2 read and the index save while they run. It marks the window busy
// and holds a run of the program's end, so that the end waits for it; when it ends, a refusal
// shown meanwhile goes from the status line, and then a program end asked for meanwhile runs.
class MasterEinzellesen::Belegung
{
public:
    explicit Belegung(MasterEinzellesen& e) : m_e(e), m_lauf(e.m_f.ende)
    {
        if (m_lauf.gueltig())
            m_e.m_laeuft = true;
    }
    ~Belegung()
    {
        if (!m_lauf.gueltig())
            return;
        m_e.m_laeuft = false;
        if (m_e.m_abgewiesen) {
            m_e.m_abgewiesen = false;
            m_e.m_f.belegtAnzeigen(false);
        }
    }
    Belegung(const Belegung&) = delete;
    Belegung& operator=(const Belegung&) = delete;
    // False when the program ends or another run holds the end: then nothing may start.
    bool gueltig() const { return m_lauf.gueltig(); }

private:
    MasterEinzellesen& m_e;
    Programmende::Lauf m_lauf; // ends after the body above, as the last step
};

MasterEinzellesen::MasterEinzellesen(MasterZustand& z, MasterEinzellesenFenster fenster)
    : m_z(z), m_f(std::move(fenster))
{
}

bool MasterEinzellesen::belegt()
{
    if (!m_laeuft)
        return false;
    m_abgewiesen = true;
    m_f.belegtAnzeigen(true);
    return true;
}

void MasterEinzellesen::log(const QString& text)
{
    MasterLogZeile(m_f.log, text);
}

bool MasterEinzellesen::abgewiesen(const QString& was)
{
    if (m_z.ZyklusLaeuft != 1)
        return false;
    log(was + QStringLiteral(" nicht möglich: der Zyklus liest gerade"));
    return true;
}

void MasterEinzellesen::werteLeeren()
{
    FlexGrid& g = m_f.werte;
    g.AddItem(QString(), g.Rows() >= 1 ? 1 : -1);
    g.AddItem(QString(), g.Rows() >= 1 ? 1 : -1);
    g.setRows(2);
}

int MasterEinzellesen::MB_ReadPrimAdrRac(int port, int adresse, qint32 baud, int r)
{
    MBusRacX4* treiber = RacServer();
    werteLeeren();
    if (!treiber || r < 0 || r >= static_cast<int>(m_z.MasterZaehler.size())) {
        log(QStringLiteral("Fehler MB_ReadRac  kein Treiber"));
        return -1;
    }
    MBZaehler& zaehler = m_z.MasterZaehler[static_cast<size_t>(r)];
    treiber->setCOMTimeoutParam(2);
    treiber->setCOMTimeout(m_z.ComTimeouts[0]);
    treiber->setCOMTimeoutOffset(m_z.ComTimeouts[1]);
    treiber->setCOMTimeoutByte(m_z.ComTimeouts[2]);
    treiber->setCOMDeadtime(m_z.ComTimeouts[3]);

    const QString a = QString::number(adresse);
    log(QStringLiteral("Öffne Com") + QString::number(port));
    treiber->APPInitCom(port, baud);
    if (treiber->APPIsComOpen() != 0) {
        // Counted once, by the caller.
        log(QStringLiteral("Fehler open Com") + QString::number(port));
        treiber->APPCloseCom();
        return -1;
    }
    const UnixZeit zeit = DatumInUnixZeit(Jetzt());
    log(QStringLiteral("Send NKE ") + a);
    Pause(10);
    if (adresse == 0) {
        QString id = zaehler.MB_ID.trimmed();
        if (id.isEmpty()) {
            // The mask "ffffffff" would select whichever meter answers.
            log(QStringLiteral("Fehler keine ID"));
            treiber->APPCloseCom();
            return -3;
        }
        m_f.anzeigen(zaehler.MB_ID);
        const int gewaehlt = MBusSelectREQUD2(*treiber, id);
        zaehler.MB_ID = id;
        if (gewaehlt != 0) {
            treiber->APPCloseCom();
            return -3;
        }
    } else {
        treiber->APPSNDNKE(adresse);
        Abwarten(*treiber, nkeFristMs);
        if (treiber->APPReceiveTest() > 4) {
            treiber->APPCloseCom();
            treiber->APPReceiveError();
            return -2;
        }
        log(QStringLiteral("Send REQUD2 ") + a);
        treiber->APPREQUD2(adresse);
        Abwarten(*treiber, anforderungFristMs);
    }
    if (treiber->APPReceiveTest() != mbus::kEmpfangTelegramm) {
        const int fehler = treiber->APPReceiveError();
        treiber->APPCloseCom();
        log(QStringLiteral("Antwort False  ") + QString::number(fehler));
        return -1;
    }
    log(QStringLiteral("Antwort OK  ") + a);
    if (treiber->APPTransmissionCount() == -1 ||
        TelegrammWerteLesen(*treiber, zaehler, zeit) != 0) {
        // No telegram, or more records than a meter record holds: nothing taken.
        treiber->APPCloseCom();
        treiber->APPReceiveError();
        return -1;
    }
    for (int k = 1; k <= zaehler.AnzWerte; ++k) {
        const MBWert& wert = zaehler.Werte[static_cast<size_t>(k)];
        m_f.werte.AddItem(QStringLiteral("(") + a + QStringLiteral(") ") + QString::number(k) +
                          u'\t' + ZahlAlsText(wert.Wert) + u'\t' + treiber->APPVIBUnitAsc(k) +
                          u'\t' + MomText(wert.MomWert));
    }
    if (m_f.werteSichtbar())
        FlexGridSpaltenbreiten(m_f.werte);
    treiber->APPCloseCom();
    return 0;
}

int MasterEinzellesen::MB_ReadPrimAdr(int port, int adresse, qint32 baud, int r, int treiberNummer)
{
    if (treiberNummer == 1)
        return MB_ReadPrimAdrRac(port, adresse, baud, r);
    IMBusOLEAutoServer* treiber = OleServer();
    const QString a = QString::number(adresse);
    log(QStringLiteral("Start open Com") + QString::number(port));
    if (!treiber || r < 0 || r >= static_cast<int>(m_z.MasterZaehler.size()) ||
        !MBusComPortSetzen(*treiber, QStringLiteral("Com ") + QString::number(port), baud)) {
        if (treiber)
            treiber->OLEClosePort();
        werteLeeren();
        log(QStringLiteral("Fehler open Com") + QString::number(port));
        return -1;
    }
    log(QStringLiteral("Send NKE Adr ") + a);
    bool beantwortet = false;
    treiber->OLESndNke(adresse, beantwortet);
    beantwortet = false;
    treiber->OLEReqUD2(adresse, beantwortet);
    if (!beantwortet) {
        log(QStringLiteral("Fehler lesen Adr ") + a);
        treiber->OLEClosePort();
        return -3;
    }
    log(QStringLiteral("Lesen Ok Adr ") + a);
    werteLeeren();
    const int n = treiber->OLERecordCount();
    if (n < 0 || n > MBZaehler::kMaxWerte) {
        treiber->OLEClosePort();
        FehlerText = QStringLiteral("Mehr als 255 Datensätze: ") + QString::number(n);
        MsgBox(QStringLiteral("Fehler Klick : ") + FehlerText);
        return -1;
    }
    MBZaehler& zaehler = m_z.MasterZaehler[static_cast<size_t>(r)];
    zaehler.AnzWerte = static_cast<quint8>(n);
    for (int i = 0; i < n; ++i) {
        DoEvents();
        const QString art = treiber->OLERecordKindText(i);
        const QString text = treiber->OLERecordValueText(i);
        const QString einheit = treiber->OLERecordUnitText(i);
        MBWert& wert = zaehler.Werte[static_cast<size_t>(i + 1)];
        wert.Art = MBWertText(art);
        wert.Wert = MB_TextZuDouble(text);
        wert.Einheit = MBWertText(einheit);
        m_f.werte.AddItem(art + u'\t' + ZahlAlsText(wert.Wert) + u'\t' + einheit);
    }
    treiber->OLEClosePort();
    return 0;
}

void MasterEinzellesen::zeileGeklickt(int zeile)
{
    if (zeile <= 0)
        return;
    // A click turned away leaves the highlight where it was: on the meter being read.
    if (abgewiesen(QStringLiteral("Lesen")) || belegt()) {
        m_f.markierungZurueck();
        return;
    }
    const Belegung belegung(*this);
    if (!belegung.gueltig()) {
        m_f.markierungZurueck();
        return;
    }
    MauszeigerSetzen(vbHourglass);
    if (m_z.Gestartet)
        MauszeigerSetzen(vbDefault);
    FlexGrid& w = m_f.werte;
    w.setCols(4);
    const QStringList kopf{QStringLiteral("(Prim) Index"), QStringLiteral("Wert"),
                           QStringLiteral("Art"), QStringLiteral("Mom")};
    const int breiten[] = {1000, 1500, 1500, 1000};
    if (w.Rows() < 1)
        w.setRows(1);
    for (int i = 0; i < 4; ++i) {
        w.setTextMatrix(0, i, kopf[i]);
        w.setColWidth(i, breiten[i]);
    }
    m_f.werteZeigen(true);
    werteLeeren();

    const int r = m_f.zaehler.Row();
    if (r <= 0 || r >= static_cast<int>(m_z.MasterZaehler.size()) ||
        m_f.zaehler.TextMatrix(r, 0).isEmpty()) {
        MauszeigerSetzen(vbDefault);
        return;
    }
    KlickZaehler = m_z.MasterZaehler[static_cast<size_t>(r)];
    const int adresse = static_cast<int>(Val(m_f.zaehler.TextMatrix(r, 0)));
    const auto baud = static_cast<qint32>(Val(m_f.zaehler.TextMatrix(r, 1)));
    LoadMBusPovider(MB_OleProvider);
    const int rc = MB_ReadPrimAdr(m_z.MasterComPort, adresse, baud, r, MB_OleProvider);
    MBZaehler& zaehler = m_z.MasterZaehler[static_cast<size_t>(r)];
    if (rc != 0)
        ++zaehler.LeseFehler;
    else
        ++zaehler.Gelesen;
    m_f.zaehler.setTextMatrix(r, 2, QString::number(zaehler.Gelesen));
    m_f.zaehler.setTextMatrix(r, 3, QString::number(zaehler.LeseFehler));
    MauszeigerSetzen(vbDefault);
}

void MasterEinzellesen::Combo3_Click(int listIndex)
{
    const int k = listIndex + 1;
    if (k < 0 || k >= static_cast<int>(m_z.MasterZaehler.size()))
        return;
    const MBZaehler& zaehler = m_z.MasterZaehler[static_cast<size_t>(k)];
    FlexGrid& w = m_f.werte;
    werteLeeren();
    w.setCols(4);
    const QStringList kopf{QStringLiteral("Index"), QStringLiteral("Medium"),
                           QStringLiteral("Wert"), QStringLiteral("Einh")};
    for (int i = 0; i < 4; ++i)
        w.setTextMatrix(0, i, kopf[i]);
    m_f.werteZeigen(true);
    w.setRows(zaehler.AnzWerte + 1);
    for (int i = 1; i <= zaehler.AnzWerte; ++i) {
        const MBWert& wert = zaehler.Werte[static_cast<size_t>(i)];
        w.setTextMatrix(i, 0, QString::number(i));
        w.setTextMatrix(i, 1, wert.Art);
        w.setTextMatrix(i, 2, ZahlAlsText(wert.Wert));
        w.setTextMatrix(i, 3, wert.Einheit);
    }
}

void MasterEinzellesen::indexListeSpeichern(int listIndex)
{
    if (abgewiesen(QStringLiteral("Indexliste speichern")) || belegt())
        return;
    const Belegung belegung(*this);
    if (!belegung.gueltig())
        return;
    const int k = listIndex + 1;
    if (k < 1 || k >= static_cast<int>(m_z.MasterZaehler.size())) {
        log(QStringLiteral("Indexliste nicht gespeichert: kein Zähler ausgewählt"));
        return;
    }
    MBZaehler& zaehler = m_z.MasterZaehler[static_cast<size_t>(k)];
    if (zaehler.AnzWerte == 0) {
        // An empty list would wipe the meter's index list.
        log(QStringLiteral("Indexliste nicht gespeichert: keine Werte gelesen lznr=") +
            QString::number(zaehler.LZNR));
        return;
    }
    MauszeigerSetzen(vbHourglass);
    // The save opens the database when it is closed; what it opened here is closed again.
    const bool warOffen = MB_Connection && MB_Connection->offen();
    const int rc = MB_IndexListeSpeichern(zaehler);
    if (rc < 0) {
        MBusLogSchreiben(QStringLiteral("Fehler beim speichern der Indexliste lznr=") +
                             QString::number(zaehler.LZNR) + QStringLiteral(" Com=") +
                             QString::number(m_z.MasterComPort) + QStringLiteral(" PrimAdr=") +
                             QString::number(zaehler.MBAdr) + QStringLiteral(" rc=") + FehlerText,
                         QString(), kMBusLogSuffix);
        log(QStringLiteral("Fehler speichen MBIndexListe l=") + QString::number(rc));
    } else {
        zaehler.IndexAnz = static_cast<qint16>(rc);
        log(QStringLiteral("Speichen MBIndexListe lznr=") + QString::number(zaehler.LZNR) +
            QStringLiteral(" Anz=") + QString::number(rc));
    }
    if (!warOffen)
        MB_ConnectionSchliessen();
    MauszeigerSetzen(vbDefault);
}

void MasterEinzellesen::testzaehlerLaden()
{
    // The records are replaced: not while a read writes into them.
    if (abgewiesen(QStringLiteral("Testzähler laden")) || belegt())
        return;
    m_z.MasterZaehler.assign(101, MBZaehler{});
    m_z.MasterComPort = 7;
    m_z.TestModus = true;
    m_f.zaehler.setRows(101);
    for (int j = 1; j <= 100; ++j) {
        m_f.zaehler.setTextMatrix(j, 0, QStringLiteral("10"));
        m_f.zaehler.setTextMatrix(j, 1, QStringLiteral("9600"));
        MBZaehler& z = m_z.MasterZaehler[static_cast<size_t>(j)];
        z.MBBaud = 9600;
        z.MBAdr = 10;
        z.LZNR = j;
        z.MBIndex = 1;
        z.BasisTarif = 5;
    }
}

void MasterEinzellesen::v2Lesen()
{
    if (abgewiesen(QStringLiteral("Lesen")) || belegt())
        return;
    const Belegung belegung(*this);
    if (!belegung.gueltig())
        return;
    MauszeigerSetzen(vbHourglass);
    MBusRacX4 treiber;
    const int rc = MBusRawAuslesen(m_f.comm, treiber, KlickZaehler);
    treiber.APPCloseCom();
    log((rc == 0 ? QStringLiteral("Lesen Ok Adr ") : QStringLiteral("Fehler Adr ")) +
        KlickZaehler.MB_ID);
    MauszeigerSetzen(vbDefault);
}
