#include "BusSimulator.h"

#include "SimBusDatei.h"
#include "SimGeraeteserver.h"
#include "SimMBus.h"
#include "SimModemLogik.h"
#include "SimPty.h"
#include "SimRahmen.h"
#include "SimTcp.h"

#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int LeseBlock = 4096;
constexpr int FehlerPauseMs = 10;
constexpr qint64 BlockiertNs = 10'000'000; // look again this soon while the terminal is full

QString lesbar(const QByteArray& text)
{
    QString r;
    for (char c : text) {
        if (c == '\r')
            r += "<CR>";
        else if (c == '\n')
            r += "<LF>";
        else if (c >= 32 && c < 127)
            r += QLatin1Char(c);
        else
            r += QString("<%1>").arg(static_cast<quint8>(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    return r;
}

// A meter answers on time whatever else the machine does. Where the system allows it, the line
// thread runs before ordinary processes (a low real-time priority, else a raised one among
// them); otherwise it stays as it is. The thread sleeps in ppoll between the line's events.
void puenktlichLaufen()
{
    sched_param parameter{};
    parameter.sched_priority = 10;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameter) == 0)
        return;
    [[maybe_unused]] const int rc = setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10);
}

} // namespace

BusSimulator::BusSimulator(const SimBus& bus)
    : m_bus(bus), m_anschluss(std::make_unique<SimPty>()),
      m_logik(std::make_unique<SimBusLogik>(bus))
{
}

BusSimulator::~BusSimulator()
{
    stoppen();
}

bool BusSimulator::busTextLesen(const QString& text, SimBus& bus, QString* fehler)
{
    return SimBusDatei::lesen(text, bus, fehler);
}

bool BusSimulator::busDateiLesen(const QString& pfad, SimBus& bus, QString* fehler)
{
    return SimBusDatei::dateiLesen(pfad, bus, fehler);
}

bool BusSimulator::starten(QString* fehler)
{
    return startenMit(std::make_unique<SimPty>(), fehler);
}

bool BusSimulator::startenTcp(quint16 port, int baud, QString* fehler)
{
    return startenMit(std::make_unique<SimTcp>(port, baud), fehler);
}

bool BusSimulator::startenMit(std::unique_ptr<SimAnschluss> anschluss, QString* fehler)
{
    stoppen();
    std::lock_guard lock(m_mutex);
    if (m_bus.geraeteserver.vorhanden) {
        m_geraeteserver = std::make_unique<SimGeraeteserver>(m_bus.geraeteserver);
        if (!m_geraeteserver->starten(fehler)) {
            m_geraeteserver.reset();
            return false;
        }
    }
    m_anschluss = std::move(anschluss);
    if (!m_anschluss->oeffnen(fehler)) {
        m_geraeteserver.reset();
        return false;
    }
    const auto* tcp = dynamic_cast<const SimTcp*>(m_anschluss.get());
    m_tcpPort = tcp ? tcp->port() : 0;
    m_weckFd = eventfd(0, EFD_NONBLOCK);
    m_logik = std::make_unique<SimBusLogik>(m_bus);
    m_modem = m_bus.modem.vorhanden ? std::make_unique<SimModemLogik>(m_bus.modem) : nullptr;
    m_ausgang.clear();
    m_blockiert = false;
    m_start = std::chrono::steady_clock::now();
    m_stopp = false;
    m_thread = std::thread(&BusSimulator::lauf, this);
    return true;
}

void BusSimulator::stoppen()
{
    if (!m_thread.joinable())
        return;
    m_stopp = true;
    const quint64 eins = 1;
    [[maybe_unused]] const auto n = ::write(m_weckFd, &eins, sizeof eins);
    m_thread.join();
    std::lock_guard lock(m_mutex);
    ::close(m_weckFd);
    m_weckFd = -1;
    m_anschluss->schliessen();
    m_tcpPort = 0;
    m_geraeteserver.reset();
}

const SimGeraeteserver* BusSimulator::geraeteserver() const
{
    return m_geraeteserver.get();
}

QString BusSimulator::geraet() const
{
    std::lock_guard lock(m_mutex);
    return m_anschluss->geraet();
}

quint16 BusSimulator::tcpPort() const
{
    std::lock_guard lock(m_mutex);
    return m_tcpPort;
}

int BusSimulator::zaehlerAnzahl() const
{
    std::lock_guard lock(m_mutex);
    return m_logik->zaehlerAnzahl();
}

SimZaehlerStand BusSimulator::zaehlerStand(int index) const
{
    std::lock_guard lock(m_mutex);
    return m_logik->zaehlerStand(index);
}

void BusSimulator::fehlerSetzen(int index, const SimFehler& fehler)
{
    std::lock_guard lock(m_mutex);
    m_logik->fehlerSetzen(index, fehler);
}

QList<SimEmpfangenerRahmen> BusSimulator::empfangeneRahmen() const
{
    std::lock_guard lock(m_mutex);
    return m_logik->rahmen();
}

void BusSimulator::rahmenVergessen()
{
    std::lock_guard lock(m_mutex);
    m_logik->rahmenVergessen();
}

bool BusSimulator::warteAufRahmen(int anzahl, int msMax) const
{
    std::unique_lock lock(m_mutex);
    return m_neueRahmen.wait_for(lock, std::chrono::milliseconds(msMax),
                                 [&] { return m_logik->rahmen().size() >= anzahl; });
}

SimBusStatistik BusSimulator::statistik() const
{
    std::lock_guard lock(m_mutex);
    return m_logik->statistik();
}

int BusSimulator::leitungsBaud() const
{
    std::lock_guard lock(m_mutex);
    return m_anschluss->baud();
}

bool BusSimulator::modemVerbunden() const
{
    std::lock_guard lock(m_mutex);
    return m_modem && (m_modem->zustand() == SimModemLogik::Zustand::Daten ||
                       m_modem->zustand() == SimModemLogik::Zustand::BefehleVerbunden);
}

QString BusSimulator::modemNummer() const
{
    std::lock_guard lock(m_mutex);
    return m_modem ? m_modem->gewaehlt() : QString();
}

void BusSimulator::protokollSetzen(std::function<void(const QString&)> ausgabe)
{
    std::lock_guard lock(m_mutex);
    m_protokoll = std::move(ausgabe);
}

void BusSimulator::protokoll(const QString& zeile) const
{
    if (m_protokoll)
        m_protokoll(zeile);
}

qint64 BusSimulator::jetztNs() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                m_start)
        .count();
}

int BusSimulator::busBaud() const
{
    return m_modem ? m_bus.modem.busBaud : m_anschluss->baud();
}

void BusSimulator::lauf()
{
    puenktlichLaufen();
    std::vector<char> puffer(LeseBlock);
    while (!m_stopp) {
        pollfd fds[3] = {{-1, POLLIN, 0}, {m_weckFd, POLLIN, 0}, {-1, POLLIN, 0}};
        timespec warten{};
        timespec* frist = nullptr;
        {
            std::lock_guard lock(m_mutex);
            const qint64 jetzt = jetztNs();
            termine(jetzt);
            faelligeSchreiben(jetzt);
            fds[0].fd = m_anschluss->wartenAuf();
            fds[2].fd = m_anschluss->wartenAufNebenbei();
            qint64 naechster = 0;
            const bool geplant = ausgangsZeitpunkt(&naechster);
            if (m_blockiert) {
                fds[0].events |= POLLOUT;
                naechster =
                    geplant ? std::min(naechster, jetzt + BlockiertNs) : jetzt + BlockiertNs;
            }
            if (geplant || m_blockiert) {
                const qint64 ns = std::max<qint64>(0, naechster - jetzt);
                warten.tv_sec = ns / 1'000'000'000;
                warten.tv_nsec = ns % 1'000'000'000;
                frist = &warten;
            }
        }
        if (ppoll(fds, 3, frist, nullptr) < 0)
            continue;
        if (fds[2].revents & POLLIN) {
            std::lock_guard lock(m_mutex);
            m_anschluss->nebenbeiLesen();
        }
        if (fds[1].revents & POLLIN) {
            quint64 wert = 0;
            [[maybe_unused]] const auto n = ::read(m_weckFd, &wert, sizeof wert);
        }
        if (fds[0].revents & POLLIN) {
            std::lock_guard lock(m_mutex);
            const int n = m_anschluss->lesen(puffer.data(), LeseBlock);
            if (n > 0)
                eingang(QByteArray(puffer.data(), n), jetztNs());
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            bool warten = false;
            {
                std::lock_guard lock(m_mutex);
                warten = m_anschluss->gestoert();
            }
            if (warten)
                std::this_thread::sleep_for(std::chrono::milliseconds(FehlerPauseMs));
        }
        if (fds[0].revents & POLLOUT)
            m_blockiert = false;
    }
}

// When the next thing is due: a byte to send, a modem event, noise.
bool BusSimulator::ausgangsZeitpunkt(qint64* zeitNs) const
{
    qint64 t = m_ausgang.empty() ? -1 : m_ausgang.begin()->first;
    for (qint64 kandidat :
         {m_logik->naechsterTermin(), m_modem ? m_modem->naechsterTermin() : qint64(-1)})
        if (kandidat >= 0 && (t < 0 || kandidat < t))
            t = kandidat;
    *zeitNs = t;
    return t >= 0;
}

void BusSimulator::eingang(const QByteArray& bytes, qint64 jetztNs)
{
    if (!m_modem) {
        anBus(bytes, m_anschluss->baud(), jetztNs);
        return;
    }
    const SimModemAusgabe aus = m_modem->empfangen(bytes, jetztNs);
    if (!aus.anProgramm.isEmpty())
        anProgramm(aus.anProgramm, jetztNs);
    if (!aus.anBus.isEmpty())
        anBus(aus.anBus, m_bus.modem.busBaud, jetztNs);
}

void BusSimulator::anBus(const QByteArray& bytes, int baud, qint64 jetztNs)
{
    const int vorher = static_cast<int>(m_logik->rahmen().size());
    const QList<SimAusgabe> aus = m_logik->empfangen(bytes, baud, jetztNs);
    const QList<SimEmpfangenerRahmen>& rahmen = m_logik->rahmen();
    for (int i = vorher; i < rahmen.size(); ++i)
        protokoll(QString("<- %1 Bd: %2").arg(rahmen[i].baud).arg(SimRahmen::hex(rahmen[i].bytes)));
    if (rahmen.size() != vorher)
        m_neueRahmen.notify_all();
    ausgeben(aus);
}

void BusSimulator::termine(qint64 jetztNs)
{
    ausgeben(m_logik->zeitVergangen(jetztNs, busBaud()));
    if (m_modem) {
        const SimModemAusgabe aus = m_modem->zeitVergangen(jetztNs);
        if (!aus.anProgramm.isEmpty())
            anProgramm(aus.anProgramm, jetztNs);
    }
}

// Bus bytes reach the program directly, or through the modem while it is in data mode.
void BusSimulator::ausgeben(const QList<SimAusgabe>& ausgabe)
{
    if (ausgabe.isEmpty() || (m_modem && !m_modem->datenModus()))
        return;
    QByteArray bytes;
    for (const SimAusgabe& a : ausgabe) {
        m_ausgang.emplace(a.zeitNs, a.byte);
        bytes.append(char(a.byte));
    }
    protokoll("-> " + SimRahmen::hex(bytes));
}

// Modem texts go out at the program's line speed, behind whatever is already queued.
void BusSimulator::anProgramm(const QByteArray& text, qint64 abNs)
{
    const qint64 zeichenNs = m_bus.takt ? SimMBus::ZeichenNs(m_anschluss->baud()) : 0;
    qint64 t = std::max(abNs, m_ausgang.empty() ? abNs : m_ausgang.rbegin()->first);
    for (char c : text) {
        t += zeichenNs;
        m_ausgang.emplace(t, static_cast<quint8>(c));
    }
    protokoll("modem -> " + lesbar(text));
}

void BusSimulator::faelligeSchreiben(qint64 jetztNs)
{
    QByteArray faellig;
    for (auto it = m_ausgang.begin(); it != m_ausgang.end() && it->first <= jetztNs; ++it)
        faellig.append(char(it->second));
    if (faellig.isEmpty())
        return;
    const int n = m_anschluss->schreiben(faellig.constData(), static_cast<int>(faellig.size()));
    // A terminal that fails (rather than being full) takes nothing more: the bytes are lost.
    const int weg = n < 0 ? static_cast<int>(faellig.size()) : n;
    m_ausgang.erase(m_ausgang.begin(), std::next(m_ausgang.begin(), weg));
    m_blockiert = n >= 0 && n < faellig.size();
}
