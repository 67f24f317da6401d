// The secondary-address search of the test window: the handlers and the procedures the search
// runs through; the work is done by SekundaerSuche.

#include "frmMBustest.h"
#include "frmMBustestHilfen.h"

#include "PortMeldung.h"
#include "SekundaerSuche.h"
#include "driver/ProviderListe.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/GridHilfen.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// Probes one secondary-address mask through the driver, whose port is open.
int frmMBustest::MBRac_SucheSekAdr(MBusRacX4*& treiber, const QString& maske)
{
    if (!treiber)
        return SekundaerSuche::kNiemand;
    SekundaerSuche suche(*m_ui.MSFlexGrid1, sekAnzeige(m_ui.Label8), SekZaehlerAnzahl);
    return suche.probe(*treiber, maske);
}

// Enters the meter the driver read last into the grid, or adds the baud rate to its row.
void frmMBustest::MBRacZaehlerInListeEintragen(MBusRacX4*& treiber, FlexGrid& grid,
                                               const QVariant& baud)
{
    if (!treiber)
        return;
    SekundaerSuche suche(grid, sekAnzeige(m_ui.Label8), SekZaehlerAnzahl);
    if (!suche.eintragen(*treiber, Zahl(baud)))
        m_sekFehler = suche.fehler();
    SekZaehlerAnzahl = suche.gefunden();
}

// Searches the bus from the mask at the level, at one baud rate whose port is open; the label
// shows every mask probed. A failure is left in m_sekFehler for the search's end.
void frmMBustest::MBRac_SucheSekAdrAlle(MBusRacX4*& treiber, const QString& maske, int ebene,
                                        QLabel* label, const QVariant& baud)
{
    if (!treiber)
        return;
    SekundaerSuche suche(*m_ui.MSFlexGrid1, sekAnzeige(label ? label : m_ui.Label8),
                         SekZaehlerAnzahl);
    if (!suche.sucheAlle(*treiber, maske, ebene, Zahl(baud)))
        m_sekFehler = suche.fehler();
    SekZaehlerAnzahl = suche.gefunden();
}

void frmMBustest::MB_GetSuchstring(QString& maske, int ebene, int ziffer)
{
    SekundaerSuche::Suchstring(maske, ebene, ziffer);
}

SekundaerSuche::Anzeige frmMBustest::sekAnzeige(QLabel* label)
{
    SekundaerSuche::Anzeige anzeige;
    anzeige.maske = [label](const QString& maske) { label->setText(maske); };
    anzeige.anzahl = [this](const QString& text) { m_ui.Label11->setText(text); };
    // The search through the modem also stops once its connection has ended.
    anzeige.stop = [this] {
        MBusRacX4* rac = RacServer();
        return SekSucheStop || (rac && m_modem.leitungVerloren(*rac));
    };
    return anzeige;
}

// Secondary-address search over the ticked baud rates, fastest first, from the mask that Label8
// shows for the chosen number of digits. However it ends (done, aborted, failed, program
// ending), the buttons, the port and the mouse pointer come back.
void frmMBustest::cmdSekSuchenAlle_Click()
{
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    for (QPushButton* knopf : {m_ui.cmdSecPrimSuchen, m_ui.Command1, m_ui.Command3, m_ui.Command4})
        knopf->setEnabled(false);
    MauszeigerSetzen(vbArrowHourglass);
    m_sekFehler.clear();
    m_ui.MSFlexGrid1->setRows(1);
    SekZaehlerAnzahl = 0;
    m_ui.Label11->setText(QString());
    const int position = m_ui.Combo3->currentIndex();
    const int ebene = SekundaerSuche::Ebene(position);
    // Label8 shows the probed masks during the search; the start mask comes from the digit box
    // as Label8 showed it before, and Label8 shows it again at the end.
    const QString startMaske = SekundaerSuche::StartMaske(position);
    m_ui.Label8->setText(startMaske);
    m_ui.cmdSekSuchenAlleAbbrechen->setVisible(true);
    m_ui.cmdSekSuchenAlle->setVisible(false);
    SekSucheStop = false;
    QElapsedTimer uhr;
    uhr.start();

    int nummer = 1;
    m_treiber.LoadMBusPovider(nummer);
    MBusRacX4* rac = RacServer();
    if (!rac) {
        m_sekFehler = KeinTreiber(kTreiberRacX4);
    } else {
        const int port = Zahl(m_ui.Text4->text());
        for (int i = 0; i < 6; ++i) {
            const auto stelle = static_cast<size_t>(i);
            m_ui.Label4[stelle]->setText(QString());
            QCheckBox* rate = m_ui.Check1[stelle];
            if (rate->isChecked()) {
                const int baud = Zahl(rate->text());
                rate->setStyleSheet(QStringLiteral("background-color: #00ff00;"));
                m_ui.Label9->setText(QString::number(baud));
                rac->APPInitCom(port, baud);
                // A port that does not open is reported and skips this rate.
                if (rac->APPIsComOpen() == 0)
                    MBRac_SucheSekAdrAlle(rac, startMaske, ebene, m_ui.Label8, baud);
                else
                    PortFehlerMelden(QStringLiteral("Fehler Open Com ") + QString::number(port),
                                     port);
            }
            rate->setStyleSheet(QString());
            if (SekSucheStop || !m_sekFehler.isEmpty() || ProgrammEndet())
                break;
        }
    }

    m_ui.Label11->setText(SekundaerSuche::SchlussZeile(
        m_ui.Label11->text(), static_cast<double>(uhr.elapsed()) / 1000.0));
    m_ui.Label8->setText(startMaske);
    sekSucheBeenden();
    if (!m_sekFehler.isEmpty()) {
        LogSchreiben(QStringLiteral("Fehler Alle suchen Sek : ") + m_sekFehler);
        MsgBox(QStringLiteral("Fehler Alle suchen Sek : ") + m_sekFehler);
    }
}

void frmMBustest::sekSucheBeenden()
{
    m_ui.cmdSekSuchenAlleAbbrechen->setVisible(false);
    m_ui.cmdSekSuchenAlle->setVisible(true);
    FlexGridSpaltenbreiten(*m_ui.MSFlexGrid1);
    if (MBusRacX4* rac = RacServer())
        rac->APPCloseCom();
    for (QPushButton* knopf : {m_ui.cmdSecPrimSuchen, m_ui.Command1, m_ui.Command3, m_ui.Command4})
        knopf->setEnabled(true);
    MauszeigerSetzen(vbDefault);
}

// Stops the secondary search: the probe running ends at once (its port closes), the search
// after it.
void frmMBustest::cmdSekSuchenAlleAbbrechen_Click()
{
    m_ui.cmdSekSuchenAlleAbbrechen->setVisible(false);
    m_ui.cmdSekSuchenAlle->setVisible(true);
    SekSucheStop = true;
    if (MBusRacX4* rac = RacServer())
        rac->APPCloseCom();
}
