#include "platform/FensterRegister.h"
#include "support/TestUmgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A second process of the test: it waits until it is ended.
class Nebenprozess
{
public:
    Nebenprozess()
    {
        m_pid = ::fork();
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
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

private:
    pid_t m_pid = -1;
};

RegistriertesFenster Fenster(qint64 handle, const QString& titel, bool sichtbar = true,
                             bool mitRahmen = true)
{
    RegistriertesFenster f;
    f.handle = handle;
    f.titel = titel;
    f.sichtbar = sichtbar;
    f.mitRahmen = mitRahmen;
    return f;
}

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
};

TEST_F(FensterRegisterTest, titleSearchIgnoresCase)
{
    const qint64 h = NeuerFensterHandle();
    ASSERT_TRUE(FensterVeroeffentlichen({Fenster(h, QStringLiteral("MBus-Master Comport3"))}));

    qint64 gefunden = 0;
    EXPECT_TRUE(FensterSuchen(0, QStringLiteral("mbus-master COMPORT3"), gefunden));
    EXPECT_EQ(gefunden, h);
}

TEST_F(FensterRegisterTest, searchTextIsFoundInsideLongerTitle)
{
    const qint64 h = NeuerFensterHandle();
    FensterVeroeffentlichen({Fenster(h, QStringLiteral("MBus-Master Comport10"))});

    qint64 gefunden = 0;
    EXPECT_TRUE(FensterSuchen(0, QStringLiteral("MBus-Master Comport1"), gefunden));
    EXPECT_EQ(gefunden, h);
}

TEST_F(FensterRegisterTest, hiddenOrBorderlessWindowsAreNotFound)
{
    FensterVeroeffentlichen(
        {Fenster(NeuerFensterHandle(), QStringLiteral("Comport5"), false, true),
         Fenster(NeuerFensterHandle(), QStringLiteral("Comport5"), true, false)});

    qint64 gefunden = 0;
    EXPECT_FALSE(FensterSuchen(0, QStringLiteral("Comport5"), gefunden));
    EXPECT_EQ(gefunden, 0);
}

TEST_F(FensterRegisterTest, failedSearchLeavesHandleOfLastWindowInspected)
{
    const qint64 erstes = NeuerFensterHandle();
    const qint64 zweites = NeuerFensterHandle();
    FensterVeroeffentlichen({Fenster(erstes, QStringLiteral("Test")),
                             Fenster(zweites, QStringLiteral("Übersicht")),
                             Fenster(NeuerFensterHandle(), QStringLiteral("Versteckt"), false)});

    qint64 gefunden = 0;
    EXPECT_FALSE(FensterSuchen(0, QStringLiteral("Comport"), gefunden));
    EXPECT_EQ(gefunden, zweites);
}

TEST_F(FensterRegisterTest, windowsOfAnotherRunningProcessAreFound)
{
    Nebenprozess anderer;
    const qint64 h = (anderer.pid() << 24) | 1;
    ASSERT_TRUE(FensterVeroeffentlichen({Fenster(h, QStringLiteral("MBus-Master Comport7"))},
                                        anderer.pid()));
    FensterVeroeffentlichen({Fenster(NeuerFensterHandle(), QStringLiteral("Testfenster"))});

    qint64 gefunden = 0;
    EXPECT_TRUE(FensterSuchen(0, QStringLiteral("comport7"), gefunden));
    EXPECT_EQ(gefunden, h);
    EXPECT_TRUE(FensterSuchen(0, QStringLiteral("testfenster"), gefunden));
}

TEST_F(FensterRegisterTest, windowsOfEndedProcessAreSkippedAndTheirFileDeleted)
{
    Nebenprozess beendet;
    const qint64 pid = beendet.pid();
    ASSERT_TRUE(
        FensterVeroeffentlichen({Fenster((pid << 24) | 1, QStringLiteral("Comport8"))}, pid));
    beendet.beenden();
    FensterVeroeffentlichen({Fenster(NeuerFensterHandle(), QStringLiteral("Comport9"))});

    qint64 gefunden = 0;
    EXPECT_FALSE(FensterSuchen(0, QStringLiteral("Comport8"), gefunden));
    EXPECT_FALSE(QFileInfo::exists(dateiVon(pid)));
    EXPECT_TRUE(QFileInfo::exists(dateiVon(m_eigenerPid)));
}

TEST_F(FensterRegisterTest, fileOfEarlierProcessWithSameIdIsSkippedAndDeleted)
{
    FensterVeroeffentlichen({Fenster(NeuerFensterHandle(), QStringLiteral("Comport4"))});
    QFile datei(dateiVon(m_eigenerPid));
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
    QList<QByteArray> zeilen = datei.readAll().split('\n');
    datei.close();
    ASSERT_GE(zeilen.size(), 2);
    zeilen[1] = "start 1"; // a process that started at another time
    schreiben(QStringLiteral("fenster/%1.fenster").arg(m_eigenerPid), zeilen.join('\n'));

    qint64 gefunden = 0;
    EXPECT_FALSE(FensterSuchen(0, QStringLiteral("Comport4"), gefunden));
    EXPECT_FALSE(QFileInfo::exists(dateiVon(m_eigenerPid)));
}

TEST_F(FensterRegisterTest, publishingReplacesTheProcesssList)
{
    FensterVeroeffentlichen({Fenster(NeuerFensterHandle(), QStringLiteral("Alt"))});
    FensterVeroeffentlichen({Fenster(NeuerFensterHandle(), QStringLiteral("Neu"))});

    qint64 gefunden = 0;
    EXPECT_FALSE(FensterSuchen(0, QStringLiteral("Alt"), gefunden));
    EXPECT_TRUE(FensterSuchen(0, QStringLiteral("Neu"), gefunden));
}

TEST_F(FensterRegisterTest, withdrawnListIsGone)
{
    FensterVeroeffentlichen({Fenster(NeuerFensterHandle(), QStringLiteral("Weg"))});

    FensterAbmelden();

    qint64 gefunden = 0;
    EXPECT_FALSE(FensterSuchen(0, QStringLiteral("Weg"), gefunden));
    EXPECT_FALSE(QFileInfo::exists(dateiVon(m_eigenerPid)));
}

TEST_F(FensterRegisterTest, windowTextIsTheTitleOfTheHandle)
{
    const qint64 erstes = NeuerFensterHandle();
    const qint64 zweites = NeuerFensterHandle();
    FensterVeroeffentlichen({Fenster(erstes, QStringLiteral("Zählerübersicht\tTab")),
                             Fenster(zweites, QStringLiteral("Zweites"), false)});

    EXPECT_EQ(GetFensterText(erstes), QStringLiteral("Zählerübersicht\tTab"));
    EXPECT_EQ(GetFensterText(zweites), QStringLiteral("Zweites"));
    EXPECT_EQ(GetFensterText(NeuerFensterHandle()), QString());
    EXPECT_EQ(GetFensterText(0), QString());
}

TEST_F(FensterRegisterTest, windowTextOfEndedProcessIsEmpty)
{
    Nebenprozess beendet;
    const qint64 h = (beendet.pid() << 24) | 1;
    FensterVeroeffentlichen({Fenster(h, QStringLiteral("Comport8"))}, beendet.pid());
    beendet.beenden();

    EXPECT_EQ(GetFensterText(h), QString());
}

TEST_F(FensterRegisterTest, handlesAreUniqueAndCarryTheProcessId)
{
    const qint64 eins = NeuerFensterHandle();
    const qint64 zwei = NeuerFensterHandle();

    EXPECT_NE(eins, zwei);
    EXPECT_EQ(ProzessVonFensterHandle(eins), m_eigenerPid);
    EXPECT_EQ(ProzessVonFensterHandle(zwei), m_eigenerPid);
}

// Sets an environment variable for one test and restores it.
class Umgebungsvariable
{
public:
    Umgebungsvariable(const char* name, const QByteArray* wert)
        : m_name(name), m_hatte(qEnvironmentVariableIsSet(name)), m_alt(qgetenv(name))
    {
        if (wert)
            qputenv(name, *wert);
        else
            qunsetenv(name);
    }
    ~Umgebungsvariable()
    {
        if (m_hatte)
            qputenv(m_name, m_alt);
        else
            qunsetenv(m_name);
    }
    Umgebungsvariable(const Umgebungsvariable&) = delete;
    Umgebungsvariable& operator=(const Umgebungsvariable&) = delete;

private:
    const char* m_name;
    bool m_hatte = false;
    QByteArray m_alt;
};

TEST_F(FensterRegisterTest, defaultFolderLiesInRuntimeFolder)
{
    FensterRegisterOrdnerSetzen(QString());
    const QByteArray laufzeit = pfad("laufzeit").toUtf8();
    QDir().mkpath(pfad("laufzeit"));
    const Umgebungsvariable ohneVorgabe("TELVARIN_FENSTERREGISTER", nullptr);
    const Umgebungsvariable xdg("XDG_RUNTIME_DIR", &laufzeit);

    EXPECT_EQ(FensterRegisterOrdner(), pfad("laufzeit") + QStringLiteral("/telvarin-fenster"));
}

TEST_F(FensterRegisterTest, withoutRuntimeFolderDefaultIsPerUserTempFolder)
{
    FensterRegisterOrdnerSetzen(QString());
    const Umgebungsvariable ohneVorgabe("TELVARIN_FENSTERREGISTER", nullptr);
    const Umgebungsvariable ohneXdg("XDG_RUNTIME_DIR", nullptr);

    EXPECT_EQ(FensterRegisterOrdner(),
              QDir::tempPath() + QStringLiteral("/telvarin-fenster-%1").arg(::getuid()));
}

TEST_F(FensterRegisterTest, environmentVariableNamesTheFolder)
{
    FensterRegisterOrdnerSetzen(QString());
    const QByteArray ordner = pfad("gemeinsam").toUtf8();
    const Umgebungsvariable vorgabe("TELVARIN_FENSTERREGISTER", &ordner);

    EXPECT_EQ(FensterRegisterOrdner(), pfad("gemeinsam"));
}

} // namespace
