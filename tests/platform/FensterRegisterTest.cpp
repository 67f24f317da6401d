#include "platform/FensterRegister.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A second process of the test: it waits until it is ended.
class Nebenprozess
{
public:
    Nebenprozess() : m_pid(::fork())
    {
        if (m_pid == 0) {
            ::pause();
            ::_exit(0);
        }
    }
    ~Nebenprozess() { beenden(); }
    Nebenprozess(const Nebenprozess&) = delete;
    Nebenprozess& operator=(const Nebenprozess&) = delete;

    qint64 pid() const { return m_pid; }
    void beenden()
    {
        if (m_laeuft && ::kill(m_pid, SIGKILL) == 0)
            ::waitpid(m_pid, nullptr, 0);
        m_laeuft = false;
    }

private:
    pid_t m_pid = -1;
    bool m_laeuft = m_pid > 0;
};

class FensterRegisterTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        FensterRegisterOrdnerSetzen(pfad("fenster"));
    }
    void TearDown() override
    {
        FensterRegisterOrdnerSetzen(QString());
        TestUmgebung::TearDown();
    }

    QString dateiVon(qint64 pid) const
    {
        return pfad(QStringLiteral("fenster/%1.fenster").arg(pid));
    }

    const qint64 m_eigenerPid = ::getpid();
    qint64 m_gefunden = 0;
};

TEST_F(FensterRegisterTest, sucheFindetSichtbareFensterMitRahmenAnEinemTitelteil)
{
    const qint64 comport10 = NeuerFensterHandle();
    const qint64 letztes = NeuerFensterHandle();
    ASSERT_TRUE(FensterVeroeffentlichen({{comport10, "MBus-Master Comport10", true, true},
                                         {NeuerFensterHandle(), "Comport5", false, true},
                                         {NeuerFensterHandle(), "Comport5", true, false},
                                         {letztes, "Übersicht", true, true},
                                         {NeuerFensterHandle(), "Versteckt", false, true}}));
    EXPECT_TRUE(FensterSuchen(0, "mbus-master COMPORT1", m_gefunden));
    EXPECT_EQ(m_gefunden, comport10);
    EXPECT_FALSE(FensterSuchen(0, "Comport5", m_gefunden)); // hidden or without border
    EXPECT_EQ(m_gefunden, letztes);                         // the last window inspected
}

TEST_F(FensterRegisterTest, fensterLaufenderProzesseZaehlenListenBeendeterWerdenGeloescht)
{
    Nebenprozess anderer;
    Nebenprozess beendet;
    const qint64 h = (anderer.pid() << 24) | 1;
    const qint64 alt = (beendet.pid() << 24) | 1;
    ASSERT_TRUE(FensterVeroeffentlichen({{h, "MBus-Master Comport7", true, true}}, anderer.pid()));
    ASSERT_TRUE(FensterVeroeffentlichen({{alt, "Comport8", true, true}}, beendet.pid()));
    beendet.beenden();
    FensterVeroeffentlichen({{NeuerFensterHandle(), "Testfenster", true, true}});

    EXPECT_TRUE(FensterSuchen(0, "comport7", m_gefunden));
    EXPECT_EQ(m_gefunden, h);
    EXPECT_TRUE(FensterSuchen(0, "testfenster", m_gefunden));
    EXPECT_EQ(GetFensterText(alt), QString());
    EXPECT_FALSE(FensterSuchen(0, "Comport8", m_gefunden));
    EXPECT_FALSE(QFileInfo::exists(dateiVon(beendet.pid())));
    EXPECT_TRUE(QFileInfo::exists(dateiVon(m_eigenerPid)));
}

TEST_F(FensterRegisterTest, listeEinesFrueherenProzessesMitGleicherNummerWirdGeloescht)
{
    FensterVeroeffentlichen({{NeuerFensterHandle(), "Comport4", true, true}});
    QList<QByteArray> zeilen =
        lesen(QStringLiteral("fenster/%1.fenster").arg(m_eigenerPid)).split('\n');
    ASSERT_GE(zeilen.size(), 2);
    zeilen[1] = "start 1"; // a process that started at another time
    schreiben(QStringLiteral("fenster/%1.fenster").arg(m_eigenerPid), zeilen.join('\n'));

    EXPECT_FALSE(FensterSuchen(0, "Comport4", m_gefunden));
    EXPECT_FALSE(QFileInfo::exists(dateiVon(m_eigenerPid)));
}

TEST_F(FensterRegisterTest, veroeffentlichenErsetztDieListeUndAbmeldenEntferntSie)
{
    const qint64 erstes = NeuerFensterHandle();
    const qint64 zweites = NeuerFensterHandle();
    EXPECT_NE(erstes, zweites);
    EXPECT_EQ(ProzessVonFensterHandle(zweites), m_eigenerPid);
    FensterVeroeffentlichen({{NeuerFensterHandle(), "Alt", true, true}});
    FensterVeroeffentlichen(
        {{erstes, "Zählerübersicht\tTab", true, true}, {zweites, "Z", false, true}});
    EXPECT_FALSE(FensterSuchen(0, "Alt", m_gefunden));
    EXPECT_EQ(GetFensterText(erstes), "Zählerübersicht\tTab");
    EXPECT_EQ(GetFensterText(zweites), "Z");
    EXPECT_EQ(GetFensterText(NeuerFensterHandle()), QString());
    EXPECT_EQ(GetFensterText(0), QString());
    FensterAbmelden();
    EXPECT_EQ(GetFensterText(erstes), QString());
    EXPECT_FALSE(QFileInfo::exists(dateiVon(m_eigenerPid)));
}

TEST_F(FensterRegisterTest, ordnerAusUmgebungsvariableSonstLaufzeitordnerSonstTemp)
{
    const char* namen[] = {"TELVARIN_FENSTERREGISTER", "XDG_RUNTIME_DIR"};
    QList<std::optional<QByteArray>> vorher;
    for (const char* name : namen)
        vorher << (qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    FensterRegisterOrdnerSetzen(QString());
    QDir().mkpath(pfad("laufzeit"));
    qputenv("XDG_RUNTIME_DIR", pfad("laufzeit").toUtf8());
    qputenv("TELVARIN_FENSTERREGISTER", pfad("gemeinsam").toUtf8());
    EXPECT_EQ(FensterRegisterOrdner(), pfad("gemeinsam"));
    qunsetenv("TELVARIN_FENSTERREGISTER");
    EXPECT_EQ(FensterRegisterOrdner(), pfad("laufzeit") + "/telvarin-fenster");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(FensterRegisterOrdner(),
              QDir::tempPath() + QStringLiteral("/telvarin-fenster-%1").arg(::getuid()));
    for (int i = 0; i < 2; ++i)
        if (vorher[i])
            qputenv(namen[i], *vorher[i]);
}

} // namespace
