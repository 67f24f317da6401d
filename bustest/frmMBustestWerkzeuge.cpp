// The telegram tools and the modem link of the test window: the handlers wire the controls to
// TelegrammWerkzeuge and ModemVerbindung.

#include "frmMBustest.h"

#include "ModemVerbindung.h"
#include "PortMeldung.h"
#include "SekundaerSuche.h"
#include "TelegrammWerkzeuge.h"
#include "TestfensterRegeln.h"
#include "driver/ProviderListe.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/faces/TreiberEingaben.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

constexpr int kEnglisch = 1;
constexpr int kSpalteAdresse = 0;
constexpr int kSpalteId = 1;
constexpr int kSpalteHersteller = 2;
constexpr int kSpalteBaud = 6;

int Zahl(const QString& text)
{
    return text.trimmed().toInt();
}

QString KeinRacTreiber()
{
    return FehlerText.isEmpty() ? QStringLiteral("Kein Treiber ") + kTreiberRacX4 : FehlerText;
}

} // namespace

void frmMBustest::ErzeugeHexStream(const QString& text, QString& ergebnis)
{
    ergebnis = TelegrammWerkzeuge::HexStream(text);
}

// Interprets the telegram of the text box (empty: the last raw telegram) without the bus. The
// window's name-bound driver does it; with another driver chosen, one of its own.
void frmMBustest::Command2_Click()
{
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    int nummer = ProviderNr;
    LoadMBusPovider(nummer);
    std::unique_ptr<MBusTreiber> eigener;
    MBusRacX4* rac = RacServer();
    if (!rac) {
        eigener = MBusObjektErzeugen(kTreiberRacX4);
        rac = eigener ? eigener->alsRacX4() : nullptr;
        if (!rac) {
            MsgBox(KeinRacTreiber());
            return;
        }
        rac->setLNGLanguage(kEnglisch);
    }
    QString text = m_ui.Text12->toPlainText();
    if (text.trimmed().isEmpty())
        text = RohdatenText;
    const TelegrammWerkzeuge::Deutung deutung = TelegrammWerkzeuge::Deuten(*rac, text, *m_ui.Grid1);
    if (!deutung.angenommen()) {
        MsgBox(TelegrammWerkzeuge::AblehnungsText(deutung.status));
        return;
    }
    m_ui.Text12->setPlainText(
        QString(deutung.dump).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_ui.Text2[0]->setText(deutung.kopf.hersteller);
    m_ui.Text2[2]->setText(deutung.kopf.version);
    m_ui.Text2[3]->setText(deutung.kopf.herstellerNummer);
    m_ui.Text2[4]->setText(deutung.kopf.idDezimal);
    m_ui.Text2[5]->setText(deutung.kopf.medium);
}

// Reads the meter of the row: by primary address, or by secondary address for a meter listed
// at 253. The read goes to the search port at the row's first baud rate. While a bus operation
// of the window runs (whose boxes these are), or on the header row, nothing happens.
void frmMBustest::MSFlexGrid1_DblClick()
{
    const FlexGridWidget& liste = *m_ui.MSFlexGrid1;
    const int zeile = liste.Row();
    if (m_ende.laeuft() || zeile < 1 || zeile >= liste.Rows())
        return;
    m_ui.Frame11->hide();
    Text1Setzen(0, liste.TextMatrix(zeile, kSpalteAdresse).trimmed());
    m_ui.Combo7->setEditText(m_ui.Combo4->currentText());
    const QString rate = TelegrammWerkzeuge::ErsteBaudrate(liste.TextMatrix(zeile, kSpalteBaud));
    m_ui.Combo8->setEditText(rate.isEmpty() ? m_ui.Combo6->currentText() : rate);
    Combo7_Click();
    Combo8_Click();
    m_ui.Text2[0]->setText(liste.TextMatrix(zeile, kSpalteHersteller));
    m_ui.Text2[1]->setText(liste.TextMatrix(zeile, kSpalteId));
    for (size_t i = 0; i < 3; ++i)
        if (m_ui.Text1[i]->text().isEmpty())
            return;

    const bool busAnsicht = m_ui.mnuZaehlerLesen->text() == kAnsichtBus;
    if (m_ui.Text1[0]->text() != QStringLiteral("253")) {
        if (busAnsicht)
            mnuZaehlerLesen_Click();
        cmdstartAuslesen_Click();
        return;
    }
    m_ui.Text2[4]->setText(liste.TextMatrix(zeile, kSpalteId));
    cmdSecLesen_Click();
    if (busAnsicht)
        mnuZaehlerLesen_Click();
}

void frmMBustest::Text8_Change(int)
{
    m_ui.Label7->setText(
        TelegrammWerkzeuge::KurzrahmenPruefsumme(m_ui.Text8[1]->text(), m_ui.Text8[2]->text()));
}

// Dials the remote modem with a new name-bound driver at the single-meter port and rate (both
// boxes must hold one); the driver stays until the hang-up.
void frmMBustest::cmdMoWaehlen_Click()
{
    QVariant port;
    QVariant baud;
    if (!GetPortParameter(port, baud))
        return;
    if (!port.isValid() || !baud.isValid()) {
        MsgBox(port.isValid() ? kBaudUngueltig : kComPortUngueltig);
        return;
    }
    {
        Programmende::Lauf lauf(m_ende);
        if (!lauf.gueltig())
            return;
        int nummer = 1;
        m_treiber.LoadMBusPovider(nummer);
        MBusRacX4* rac = RacServer();
        if (!rac) {
            MsgBox(KeinRacTreiber());
            return;
        }
        ModemVerbindung::Timing timing{};
        for (size_t i = 0; i < timing.size(); ++i)
            timing[i] = Zahl(m_ui.Text7[i]->text());
        m_modem.setzeLaeuft(true);
        const ModemVerbindung::Waehlergebnis ergebnis =
            m_modem.waehlen(*rac, TreiberPortNummer(port).value_or(0), baud.toInt(), timing,
                            m_ui.Text10->text(), m_ui.Text9->text());
        m_modem.setzeLaeuft(false);
        if (ergebnis.portFehler) {
            PortFehlerMelden(ergebnis.meldung, port);
        } else if (!ergebnis.meldung.isEmpty()) {
            LogSchreiben(ModemVerbindung::WahlProtokoll(ergebnis.meldung, ergebnis.antwort));
            MsgBox(ergebnis.meldung);
        }
    }
    if (m_modem.auflegenFaellig())
        cmdMoAuflegen_Click();
}

// Searches the remote bus by secondary address while the call stands; the meters found are
// added to the meter list, with the modem's baud rate. A connection that ends meanwhile stops
// the search; the label and a message then say so instead of "Fertig".
void frmMBustest::cmdMoLesen_Click()
{
    MBusRacX4* rac = RacServer();
    if (!rac || !ModemVerbindung::verbunden(*rac))
        return;
    {
        Programmende::Lauf lauf(m_ende);
        if (!lauf.gueltig())
            return;
        MauszeigerSetzen(vbHourglass);
        m_modem.sucheBeginnen();
        // A local search aborted earlier leaves the stop flag set; this search runs in full.
        SekSucheStop = false;
        m_sekFehler.clear();
        const int vorher = SekZaehlerAnzahl;
        MBRac_SucheSekAdrAlle(rac, SekundaerSuche::kAlleMaske, SekundaerSuche::kStellen,
                              m_ui.Label10, m_ui.Text1[2]->text());
        const bool verloren = m_modem.leitungVerloren(*rac) && !ProgrammEndet();
        m_modem.sucheBeenden();
        QString meldung;
        if (verloren) {
            const QString antwort = ModemVerbindung::antwort(*rac);
            const int gefunden = SekZaehlerAnzahl - vorher;
            m_ui.Label10->setText(ModemVerbindung::VerbindungBeendetAnzeige(antwort, gefunden));
            meldung = ModemVerbindung::VerbindungBeendetMeldung(antwort, gefunden);
            LogSchreiben(meldung);
        } else {
            m_ui.Label10->setText(QStringLiteral("Fertig"));
        }
        if (!m_sekFehler.isEmpty())
            LogSchreiben(QStringLiteral("Fehler Alle suchen Sek : ") + m_sekFehler);
        MauszeigerSetzen(vbDefault);
        if (!meldung.isEmpty())
            MsgBox(meldung);
    }
    if (m_modem.auflegenFaellig())
        cmdMoAuflegen_Click();
}

// Hangs up and releases the driver. Without a driver nothing happens; while the dial or the
// search through the modem runs, that is stopped first and the hang-up follows its end.
void frmMBustest::cmdMoAuflegen_Click()
{
    MBusRacX4* rac = RacServer();
    if (!rac)
        return;
    if (m_modem.laeuft()) {
        SekSucheStop = true;
        m_modem.auflegenAnfordern(*rac);
        return;
    }
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    MauszeigerSetzen(vbHourglass);
    const QString meldung = m_modem.auflegen(*rac);
    ModemStatus = m_modem.status();
    m_treiber.racServerSchliessen();
    MauszeigerSetzen(vbDefault);
    if (!meldung.isEmpty())
        MsgBox(meldung);
}
