// Public procedures of the test window in slot order, and the handlers of the scan, read-out and
// single-meter read (secondary search in frmMBustestSuche.cpp, commissioning in
// frmMBustestInbetrieb.cpp, telegram tools and modem in frmMBustestWerkzeuge.cpp).

#include "frmMBustest.h"
#include "frmMBustestHilfen.h"

#include "Auslesen.h"
#include "PortMeldung.h"
#include "PrimaerScan.h"
#include "SekundaerSuche.h"
#include "database/BasisMdb.h"
#include "driver/ProviderListe.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "lesen/Zaehlerlesen.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

// A new interface driver object of the caller's own, kept alive by objekt. Without one the
// reason goes to fehler when given, else to the program log, and the result is nullptr.
IMBusOLEAutoServer* frmMBustest::oleTreiberErzeugen(std::unique_ptr<MBusTreiber>& objekt,
                                                    QString* fehler)
{
    objekt = MBusObjektErzeugen(kTreiberOleAutoServer);
    IMBusOLEAutoServer* ole = objekt ? objekt->alsOleAutoServer() : nullptr;
    if (!ole) {
        const QString grund = KeinTreiber(kTreiberOleAutoServer);
        if (fehler)
            *fehler = grund;
        else
            LogSchreiben(grund);
    }
    return ole;
}

// Scans one address range at one baud rate through the name-bound driver (created when the
// window has none). A failure is left in m_scanFehler for the scan's end.
void frmMBustest::M_Bus_SuchenVonBisRac(const QVariant& port, const QVariant& baud,
                                        const QVariant& von, const QVariant& bis, QLabel*,
                                        int baudZeile)
{
    if (!RacServer()) {
        int nummer = 1;
        m_treiber.LoadMBusPovider(nummer);
    }
    MBusRacX4* rac = RacServer();
    if (!rac) {
        m_scanFehler = KeinTreiber(kTreiberRacX4);
        return;
    }
    rac->setCOMTimeout(Zahl(m_ui.Text7[0]->text()));
    rac->setCOMTimeoutOffset(Zahl(m_ui.Text7[1]->text()));
    rac->setCOMTimeoutByte(Zahl(m_ui.Text7[2]->text()));
    rac->setCOMDeadtime(Zahl(m_ui.Text7[3]->text()));
    PrimaerScan scan(*m_ui.MSFlexGrid1, *m_ui.Grid1, scanAnzeige(baudZeile));
    const PrimaerScan::Ergebnis ergebnis =
        scan.ueberRac(*rac, Zahl(port), Zahl(baud), Zahl(von), Zahl(bis));
    if (!ergebnis.fehler.isEmpty())
        m_scanFehler = ergebnis.fehler;
}

// Scans one address range at one baud rate through the chosen driver: the name-bound one, or a
// new interface driver object of its own for this rate.
void frmMBustest::M_Bus_SuchenVonBis(const QVariant& port, const QVariant& baud,
                                     const QVariant& von, const QVariant& bis, QLabel*,
                                     int baudZeile)
{
    if (ProviderNr == 1) {
        M_Bus_SuchenVonBisRac(port, baud, von, bis, m_ui.Label3, baudZeile);
        return;
    }
    std::unique_ptr<MBusTreiber> objekt;
    IMBusOLEAutoServer* ole = oleTreiberErzeugen(objekt, &m_scanFehler);
    if (!ole)
        return;
    // The scan's own port and rate; a port that does not open is reported and skips the rate, as
    // through the name-bound driver.
    PortOk =
        MBusComPortSetzen(*ole, QStringLiteral("Com ") + QString::number(Zahl(port)), Zahl(baud));
    if (!PortOk) {
        PortFehlerMelden(QStringLiteral("Fehler Open Com ") + QString::number(Zahl(port)),
                         Zahl(port));
        ole->OLEClosePort();
        return;
    }
    PrimaerScan scan(*m_ui.MSFlexGrid1, *m_ui.Grid1, scanAnzeige(baudZeile));
    const PrimaerScan::Ergebnis ergebnis = scan.ueberOle(*ole, Zahl(baud), Zahl(von), Zahl(bis));
    if (!ergebnis.fehler.isEmpty())
        m_scanFehler = ergebnis.fehler;
}

PrimaerScan::Anzeige frmMBustest::scanAnzeige(int baudZeile)
{
    QLabel* zeile = m_ui.Label4[static_cast<size_t>(qBound(1, baudZeile, 6) - 1)];
    QLabel* sekunden = m_ui.Label2[1];
    PrimaerScan::Anzeige anzeige;
    anzeige.zeile = [zeile](const QString& text) { zeile->setText(text); };
    anzeige.sekunden = [sekunden](const QString& text) { sekunden->setText(text); };
    anzeige.sucheStop = [this] { return SucheStop != 0; };
    anzeige.lesenLaeuft = [this] { return LesenLaeuft.toInt() != 0; };
    return anzeige;
}

void frmMBustest::scanKnoepfeSperren(bool sperren)
{
    for (QPushButton* knopf : {m_ui.cmdSekSuchenAlle, m_ui.Command1, m_ui.Command3, m_ui.Command4})
        knopf->setEnabled(!sperren);
}

Auslesen::Anzeige frmMBustest::leseAnzeige()
{
    Auslesen::Anzeige anzeige;
    anzeige.kopf = [this](const Auslesen::Kopf& kopf) {
        m_ui.Text2[0]->setText(kopf.hersteller);
        m_ui.Text2[3]->setText(kopf.herstellerNummer);
        m_ui.Text2[1]->setText(kopf.id);
        m_ui.Text2[4]->setText(kopf.idDezimal);
        m_ui.Text2[2]->setText(kopf.version);
        m_ui.Text2[5]->setText(kopf.medium);
    };
    anzeige.rohText = [this](const QString& text) { m_ui.Text11->setText(text); };
    anzeige.dump = [this](const QString& text) {
        m_ui.Text12->setPlainText(
            QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    };
    return anzeige;
}

void frmMBustest::leseZeitenMerken(const Auslesen::Ergebnis& ergebnis)
{
    m_leseErgebnis = ergebnis;
    AnfrageZeit = ergebnis.anfrage;
    AntwortZeit = ergebnis.antwort;
}

// Speed test: reads the meter of the address box again and again through an interface driver of
// its own, until the last count or until the stop button clears LesenLaeuft.
void frmMBustest::M_Bus_AuslesenVonBis(const QVariant& port, const QVariant& baud,
                                       const QVariant& von, const QVariant& bis)
{
    std::unique_ptr<MBusTreiber> objekt;
    IMBusOLEAutoServer* ole = oleTreiberErzeugen(objekt);
    if (!ole)
        return;
    QVariant portText = port;
    QVariant baudZahl = baud;
    // A port that does not open leaves every pass without an answer; boxes that hold no port or
    // rate read nothing.
    if (!GetPortParameter(portText, baudZahl))
        return;
    MBusComPortSetzen(*ole, portText.toString(), Zahl(baudZahl));

    Auslesen::Anzeige anzeige;
    anzeige.kopf = [this](const Auslesen::Kopf& kopf) {
        m_ui.Text2[0]->setText(kopf.hersteller);
        m_ui.Text2[1]->setText(kopf.id);
        m_ui.Text2[2]->setText(kopf.version);
    };
    anzeige.fortschritt = [this](int zaehler, const QString& sekunden) {
        m_ui.Label2[0]->setText(QString::number(zaehler));
        m_ui.Label2[1]->setText(sekunden);
    };
    anzeige.weiterLesen = [this] { return LesenLaeuft.toInt() == 1; };
    Auslesen lesen(*m_ui.Grid1, anzeige);
    // The address box is read on every pass; an address that is none ends the test.
    const auto adresse = [this] {
        int wert = 0;
        return Auslesen::PrimaerAdresseGueltig(m_ui.Text1[0]->text(), wert) ? wert : -1;
    };
    leseZeitenMerken(lesen.geschwindigkeitstest(*ole, Zahl(von), Zahl(bis), adresse));
}

// Reads one meter by primary address through the window's name-bound driver (created when the
// window has none), with the timing of the timing boxes.
void frmMBustest::M_Bus_AuslesenRac(const QVariant& primAdr, const QVariant& port,
                                    const QVariant& baud)
{
    if (!RacServer()) {
        int nummer = 1;
        m_treiber.LoadMBusPovider(nummer);
    }
    MBusRacX4* rac = RacServer();
    if (!rac) {
        LogSchreiben(KeinTreiber(kTreiberRacX4));
        return;
    }
    rac->setCOMTimeoutParam(2);
    rac->setCOMTimeout(Zahl(m_ui.Text7[0]->text()));
    rac->setCOMTimeoutOffset(Zahl(m_ui.Text7[1]->text()));
    rac->setCOMTimeoutByte(Zahl(m_ui.Text7[2]->text()));
    rac->setCOMDeadtime(Zahl(m_ui.Text7[3]->text()));
    if (baud.toString().trimmed().isEmpty())
        return;
    Auslesen lesen(*m_ui.Grid1, leseAnzeige());
    leseZeitenMerken(lesen.ueberRac(*rac, port, baud, Zahl(primAdr)));
}

// Reads one meter by primary address through the window's driver choice.
void frmMBustest::M_Bus_Auslesen(const QVariant& primAdr, const QVariant& port,
                                 const QVariant& baud)
{
    for (QLineEdit* feld : m_ui.Text2)
        feld->clear();
    m_leseErgebnis = {};
    if (ProviderNr == 2) {
        MB_Leer(primAdr, port, baud);
        return;
    }
    if (ProviderNr == 1) {
        M_Bus_AuslesenRac(primAdr, port, baud);
        return;
    }
    std::unique_ptr<MBusTreiber> objekt;
    IMBusOLEAutoServer* ole = oleTreiberErzeugen(objekt);
    if (!ole)
        return;
    QVariant portText = port;
    QVariant baudZahl = baud;
    // Boxes that hold no port or rate are refused with a message: nothing is read.
    PortOk = GetPortParameter(portText, baudZahl);
    if (!PortOk)
        return;
    PortOk = MBusComPortSetzen(*ole, portText.toString(), Zahl(baudZahl));
    if (!PortOk) {
        PortFehlerMelden(QStringLiteral("Fehler Open Com! com=") + portText.toString() +
                             QStringLiteral(" Baud=") + baudZahl.toString(),
                         portText);
        ole->OLEClosePort();
        return;
    }
    Auslesen lesen(*m_ui.Grid1, leseAnzeige());
    leseZeitenMerken(lesen.ueberOle(*ole, Zahl(primAdr), Zahl(m_ui.Text1[3]->text())));
}

void frmMBustest::InitFlex3() {}

// Builds one ";"-joined line per row; nothing uses the lines.
void frmMBustest::ListeInGrid(const QList<QStringList>& feld)
{
    for (const QStringList& zeile : feld)
        [[maybe_unused]] const QString text = zeile.join(QLatin1Char(';'));
}

void frmMBustest::InitZaehlerListe(FlexGrid& grid)
{
    grid.AddItem(QString(), 1);
    grid.AddItem(QString(), 1);
    grid.setRows(2);
    grid.setCols(5);
    grid.setRow(0);
    grid.setCol(0);
    static const char* const kopf[] = {"Primär Adr.:", "Sekundär Adr.:", "Primär Adr.:", "Name",
                                       "Ort"};
    for (int spalte = 0; spalte < 5; ++spalte) {
        grid.setCol(spalte);
        grid.setText(QString::fromUtf8(kopf[spalte]));
    }
}

int frmMBustest::LeereMethode(const QVariant&, const QVariant&, const QVariant&, const QVariant&)
{
    return 0;
}

// The start mask of the secondary search: "0" in the positions that are not searched
// ("8": ffffffff, "6": 00ffffff, "1": 0000000f).
void frmMBustest::Combo3_Click()
{
    m_ui.Label8->setText(SekundaerSuche::StartMaske(m_ui.Combo3->currentIndex()));
}

// Primary scan over the ticked baud rates, fastest first. However it ends (done, stopped, failed,
// program ending), the buttons and the mouse pointer come back; a failure goes to the log.
void frmMBustest::cmdSecPrimSuchen_Click()
{
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    m_scanFehler.clear();
    m_ui.cmdSecPrimSuchen->setVisible(false);
    m_ui.cmdSecAdrStop->setVisible(true);
    scanKnoepfeSperren(true);
    SucheStop = 0;
    MauszeigerSetzen(vbArrowHourglass);
    PrimaerScan::ScanGridVorbereiten(*m_ui.MSFlexGrid1);
    FlexGridSpaltenbreiten(*m_ui.MSFlexGrid1);

    for (int i = 0; i < 6; ++i) {
        const auto stelle = static_cast<size_t>(i);
        m_ui.Label4[stelle]->setText(QString());
        if (!m_ui.Check1[stelle]->isChecked())
            continue;
        M_Bus_SuchenVonBis(m_ui.Text4->text(), m_ui.Check1[stelle]->text(),
                           m_ui.Text5[stelle]->text(), m_ui.Text6[stelle]->text(), m_ui.Label3,
                           i + 1);
        if (SucheStop != 0 || !m_scanFehler.isEmpty() || ProgrammEndet())
            break;
    }

    MauszeigerSetzen(vbDefault);
    if (MBusRacX4* rac = RacServer())
        rac->APPCloseCom();
    if (!m_scanFehler.isEmpty())
        LogSchreiben(m_scanFehler);
    cmdSecAdrStop_Click();
    FlexGridSpaltenbreiten(*m_ui.MSFlexGrid1);
    scanKnoepfeSperren(false);
}

void frmMBustest::cmdSecAdrStop_Click()
{
    m_ui.cmdSecPrimSuchen->setVisible(true);
    m_ui.cmdSecAdrStop->setVisible(false);
    SucheStop = 1;
}

// Reads one meter by primary address; 253 (secondary addressing) has its own button. The timing
// line "Gelesen in " goes into the records grid only when the meter answered.
void frmMBustest::cmdstartAuslesen_Click()
{
    for (QLineEdit* feld : m_ui.Text2)
        feld->clear();
    const QString text = m_ui.Text1[0]->text().trimmed();
    if (text == QStringLiteral("253"))
        return;
    int adresse = 0;
    if (!Auslesen::PrimaerAdresseGueltig(text, adresse)) {
        MsgBox(Auslesen::kPrimaerAdresseUngueltig);
        return;
    }
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    int nummer = ProviderNr;
    LoadMBusPovider(nummer);
    MauszeigerSetzen(vbArrowHourglass);
    PortOk = GetPortParameter(PortWert, BaudWert);
    if (!PortOk) {
        MauszeigerSetzen(vbDefault);
        return;
    }
    ZaehlerPrimAdr = static_cast<qint16>(adresse);
    m_ui.cmdstartAuslesen->setVisible(false);
    M_Bus_Auslesen(ZaehlerPrimAdr, PortWert, BaudWert);
    if (ProviderNr != 2)
        Auslesen::ZeitZeileSchreiben(*m_ui.Grid1, m_leseErgebnis);
    if (m_ui.Text2[0]->text().isEmpty())
        m_ui.cmdImportIndexe->setVisible(false);
    // The address the meter answered with (a meter read at 254 tells its own).
    if (ProviderNr == 1 && m_leseErgebnis.antwortAdresse >= 0)
        Text1Setzen(0, QString::number(m_leseErgebnis.antwortAdresse));
    einzelLeseMerken();
    MauszeigerSetzen(vbDefault);
    m_ui.cmdstartAuslesen->setVisible(true);
}

// Reads one meter by secondary address through a name-bound driver of its own.
void frmMBustest::cmdSecLesen_Click()
{
    const QString sekundaer = m_ui.Text2[4]->text().trimmed();
    if (!Auslesen::SekundaerAdresseGueltig(sekundaer)) {
        MsgBox(Auslesen::kSekundaerAdresseUngueltig);
        return;
    }
    QVariant port;
    QVariant baud;
    if (!GetPortParameter(port, baud))
        return;
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    MauszeigerSetzen(vbArrowHourglass);
    ZaehlerPrimAdr = 253;
    m_ui.Grid1->Clear();
    for (const size_t i : {0U, 1U, 2U, 3U, 5U})
        m_ui.Text2[i]->clear();
    m_leseErgebnis = {};
    const std::unique_ptr<MBusTreiber> objekt = MBusObjektErzeugen(kTreiberRacX4);
    MBusRacX4* rac = objekt ? objekt->alsRacX4() : nullptr;
    if (!rac) {
        LogSchreiben(KeinTreiber(kTreiberRacX4));
        MsgBox(QStringLiteral("Fehler"));
        MauszeigerSetzen(vbDefault);
        return;
    }
    rac->APPInitCom(Zahl(m_ui.Text1[1]->text()), Zahl(m_ui.Text1[2]->text()));
    if (rac->APPIsComOpen() != 0) {
        PortFehlerMelden(QStringLiteral("Fehler"), Zahl(m_ui.Text1[1]->text()));
        rac->APPCloseCom();
        MauszeigerSetzen(vbDefault);
        return;
    }
    Auslesen lesen(*m_ui.Grid1, leseAnzeige());
    leseZeitenMerken(lesen.sekundaer(*rac, sekundaer));
    rac->APPCloseCom();
    if (m_leseErgebnis.antwortAdresse >= 0)
        Text1Setzen(0, QString::number(m_leseErgebnis.antwortAdresse));
    MauszeigerSetzen(vbDefault);
}

// Speed test from the first to the last count. When it ends, by itself or through Stop, the
// window is idle again: LesenLaeuft 0, so that a later scan runs its whole range.
void frmMBustest::cmdAuslesen1bis50_Click()
{
    int adresse = 0;
    if (!Auslesen::PrimaerAdresseGueltig(m_ui.Text1[0]->text(), adresse)) {
        MsgBox(Auslesen::kPrimaerAdresseUngueltig);
        return;
    }
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    MauszeigerSetzen(vbHourglass);
    m_ui.cmdStop->setVisible(true);
    m_ui.cmdAuslesen1bis50->setVisible(false);
    PortOk = GetPortParameter(PortWert, BaudWert);
    if (PortOk) {
        ZaehlerPrimAdr = static_cast<qint16>(adresse);
        LesenLaeuft = 1;
        M_Bus_AuslesenVonBis(PortWert, BaudWert, m_ui.Text3[0]->text(), m_ui.Text3[1]->text());
    }
    MauszeigerSetzen(vbDefault);
    cmdStop_Click();
}

void frmMBustest::cmdStop_Click()
{
    LesenLaeuft = 0;
    m_ui.cmdStop->setVisible(false);
    m_ui.cmdAuslesen1bis50->setVisible(true);
}
