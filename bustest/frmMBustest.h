#pragma once
// The window the program starts on ("Telvarin"): a technician's bench for one M-Bus level
// converter on one COM port. The bus view scans a bus by primary and secondary address and
// writes new addresses; the meter view reads one meter and shows its records. The views share
// one place; the menu "Zähler &Scan" / "Bus &Scan" switches between them.
//
// Text boxes whose change has an effect (the single-meter boxes Text1, the search port Text4,
// the timing boxes Text7) react to the user's typing and to the program's changes alike; code
// changes them through Text1Setzen, Text4Setzen and Text7Setzen, which run the change handler
// only when the text really changes. Combo boxes react to the user's choice; code that selects an
// entry calls the box's click handler itself.
//
// Every loop of the window (scans, reads, searches) holds a Programmende::Lauf of programmende()
// while it runs and yields through DoEvents/Warten; ending the program (menu, close button,
// closing the window) then stops the loop first, closes the ports and only then ends.

#include "Auslesen.h"
#include "ModemVerbindung.h"
#include "PrimaerScan.h"
#include "platform/Programmende.h"
#include "SekundaerSuche.h"
#include "TestfensterEinstellungen.h"
#include "TestfensterElemente.h"
#include "TreiberWahl.h"
#include "serial/SerielleSchnittstelle.h"

#include <QMainWindow>
#include <QVariant>

#include <memory>

class FlexGrid;
class IMBusOLEAutoServer;
class MBusRacX4;
class Recordset;

class frmMBustest : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window and runs its loading step, which ends by showing it.
    explicit frmMBustest(QWidget* parent = nullptr);
    ~frmMBustest() override;

    // Public procedures, in slot order.
    void M_Bus_SuchenVonBisRac(const QVariant& port, const QVariant& baud, const QVariant& von,
                               const QVariant& bis, QLabel* label, int baudZeile);
    void M_Bus_SuchenVonBis(const QVariant& port, const QVariant& baud, const QVariant& von,
                            const QVariant& bis, QLabel* label, int baudZeile);
    void M_Bus_AuslesenVonBis(const QVariant& port, const QVariant& baud, const QVariant& von,
                              const QVariant& bis);
    void M_Bus_AuslesenRac(const QVariant& primAdr, const QVariant& port, const QVariant& baud);
    void M_Bus_Auslesen(const QVariant& primAdr, const QVariant& port, const QVariant& baud);
    void ImportGet(Recordset& zaehler, FlexGrid& grid, const QString& hersteller,
                   const QString& medium);
    void InitFlex3();
    void ListeInGrid(const QList<QStringList>& feld);
    void TarifeEinlesen(const QVariant& lznr, FlexGrid& grid);
    void ErzeugeHexStream(const QString& text, QString& ergebnis);
    bool GetPortParameter(QVariant& port, QVariant& baud);
    void InitZaehlerListe(FlexGrid& grid);
    void LoadMBusPovider(int& treiberNummer);
    int MBRac_SucheSekAdr(MBusRacX4*& treiber, const QString& maske);
    void MBRacZaehlerInListeEintragen(MBusRacX4*& treiber, FlexGrid& grid, const QVariant& baud);
    void MBRac_SucheSekAdrAlle(MBusRacX4*& treiber, const QString& maske, int ebene, QLabel* label,
                               const QVariant& baud);
    void MB_GetSuchstring(QString& maske, int ebene, int ziffer);

    // Handlers.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo4_Click();
    void Combo7_Click();
    void Combo8_Click();
    void Text1_Change(int index);
    void Text4_Change();
    void Text7_Change(int index);
    void Text6_DblClick(int index);
    void mnuZaehlerLesen_Click();
    void mnuImportIni_Click();
    void mnu_openhelp_Click();
    void mnu_about_Click();
    void mnuEnde_Click();
    void cmdend_Click();

    // Handlers whose work other parts of the window add.
    void cmdSecPrimSuchen_Click();
    void cmdSecAdrStop_Click();
    void cmdstartAuslesen_Click();
    void cmdSecLesen_Click();
    void cmdAuslesen1bis50_Click();
    void cmdStop_Click();
    void cmdSekSuchenAlle_Click();
    void cmdSekSuchenAlleAbbrechen_Click();
    void cmd_AutoPrimaer_Click();
    void cmd_SetPrimSingle_Click();
    void Command3_Click();
    void Command4_Click();
    void MSFlexGrid1_Click();
    void Command2_Click();
    void MSFlexGrid1_DblClick();
    void Text8_Change(int index);
    void cmdMoWaehlen_Click();
    void cmdMoLesen_Click();
    void cmdMoAuflegen_Click();
    void cmdSpeichern_Click();
    void cmdImporttxt_Click();
    void cmdImportListeAbbrechen_Click();
    void cmdZwischen_Click();
    void Command1_Click();
    void File1_Click();
    void File1_DblClick();
    void cmdImport_Click();
    void cmdImportIndexe_Click();
    void cmdImportAlleIndexe_Click();
    void cmdDatenbankEintrag_Click();

    // Program changes of the text boxes with a change handler.
    void Text1Setzen(int index, const QString& text);
    void Text4Setzen(const QString& text);
    void Text7Setzen(int index, const QString& text);

    // The controls, the drivers and the end of the program (handlers of every part of the
    // window, and tests).
    const TestfensterElemente& ui() const { return m_ui; }
    int providerNr() const { return ProviderNr; }
    IMBusOLEAutoServer* OleServer() const { return m_treiber.OleServer(); }
    MBusRacX4* RacServer() const { return m_treiber.RacServer(); }
    Programmende& programmende() { return m_ende; }
    ModemVerbindung& modemVerbindung() { return m_modem; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Form_Load();
    void aufbauen();
    void verbinden();
    void startZustandHerstellen();
    void ProviderBoxKlick(QComboBox* box, QGroupBox* timingRahmen);
    void Frame4Frame6Zeigen(bool busAnsicht);
    void portsSchliessen();
    void dienstElementeZeigen();
    int LeereMethode(const QVariant& a, const QVariant& b, const QVariant& c, const QVariant& d);
    void ZeigeZaehlerRahmen();
    // The primary scan's buttons: while it runs the stop button shows and the buttons that
    // would start another bus operation are disabled.
    void scanKnoepfeSperren(bool sperren);
    PrimaerScan::Anzeige scanAnzeige(int baudZeile);
    // The meter view's header boxes, raw answer and dump, as a read shows them.
    Auslesen::Anzeige leseAnzeige();
    void leseZeitenMerken(const Auslesen::Ergebnis& ergebnis);
    // The secondary search's display: the label shows the mask probed, Label11 the count.
    SekundaerSuche::Anzeige sekAnzeige(QLabel* label);
    // The end of a secondary search, however it ended: buttons, port, pointer.
    void sekSucheBeenden();
    // Commissioning (frmMBustestInbetrieb.cpp).
    void primaerAdresseEinzelnSchreiben();
    void parameterListeSchreiben();
    void listeLaden();
    void listeImportieren();
    void alleIndexeImportieren();
    // After a read by primary address: remembers the records grid as that meter's records.
    void einzelLeseMerken();
    // zeile: the scan-grid row the message names and the mark goes into (markeSpalte -1: none).
    void indexeImportieren(int markeSpalte, int zeile);
    // A new interface driver object, kept alive by objekt; nullptr when there is none, its
    // reason then in fehler when given, else in the program log.
    IMBusOLEAutoServer* oleTreiberErzeugen(std::unique_ptr<MBusTreiber>& objekt,
                                           QString* fehler = nullptr);

    TestfensterElemente m_ui;
    TestfensterEinstellungen m_einstellungen;
    TreiberWahl m_treiber;
    SerielleSchnittstelle MSComm1;
    Programmende m_ende;
    bool m_racFreigeben = false; // the close button releases the name-bound driver at the end

    // State fields.
    qint16 ZaehlerPrimAdr = 0;
    QVariant PortWert;
    QVariant BaudWert;
    bool PortOk = false;
    QVariant LesenLaeuft;
    quint8 SucheStop = 0;
    quint8 ProviderNr = 0;
    QVariant AnfrageZeit;
    QVariant AntwortZeit;
    QString m_scanFehler; // why the running primary scan could not go on ("" while it can)
    Auslesen::Ergebnis m_leseErgebnis; // the outcome of the last read-out
    qint32 SekZaehlerAnzahl = 0;       // meters the secondary search entered
    bool SekSucheStop = false;
    QString m_sekFehler; // why the running secondary search could not go on ("" while it can)
    ModemVerbindung m_modem;
    int ModemStatus = 3; // the last TELStatus of the hang-up
    qint16 ParameterStop = 0; // the list writing stops after the part running when not 0
    // The list file loaded last and a fingerprint of the scan grid as it loaded it: its port
    // counts only while the grid still holds that file.
    QString m_listenDatei;
    QByteArray m_listenAbdruck;
    // The records grid as the last single read left it, with that read's address and port:
    // only those records are one meter's index list.
    QByteArray m_gelesenAbdruck;
    QString m_gelesenAdresse;
    int m_gelesenPort = 0;
};
