#include "SerielleSchnittstelle.h"

#include "platform/Warten.h"
#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"
#include "serial/Geraetebelegung.h"
#include "serial/Portsperre.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPort>

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <linux/serial.h>

namespace {

const QString kTextUngueltigerWert = QStringLiteral("Ungültiger Eigenschaftswert");
const QString kTextPortOffen = QStringLiteral("Vorgang bei geöffnetem Anschluss nicht zulässig");
const QString kTextUngueltigerPort = QStringLiteral("Ungültige Anschlussnummer");
const QString kTextPortBelegt = QStringLiteral("Anschluss bereits geöffnet");
const QString kTextPortGesperrt = QStringLiteral("Anschluss gesperrt");
const QString kTextNichtGeoeffnet = QStringLiteral("Das Gerät ist nicht geöffnet");
const QString kTextEinstellung =
    QStringLiteral("Anschlusseinstellungen konnten nicht gesetzt werden");
const QString kTextNurOffen = QStringLiteral("Vorgang nur bei geöffnetem Anschluss zulässig");
const QString kTextGeraeteFehler = QStringLiteral("Fehler beim Zugriff auf das Gerät");

// Bytes the kernel still holds for sending, plus the one the UART may still be shifting out.
int BytesImSystem(int handle)
{
    int anzahl = 0;
    if (::ioctl(handle, TIOCOUTQ, &anzahl) != 0 || anzahl < 0)
        anzahl = 0;
    unsigned int leitungsstatus = 0;
    if (anzahl == 0 && ::ioctl(handle, TIOCSERGETLSR, &leitungsstatus) == 0 &&
        (leitungsstatus & TIOCSER_TEMT) == 0)
        anzahl = 1;
    return anzahl;
}

// True when the device behind the handle has hung up or gone.
bool GeraetWeg(int handle)
{
    pollfd abfrage{handle, POLLIN | POLLOUT, 0};
    if (::poll(&abfrage, 1, 0) < 0)
        return true;
    return (abfrage.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// True for the program's side of a pseudo-terminal (the bus simulator, tests). Such a terminal
// always carries 8 bits without parity: the kernel turns down other values.
bool IstPseudoterminal(int handle)
{
    struct stat info
    {
    };
    if (::fstat(handle, &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned int haupt = major(info.st_rdev);
    constexpr unsigned int kErsteUnix98Pty = 136;
    constexpr unsigned int kLetzteUnix98Pty = 143;
    constexpr unsigned int kAltePty = 3;
    return (haupt >= kErsteUnix98Pty && haupt <= kLetzteUnix98Pty) || haupt == kAltePty;
}

// Asks the driver to pass received bytes on at once. USB serial converters (FTDI and the like)
// otherwise collect bytes for up to 16 ms, longer than the margin behind the answer window, and
// a meter answering late in the window would be lost. A device that knows no such setting (a
// built-in UART, a pseudo-terminal) stays as it is.
void KurzeLatenz(int handle)
{
    serial_struct serial{};
    if (::ioctl(handle, TIOCGSERIAL, &serial) != 0 || (serial.flags & ASYNC_LOW_LATENCY))
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    [[maybe_unused]] const int rc = ::ioctl(handle, TIOCSSERIAL, &serial);
}

// Devices whose lock another program held past a whole wait, with the time until which that is
// remembered. While it is, an open tries once and does not wait again: a master that opens the
// port for every meter would otherwise wait the whole time for each one while the other program
// keeps the port. Every open that finds the lock still held renews the time; an open that
// succeeds forgets the device.
constexpr qint64 kVergeblichMerkenMs = 60000;

QHash<QString, qint64>& VergeblichGewartet()
{
    static QHash<QString, qint64> geraete;
    return geraete;
}

qint64 JetztMs()
{
    return QDeadlineTimer::current().deadline();
}

} // namespace

SerielleSchnittstelle::SerielleSchnittstelle() = default;

SerielleSchnittstelle::~SerielleSchnittstelle()
{
    schliessen();
}

int SerielleSchnittstelle::setCommPort(int port)
{
    if (m_port)
        return fehler(ComFehler::kPortOffen, kTextPortOffen);
    if (port < kErsterComPort || port > kLetzterComPort)
        return fehler(ComFehler::kUngueltigerPort,
                      kTextUngueltigerPort + QStringLiteral(": %1").arg(port));
    m_commPort = port;
    return erfolg();
}

int SerielleSchnittstelle::setSettings(const QString& text)
{
    const auto einstellung = SchnittstellenEinstellung::lesen(text);
    if (!einstellung)
        return fehler(ComFehler::kUngueltigerWert,
                      kTextUngueltigerWert + QStringLiteral(": Settings = ") + text);
    const SchnittstellenEinstellung vorher = m_einstellung;
    m_einstellung = *einstellung;
    if (m_port && !einstellungAnwenden()) {
        m_einstellung = vorher;
        einstellungAnwenden();
        m_port->clearError();
        return fehler(ComFehler::kEinstellungFehler,
                      kTextEinstellung + QStringLiteral(": ") + text);
    }
    m_settings = text;
    return erfolg();
}

bool SerielleSchnittstelle::PortOpen() const
{
    return m_port != nullptr;
}

int SerielleSchnittstelle::setPortOpen(bool offen)
{
    if (offen)
        return oeffnen();
    if (!m_port)
        return fehler(ComFehler::kNichtGeoeffnet, kTextNichtGeoeffnet);
    schliessen();
    return erfolg();
}

int SerielleSchnittstelle::setInBufferSize(int groesse)
{
    if (groesse < 0)
        return fehler(ComFehler::kUngueltigerWert, kTextUngueltigerWert);
    m_inBufferSize = groesse;
    return erfolg();
}

int SerielleSchnittstelle::setOutBufferSize(int groesse)
{
    if (groesse < 0)
        return fehler(ComFehler::kUngueltigerWert, kTextUngueltigerWert);
    m_outBufferSize = groesse;
    return erfolg();
}

int SerielleSchnittstelle::InBufferCount()
{
    if (!m_port) {
        fehler(ComFehler::kNurBeiOffenemPort, kTextNurOffen);
        return 0;
    }
    if (!bewegen())
        return 0;
    erfolg();
    return static_cast<int>(m_port->bytesAvailable());
}

int SerielleSchnittstelle::setInBufferCount(int anzahl)
{
    if (anzahl != 0)
        return fehler(ComFehler::kUngueltigerWert, kTextUngueltigerWert);
    if (!m_port)
        return fehler(ComFehler::kNurBeiOffenemPort, kTextNurOffen);
    if (!bewegen())
        return m_fehlerNummer;
    m_port->clear(QSerialPort::Input);
    m_port->readAll();
    m_port->clearError();
    return erfolg();
}

int SerielleSchnittstelle::OutBufferCount()
{
    if (!m_port) {
        fehler(ComFehler::kNurBeiOffenemPort, kTextNurOffen);
        return 0;
    }
    if (!bewegen())
        return 0;
    erfolg();
    return static_cast<int>(m_port->bytesToWrite()) + BytesImSystem(m_port->handle());
}

int SerielleSchnittstelle::setOutBufferCount(int anzahl)
{
    if (anzahl != 0)
        return fehler(ComFehler::kUngueltigerWert, kTextUngueltigerWert);
    if (!m_port)
        return fehler(ComFehler::kNurBeiOffenemPort, kTextNurOffen);
    m_port->clear(QSerialPort::Output);
    m_port->clearError();
    return erfolg();
}

int SerielleSchnittstelle::setInputLen(int anzahl)
{
    if (anzahl < 0)
        return fehler(ComFehler::kUngueltigerWert, kTextUngueltigerWert);
    m_inputLen = anzahl;
    return erfolg();
}

QByteArray SerielleSchnittstelle::Input()
{
    if (!m_port) {
        fehler(ComFehler::kNurBeiOffenemPort, kTextNurOffen);
        return {};
    }
    if (!bewegen())
        return {};
    erfolg();
    return m_inputLen > 0 ? m_port->read(m_inputLen) : m_port->readAll();
}

int SerielleSchnittstelle::setOutput(const QByteArray& bytes)
{
    if (!m_port)
        return fehler(ComFehler::kNurBeiOffenemPort, kTextNurOffen);
    if (m_port->write(bytes) != bytes.size()) {
        const QString grund = m_port->errorString();
        schliessen();
        return fehler(ComFehler::kGeraeteFehler, kTextGeraeteFehler + QStringLiteral(": ") + grund);
    }
    if (!bewegen())
        return m_fehlerNummer;
    return erfolg();
}

int SerielleSchnittstelle::setDTREnable(bool an)
{
    m_dtr = an;
    if (m_port)
        modemleitungenSetzen();
    return erfolg();
}

int SerielleSchnittstelle::setRTSEnable(bool an)
{
    m_rts = an;
    if (m_port)
        modemleitungenSetzen();
    return erfolg();
}

bool SerielleSchnittstelle::warten(int ms)
{
    QSerialPort* port = m_port.get();
    if (port && port->bytesAvailable() > 0)
        return DoEvents();
    Warteschleife warte;
    warte.weckenBei(port, &QIODevice::readyRead);
    warte.weckenBei(port, &QIODevice::bytesWritten);
    warte.weckenBei(port, &QIODevice::aboutToClose);
    // A device that fails (unplugged) says so here, not with data.
    warte.weckenBei(port, &QSerialPort::errorOccurred);
    return warte.warten(ms);
}

QString SerielleSchnittstelle::geraet() const
{
    return m_port ? m_geraet : QString();
}

bool SerielleSchnittstelle::geraetPruefen()
{
    if (!m_port)
        return false;
    if (!GeraetWeg(m_port->handle()))
        return bewegen();
    const QString geraet = m_geraet;
    schliessen();
    fehler(ComFehler::kGeraeteFehler, kTextGeraeteFehler + QStringLiteral(" ") + geraet);
    return false;
}

QString ComFehlerText(int nummer)
{
    switch (nummer) {
    case ComFehler::kUngueltigerWert:
        return kTextUngueltigerWert;
    case ComFehler::kPortOffen:
        return kTextPortOffen;
    case ComFehler::kUngueltigerPort:
        return kTextUngueltigerPort;
    case ComFehler::kPortBelegt:
        return kTextPortBelegt;
    case ComFehler::kNichtGeoeffnet:
        return kTextNichtGeoeffnet;
    case ComFehler::kEinstellungFehler:
        return kTextEinstellung;
    case ComFehler::kNurBeiOffenemPort:
        return kTextNurOffen;
    case ComFehler::kGeraeteFehler:
        return kTextGeraeteFehler;
    default:
        return QStringLiteral("Fehler beim Öffnen");
    }
}

int SerielleSchnittstelle::oeffnen()
{
    if (m_port || m_oeffnetGerade)
        return fehler(ComFehler::kPortBelegt, kTextPortBelegt);
    const QString geraet = ComGeraet(m_commPort);
    const QString nummer = QStringLiteral(" COM%1 (%2)").arg(m_commPort).arg(geraet);
    if (geraet.isEmpty() || !QFileInfo::exists(geraet))
        return fehler(ComFehler::kUngueltigerPort,
                      kTextUngueltigerPort + nummer + QStringLiteral(": Gerät nicht vorhanden"));

    auto belegung = std::make_unique<Geraetebelegung>(geraet);
    if (!belegung->erhalten())
        return fehler(ComFehler::kPortBelegt, kTextPortBelegt + nummer);

    auto port = std::make_unique<QSerialPort>();
    port->setPortName(geraet);
    QElapsedTimer seit;
    seit.start();
    auto& vergeblich = VergeblichGewartet();
    const auto gemerkt = vergeblich.constFind(geraet);
    const qint64 frist =
        gemerkt != vergeblich.constEnd() && *gemerkt > JetztMs() ? 0 : m_sperrFristMs;
    m_oeffnetGerade = true;
    while (!port->open(QIODevice::ReadWrite)) {
        const auto art = port->error();
        const QString grund = nummer + QStringLiteral(": ") + port->errorString();
        // The serial port reports a lock held by another program like a refused access; only
        // a device we may not use at all is no port for us.
        const bool verweigert = art == QSerialPort::PermissionError && !GeraetZugaenglich(geraet);
        if (art != QSerialPort::PermissionError || verweigert) {
            m_oeffnetGerade = false;
            return fehler(
                ComFehler::kUngueltigerPort,
                kTextUngueltigerPort +
                    (verweigert ? nummer + QStringLiteral(": ") + kTextGeraetVerweigert : grund));
        }
        // A lock file whose holder has ended: one left empty is removed here at once (the
        // serial port would wait 30 s for it); one that this process may not remove stays until
        // its owner or root deletes it, and waiting would not help.
        if (VerwaistePortsperreEntfernen(geraet)) {
            port->clearError();
            continue;
        }
        if (const QString verwaist = VerwaistePortsperreText(geraet); !verwaist.isEmpty()) {
            m_oeffnetGerade = false;
            return fehler(ComFehler::kPortBelegt,
                          kTextPortGesperrt + nummer + QStringLiteral(": ") + verwaist);
        }
        const qint64 rest = frist - seit.elapsed();
        if (rest <= 0 || !Warten(static_cast<int>(qMin<qint64>(rest, kSperrPruefIntervallMs)))) {
            m_oeffnetGerade = false;
            if (rest <= 0 && m_sperrFristMs > 0)
                vergeblich.insert(geraet, JetztMs() + kVergeblichMerkenMs);
            return fehler(ComFehler::kPortBelegt, kTextPortBelegt + grund);
        }
        port->clearError();
    }
    m_oeffnetGerade = false;
    vergeblich.remove(geraet);
    m_port = std::move(port);
    m_belegung = std::move(belegung);
    m_geraet = geraet;
    if (!einstellungAnwenden()) {
        schliessen();
        return fehler(ComFehler::kEinstellungFehler,
                      kTextEinstellung + nummer + QStringLiteral(": ") + m_settings);
    }
    modemleitungenSetzen();
    KurzeLatenz(m_port->handle());
    return erfolg();
}

void SerielleSchnittstelle::schliessen()
{
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
    m_belegung.reset();
}

bool SerielleSchnittstelle::einstellungAnwenden()
{
    const bool pty = IstPseudoterminal(m_port->handle());
    bool ok = m_port->setBaudRate(m_einstellung.baud);
    ok = (m_port->setParity(m_einstellung.paritaet) || pty) && ok;
    ok = (m_port->setDataBits(m_einstellung.datenbits) || pty) && ok;
    ok = m_port->setStopBits(m_einstellung.stoppbits) && ok;
    ok = m_port->setFlowControl(QSerialPort::NoFlowControl) && ok;
    m_port->clearError();
    return ok;
}

void SerielleSchnittstelle::modemleitungenSetzen()
{
    // A pseudo-terminal has no modem lines: a refusal here is no error.
    m_port->setDataTerminalReady(m_dtr);
    m_port->setRequestToSend(m_rts);
    m_port->clearError();
}

bool SerielleSchnittstelle::bewegen()
{
    if (m_port->bytesToWrite() > 0) {
        m_port->waitForBytesWritten(0);
        if (!fehlerPruefen())
            return false;
    }
    m_port->waitForReadyRead(0);
    return fehlerPruefen();
}

bool SerielleSchnittstelle::fehlerPruefen()
{
    const auto art = m_port->error();
    if (art == QSerialPort::NoError)
        return true;
    // No data within the zero wait is the usual case, not an error. A failed read or write is
    // only a lost device when the device says so: a read that merely found nothing is retried.
    const bool verloren = (art == QSerialPort::ResourceError || art == QSerialPort::ReadError ||
                           art == QSerialPort::WriteError) &&
                          GeraetWeg(m_port->handle());
    if (!verloren) {
        m_port->clearError();
        return true;
    }
    const QString grund = m_port->errorString();
    const QString geraet = m_geraet;
    schliessen();
    fehler(ComFehler::kGeraeteFehler,
           kTextGeraeteFehler + QStringLiteral(" ") + geraet + QStringLiteral(": ") + grund);
    return false;
}

int SerielleSchnittstelle::fehler(int nummer, const QString& beschreibung)
{
    m_fehlerNummer = nummer;
    m_fehlerBeschreibung = beschreibung;
    return nummer;
}

int SerielleSchnittstelle::erfolg()
{
    m_fehlerNummer = 0;
    m_fehlerBeschreibung.clear();
    return 0;
}
