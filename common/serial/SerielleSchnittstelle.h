#pragma once
// The serial control: one serial port with the properties the exchange services work with.
//
// Properties, named as the exchange services and the program's settings use them:
// CommPort (port number, resolved to a device by ComGeraet), Settings ("9600,E,8,1"), PortOpen,
// the buffer sizes and counts, InputLen, Input and Output (raw bytes, never text conversion),
// DTREnable and RTSEnable.
//
// Errors: every setter returns an error number of ComFehler.h (0 = done), and every access that
// can fail (the setters, Input, InBufferCount, OutBufferCount) leaves its outcome in
// fehlerNummer() and fehlerBeschreibung() (0 and "" when it worked). Nothing throws.
//
// Moving data: the control is polled, never driven by callbacks. Every reading access (Input,
// InBufferCount, OutBufferCount) first does one non-blocking pass over the device itself
// (waitForReadyRead(0) and waitForBytesWritten(0): a poll() with no wait, then at most one read
// and one write), so the data arrive whether or not the caller's loop runs the event loop, and
// no access ever blocks. Between two accesses a caller that waits for the line sleeps in warten()
// until the device has something (a byte arrived, bytes handed on) or its time is up.
//
// OutBufferCount counts every byte not yet on the wire: what QSerialPort still holds, what the
// kernel's output queue holds (TIOCOUTQ), and, on UARTs that tell it (TIOCSERGETLSR), one more
// byte while the transmitter is still shifting out the last one. It reaches 0 only when the frame
// has left, which the direction control (dropping RTS) needs. No blocking tcdrain is used: a
// dead device could hold it for ever.
//
// RTS and DTR: a pseudo-terminal and some adapters have no modem lines; failing to set them is
// not an error, the property keeps the value set. A pseudo-terminal also always carries 8 bits
// without parity; its refusal of parity and data bits is not an error either.
//
// A device that stops working while open (unplugged, other side of a pseudo-terminal gone) is
// closed at the next access, which reports kGeraeteFehler; PortOpen reads false afterwards.
//
// One control belongs to one thread (the GUI thread).

#include "serial/SchnittstellenEinstellung.h"

#include <QByteArray>
#include <QString>

#include <memory>

class Geraetebelegung;
class QSerialPort;

class SerielleSchnittstelle
{
public:
    SerielleSchnittstelle();
    // Closes the port when it is open.
    ~SerielleSchnittstelle();
    SerielleSchnittstelle(const SerielleSchnittstelle&) = delete;
    SerielleSchnittstelle& operator=(const SerielleSchnittstelle&) = delete;

    // Port number (1..255). Cannot change while the port is open (kPortOffen); a number out of
    // range gives kUngueltigerPort. Default 1.
    int CommPort() const { return m_commPort; }
    int setCommPort(int port);

    // "<baud>,<parity>,<data bits>,<stop bits>" (see SchnittstellenEinstellung); a text that
    // does not parse gives kUngueltigerWert and changes nothing. Applied at once when open
    // (kEinstellungFehler when the device refuses it). Default "9600,N,8,1".
    QString Settings() const { return m_settings; }
    int setSettings(const QString& text);

    // Opening: kPortBelegt when this control, another part of the program or another program
    // has the device open; kUngueltigerPort when the port number maps to no device or the
    // device cannot be opened. Closing a closed port gives kNichtGeoeffnet.
    //
    // The lock of another program (the serial port's lock file) is waited out for up to
    // sperrFrist() milliseconds before the open gives kPortBelegt: a program that probes the
    // port, or one that closed the same terminal a moment ago and has not yet removed its lock
    // file, holds it only briefly. The wait runs in the event loop and tries again every
    // kSperrPruefIntervallMs; it ends early when the program is ending. Once a lock has outlasted
    // a whole wait, further opens of that device try once without waiting, until one succeeds or
    // a minute passes without finding the lock held. A lock file whose holder has ended is taken
    // over at once (also one its holder left empty); one that this process may not remove
    // (another user's file in a sticky folder) gives kPortBelegt at once with a text that names
    // the file, the ended process, the file's owner and who may delete it (Portsperre.h).
    bool PortOpen() const;
    int setPortOpen(bool offen);
    static constexpr int kSperrFristMs = 2000;
    static constexpr int kSperrPruefIntervallMs = 50;
    int sperrFrist() const { return m_sperrFristMs; }
    // 0: a held lock gives kPortBelegt at once (for probing ports).
    void setSperrFrist(int ms) { m_sperrFristMs = ms < 0 ? 0 : ms; }

    // Sizes of the receive and send buffers (kept for the program's settings; the buffers of
    // this layer grow as needed, so nothing is lost). Negative sizes give kUngueltigerWert.
    int InBufferSize() const { return m_inBufferSize; }
    int setInBufferSize(int groesse);
    int OutBufferSize() const { return m_outBufferSize; }
    int setOutBufferSize(int groesse);

    // Bytes received and not yet read. Setting 0 drops them (also those the device still
    // holds); other values give kUngueltigerWert. Closed port: 0 and kNurBeiOffenemPort.
    int InBufferCount();
    int setInBufferCount(int anzahl);

    // Bytes not yet sent (see above). Setting 0 drops them; other values give kUngueltigerWert.
    int OutBufferCount();
    int setOutBufferCount(int anzahl);

    // How many bytes one read of Input takes; 0 takes everything. Default 0.
    int InputLen() const { return m_inputLen; }
    int setInputLen(int anzahl);

    // Reads and removes received bytes (at most InputLen). Closed port: nothing and
    // kNurBeiOffenemPort.
    QByteArray Input();

    // Queues bytes for sending and starts sending them at once. Closed port: kNurBeiOffenemPort.
    int setOutput(const QByteArray& bytes);

    // Modem lines; applied at once when open, else at the next open. Default both off.
    bool DTREnable() const { return m_dtr; }
    int setDTREnable(bool an);
    bool RTSEnable() const { return m_rts; }
    int setRTSEnable(bool an);

    // The outcome of the last access that can fail: 0 and "" when it worked.
    int fehlerNummer() const { return m_fehlerNummer; }
    QString fehlerBeschreibung() const { return m_fehlerBeschreibung; }

    // The baud rate of Settings (for computing how long bytes take on the wire).
    qint32 baud() const { return m_einstellung.baud; }
    // The device of the open port ("" when closed).
    QString geraet() const;
    // Whether the open port's device still works. One that hung up or is gone closes the port,
    // as an access that finds it so does (kGeraeteFehler). False when closed.
    bool geraetPruefen();

    // Blocks in the event loop (other events run) until bytes have arrived, bytes were handed to
    // the device, the port closes, ms milliseconds have passed or the program is ending (then
    // false; see Warteschleife). Closed port: waits the time only.
    bool warten(int ms);

    // Set while an exchange service runs a loop on this control, so that a second one started
    // from inside its yields is turned away instead of mixing two exchanges on one line.
    bool beschaeftigt() const { return m_beschaeftigt; }
    void setBeschaeftigt(bool an) { m_beschaeftigt = an; }

private:
    int oeffnen();
    void schliessen();
    bool einstellungAnwenden();
    void modemleitungenSetzen();
    // One non-blocking pass of data between device and buffers; false when the device was lost
    // (the port is closed then and the error set).
    bool bewegen();
    // Looks at the port's error after a pass: a lost device closes the port.
    bool fehlerPruefen();
    int fehler(int nummer, const QString& beschreibung);
    int erfolg();

    int m_commPort = 1;
    QString m_settings = QStringLiteral("9600,N,8,1");
    SchnittstellenEinstellung m_einstellung;
    int m_inBufferSize = 1024;
    int m_outBufferSize = 512;
    int m_inputLen = 0;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_beschaeftigt = false;
    int m_sperrFristMs = kSperrFristMs;
    // Set while an open waits out another program's lock (events run meanwhile).
    bool m_oeffnetGerade = false;
    int m_fehlerNummer = 0;
    QString m_fehlerBeschreibung;
    QString m_geraet;
    std::unique_ptr<QSerialPort> m_port;
    std::unique_ptr<Geraetebelegung> m_belegung;
};

// The text an error number of ComFehler.h stands for, as the control reports it.
QString ComFehlerText(int nummer);
