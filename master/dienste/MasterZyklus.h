#pragma once
// The read cycle of the master window, from the tick that finds it due to the next due time:
// open the database and reload the port's meters (database box ticked), read every meter of
// the meter grid through MBusRawAuslesen with a driver of the cycle's own, store the values of
// each meter that answered (MasterSpeichern.h), read the meters that failed once more, close
// what was opened, show the cycle time and set the next due time.
//
// The database and both value tables stay open through the repeat pass and are closed once
// after it; every exit (Stop, no meters, the end) closes and releases what the cycle opened.
// While the cycle runs it holds the port's cycle lock (Sperren::zyklusDatei). When the log
// import holds the client's value folder (or another process holds the cycle's own lock, so that
// an import may start at any time), the value-file entries are set aside; the interval files,
// mb.log lines and table rows are written as always. At the end of the cycle it waits in the
// event loop for the folder to be free (up to two minutes, never into the next due time) and
// writes the entries then; otherwise one mb.log line names the value files left unwritten. A
// cycle lock that cannot be made at all holds nothing back (one program-log line).
//
// Waits (the pause before each meter, the step mode) run the event loop until their time is
// up, Weiter (step mode) or Stop; the cycle's time and pauses use a monotonic clock.
//
// Only the cycle clears ZyklusLaeuft: a Stop followed by Start during a pass never lets a
// second cycle in.

#include "master/dienste/MasterSpeichern.h"
#include "master/dienste/MasterZustand.h"
#include "text/Zeit.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class FlexGrid;
class QEventLoop;
class SerielleSchnittstelle;
class Sperre;

// What the cycle needs of its window.
struct MasterZyklusFenster
{
    FlexGrid& zaehler; // MSFlexGrid1
    FlexGrid& log;     // MSFlexGrid4
    FlexGrid& zeiten;  // MSFlexGrid3
    SerielleSchnittstelle& comm;
    std::function<bool(int)> haken;         // Check1(i) ticked
    std::function<bool()> datenbankOeffnen; // MBOpenDatenbank
    std::function<int()> zaehlerlisteLaden; // BM_ZaehlerlisteLadenComPort
    std::function<int(const QString&)> checkService;
    std::function<bool()> tibboReset; // TibboReset(TibboIP, TibboPort, Winsock1)
    std::function<void(const QString&)> label1;
    std::function<void(bool)> weiterZeigen;  // cmdWeiter
    std::function<void()> fertig;            // interval 0: Timer1 off, Start shown
    std::function<bool()> logRahmenSichtbar; // Frame4
    // Starts the calculator; false with the reason in fehler.
    std::function<bool(const QString& programm, const QStringList& argumente, QString& fehler)>
        programmStarten;
};

// The calculator of virtual meters: "kalvix" beside this program, else on PATH ("" when
// neither has it).
QString KalvixProgramm();

class MasterZyklus : public QObject
{
    Q_OBJECT

public:
    MasterZyklus(MasterZustand& z, MasterZyklusFenster fenster, QObject* parent = nullptr);

    // Runs one cycle (the tick's steps from "Start jetzt" on). jetztU: the tick's time.
    void laufen(UnixZeit jetztU);

    // Weiter: releases the step mode's wait.
    void weiter();
    // Stop (or the program's end): ends a wait at once; the pass ends after the meter it reads.
    void wartenAbbrechen();

    // Tests: how long the end of a cycle waits for the value folder (ms; below 0 the default).
    static void importWartezeitSetzen(int ms);

signals:
    void beendet();

private:
    // One pass over the grid; false when it was cut short by Stop.
    bool durchlauf(class MBusRacX4& treiber, bool dateienGesperrt);
    void lesen(class MBusRacX4& treiber, int i, bool dateienGesperrt);
    void wiederherstellen();
    void warten(int ms);
    bool gestoppt() const;
    void log(const QString& text);
    void zyklusZeitZeigen(qint64 ms);
    void abschluss(UnixZeit jetztU);
    bool wertordnerFrei(Sperre& zyklusSperre, const QString& ordnerSperre);
    bool aufWertordnerWarten(Sperre& zyklusSperre, const QString& ordnerSperre);
    void zurueckgestellteSchreiben(Sperre& zyklusSperre, const QString& ordnerSperre,
                                   const QString& sperrGrund);
    void portFehlerMelden(class MBusRacX4& treiber, const MBZaehler& zaehler, int rc);

    MasterZustand& m_z;
    MasterZyklusFenster m_f;
    QEventLoop* m_warten = nullptr;
    int m_durchlauf = 0;
    // This cycle's lock cannot be made (see laufen); kept to the next cycle.
    bool m_ohneZyklusSperre = false;
    bool m_portFehlerGemeldet = false;
    QList<WertdateiEintrag> m_zurueckgestellt;
};
