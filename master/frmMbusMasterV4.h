#pragma once
// The cyclic M-Bus master for one COM port: loads the port's meters from the database, reads
// them on an interval (the cycle of Timer1) and stores their values. One process holds one such
// window, started with "-C<port>" (and "Auto" to start the cycle at once).
//
// Text boxes with a change handler (Text1, Text4) react to the user's typing; the start-up sets
// them through Text1Setzen and Text4Setzen, which run the handler once. The driver box Combo2 and
// the tick boxes Check1 react to the user's choice; the start-up runs their handlers itself.
//
// The cycle (Timer1_Timer and what it calls) holds a Programmende::Lauf of programmende() while
// it runs, and so do the row read, the V2 read and the index save (MasterEinzellesen); ending the
// program then waits until the step that runs has returned. While one of the latter runs, Start,
// the settings frame and the driver choice are turned away, and a due cycle waits for the first
// tick after it.

#include "MasterfensterElemente.h"
#include "master/dienste/DienstPruefung.h"
#include "master/dienste/MasterAufruf.h"
#include "master/dienste/MasterEinstellungen.h"
#include "master/dienste/MasterEinzellesen.h"
#include "master/dienste/MasterZustand.h"
#include "master/dienste/MasterZyklus.h"
#include "platform/Programmende.h"
#include "serial/SerielleSchnittstelle.h"

#include <QMainWindow>
#include <QUdpSocket>

#include <functional>
#include <memory>

class frmMbusMasterV4 : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window and runs its start-up (the window shows itself on the way). A service
    // control may be given for the service check (tests); else systemctl is used.
    explicit frmMbusMasterV4(std::unique_ptr<DienstSteuerung> dienste = nullptr,
                             QWidget* parent = nullptr);
    ~frmMbusMasterV4() override;

    // Public operations, in slot order.
    int BM_ZaehlerlisteLadenComPort();
    int CheckService(const QString& ServiceName);
    bool MBOpenDatenbank();
    bool TibboReset(const QString& TibboIP, int TibboPort, QUdpSocket& WSock);
    void LoadMBusPovider(int treiberNummer);
    int MB_ReadPrimAdr(int port, int adresse, qint32 baud, int r, int treiberNummer);
    int MB_ReadPrimAdrRac(int port, int adresse, qint32 baud, int r);

    // Handlers.
    void Check1_Click(int index);
    void Text1_Change();
    void Text4_Change(int index);
    void mnuEnde_Click();
    void Form_Unload();
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdWeiter_Click();
    void Timer1_Timer();
    void Combo1_Click();
    void Combo2_Click();
    void mnuEinstellung_Click();
    void cmdEinstellungenZurueck_Click();
    void mnuLog_Click();
    void cmdTestService_Click();
    // Interactive reading and the index list.
    void MSFlexGrid1_RowClick(int mausZeile);
    void Combo3_Click();
    void cmdSpeichernIndexliste_Click();
    void TestZaehlerLaden_Click();
    void cmd_V2_MBLesenSecundaer_Click();

    // Program changes of the boxes with a change handler: the handler runs once.
    void Text1Setzen(const QString& text);
    void Text4Setzen(int index, const QString& text);

    const MasterfensterElemente& ui() const { return m_ui; }
    MasterZustand& zustand() { return m_z; }
    const MasterAufruf& aufruf() const { return m_aufruf; }
    Programmende& programmende() { return m_ende; }
    MasterZyklus& zyklus() { return *m_zyklus; }
    MasterEinzellesen& einzellesen() { return *m_einzellesen; }
    QUdpSocket& Winsock1() { return m_winsock; }
    SerielleSchnittstelle& Comm1() { return m_comm1; }
    // The local UDP port of the device-server reset of the cycle: -1 (default) the device
    // server's own port; tests on one host take 0 (any free port).
    void tibboLokalerPortSetzen(int port) { m_tibboLokalerPort = port; }
    // Whether Timer1 ran when the settings frame was opened.
    bool timerLiefBeiEinstellung() const { return m_timerLiefBeiEinstellung; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    // Notes the meter grid's current cell before a mouse press moves it.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Form_Load();
    void verbinden();
    // Runs one start-up step; a step that fails writes "Fehler FormLoad " & FehlerText to mb.log.
    void schritt(const std::function<bool()>& arbeit);
    bool laden4Vbz();
    bool laden15Intervall();
    bool laden16Timeouts();
    void laden17Tibbo();
    void laden18Haken();
    void laden19Treiber();
    void mbLog(const QString& text) const;
    void log(const QString& text);
    // The cycle itself (from "Start jetzt" on): queued by a tick that finds the cycle due, so
    // that the ticks go on while it runs.
    void zyklusLaufen(UnixZeit jetztU);
    MasterZyklusFenster zyklusFenster();

    MasterfensterElemente m_ui;
    MasterZustand m_z;
    MasterAufruf m_aufruf;
    std::unique_ptr<MasterEinstellungen> m_einstellungen;
    std::unique_ptr<DienstSteuerung> m_dienste;
    QUdpSocket m_winsock;
    SerielleSchnittstelle m_comm1;
    Programmende m_ende;
    std::unique_ptr<MasterZyklus> m_zyklus;
    std::unique_ptr<MasterEinzellesen> m_einzellesen;
    bool m_timerLiefBeiEinstellung = false;
    // The meter grid's current cell before the last mouse press: a click turned away puts the
    // highlight back there.
    int m_zeileVorKlick = -1;
    int m_spalteVorKlick = -1;
    bool m_entladen = false;
    int m_tibboLokalerPort = -1;
};
