// Lock files of the masters and the log-file import.

#include "platform/Sperren.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"
#include "support/ZweiterBenutzer.h"

#include <QFile>
#include <QProcess>

#include <sys/stat.h>

#include <atomic>
#include <thread>

namespace {

class SperrenTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        Sperren::ordnerSetzen(pfad(QStringLiteral("sperren")));
    }
    void TearDown() override
    {
        Sperren::ordnerSetzen(QString());
        TestUmgebung::TearDown();
    }
    // A lock file as QLockFile writes it, left behind by a process that has ended.
    void verwaisteSperre(const QString& datei)
    {
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("2147483000\nmbusmaster\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
};

TEST_F(SperrenTest, namesAreFixedPerPortClientAndValueFolder)
{
    EXPECT_EQ(Sperren::masterDatei(3), pfad(QStringLiteral("sperren/master-com3.lock")));
    EXPECT_EQ(Sperren::zyklusDatei(1320, 12),
              pfad(QStringLiteral("sperren/zyklus-m1320-com12.lock")));
    QDir().mkpath(pfad(QStringLiteral("DB1320/Z1320")));
    // However the settings spell the folder, it is one lock; another folder has another.
    const QString a = Sperren::wertordnerDatei(QStringLiteral(".\\db1320\\"), 1320);
    EXPECT_EQ(a, Sperren::wertordnerDatei(pfad(QStringLiteral("DB1320")) + u'/', 1320));
    EXPECT_NE(a, Sperren::wertordnerDatei(QStringLiteral(".\\DB200\\"), 1320));
    EXPECT_NE(a, Sperren::wertordnerDatei(QStringLiteral(".\\DB1320\\"), 200));
}

TEST_F(SperrenTest, aCycleCountsOnlyForItsClientAndOnlyWhileHeld)
{
    EXPECT_FALSE(Sperren::zyklusLaeuft(1320));
    {
        Sperre zyklus(Sperren::zyklusDatei(13200, 1));
        ASSERT_TRUE(zyklus.holen());
        EXPECT_FALSE(Sperren::zyklusLaeuft(1320));
        EXPECT_TRUE(Sperren::zyklusLaeuft(13200));
        Sperre zweite(Sperren::zyklusDatei(13200, 1));
        EXPECT_FALSE(zweite.holen());
        EXPECT_TRUE(zyklus.gehalten());
    }
    EXPECT_FALSE(Sperren::zyklusLaeuft(13200));

    // The lock of a process that ended does not count and is taken over.
    verwaisteSperre(Sperren::zyklusDatei(1320, 2));
    EXPECT_FALSE(Sperren::zyklusLaeuft(1320));
    Sperre uebernommen(Sperren::zyklusDatei(1320, 2));
    EXPECT_TRUE(uebernommen.holen());
    EXPECT_TRUE(Sperren::zyklusLaeuft(1320));
    uebernommen.freigeben();
    EXPECT_FALSE(Sperren::gehalten(Sperren::zyklusDatei(1320, 2)));
}

} // namespace

// The overview and the import probe locks all the time; a probe that takes a free lock for a
// moment must never make a starting master or import believe that someone else holds it.
TEST_F(SperrenTest, aProbeNeverTurnsAwayWhoTakesTheLock)
{
    const QString datei = Sperren::masterDatei(7);
    std::atomic<bool> weiter{true};
    std::thread probe([&] {
        while (weiter)
            Sperren::gehalten(datei);
    });
    int abgewiesen = 0;
    for (int i = 0; i < 200; ++i) {
        Sperre sperre(datei);
        if (!sperre.holen())
            ++abgewiesen;
    }
    weiter = false;
    probe.join();
    EXPECT_EQ(abgewiesen, 0);
}

namespace {

mode_t Rechte(const QString& pfad)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(pfad).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// Sets a file's modification time back by the given seconds.
void Altern(const QString& datei, int sekunden)
{
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-sekunden),
                              QFileDevice::FileModificationTime));
}

} // namespace

// A process killed between creating its lock file and writing it leaves the file empty: while
// young it may be a live holder about to write; once old it is taken over like any lock of an
// ended process.
TEST_F(SperrenTest, aLockFileLeftEmptyIsTakenOverOnceItIsOld)
{
    const QString datei = Sperren::zyklusDatei(1320, 4);
    QDir().mkpath(Sperren::ordner());
    schreiben(QStringLiteral("sperren/zyklus-m1320-com4.lock"), QByteArray());
    EXPECT_TRUE(Sperren::gehalten(datei));
    EXPECT_TRUE(Sperren::zyklusLaeuft(1320));
    Sperre jung(datei);
    EXPECT_FALSE(jung.holen());
    EXPECT_FALSE(jung.nichtAnlegbar());

    ASSERT_NO_FATAL_FAILURE(Altern(datei, 10));
    EXPECT_FALSE(Sperren::gehalten(datei));
    EXPECT_FALSE(Sperren::zyklusLaeuft(1320));
    Sperre alt(datei);
    EXPECT_TRUE(alt.holen()) << qPrintable(FehlerText);
    EXPECT_TRUE(Sperren::zyklusLaeuft(1320));
}

// Port and cycle locks lie in one machine-wide folder, made by the program when missing,
// writable for every user and not sticky; the value-folder lock lies beside the value folder.
TEST_F(SperrenTest, theLockFolderIsMachineWideAndMadeForEveryUser)
{
    Sperren::ordnerSetzen(QString());
    const QByteArray vorher = qgetenv("TELVARIN_SPERREN");
    qunsetenv("TELVARIN_SPERREN");
    const QString maschine = Sperren::ordner();
    qputenv("TELVARIN_SPERREN", vorher);
    // The same folder for every user: one made already, or one in a lock folder every user may
    // write in (Debian's /run/lock).
    const QFileInfo runLock(QStringLiteral("/run/lock"));
    if (QFileInfo(QStringLiteral("/run/lock/telvarin")).isDir() ||
        (runLock.isDir() && runLock.permissions().testFlag(QFileDevice::WriteOther)))
        EXPECT_EQ(maschine, QStringLiteral("/run/lock/telvarin"));
    EXPECT_FALSE(maschine.contains(QStringLiteral("/run/user/")));

    const QString ordner = pfad(QStringLiteral("neu/sperren"));
    Sperren::ordnerSetzen(ordner);
    const mode_t maske = ::umask(077);
    Sperre sperre(Sperren::masterDatei(2));
    const bool geholt = sperre.holen();
    ::umask(maske);
    ASSERT_TRUE(geholt) << qPrintable(FehlerText);
    EXPECT_EQ(Rechte(ordner), mode_t(0777));
    EXPECT_EQ(Rechte(sperre.datei()), mode_t(0666));

    EXPECT_EQ(Sperren::wertordnerDatei(pfad(QStringLiteral("DB1320")) + u'/', 1320),
              pfad(QStringLiteral("DB1320/Z1320.lock")));
}

// A lock that cannot be made (its folder cannot be created) is told apart from a held one.
TEST_F(SperrenTest, aLockThatCannotBeMadeIsNotTakenForAHeldOne)
{
    schreiben(QStringLiteral("datei"), "x");
    Sperren::ordnerSetzen(pfad(QStringLiteral("datei/sperren")));
    Sperre sperre(Sperren::zyklusDatei(1320, 1));
    EXPECT_FALSE(sperre.holen());
    EXPECT_TRUE(sperre.nichtAnlegbar());
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("nicht anlegbar"))) << qPrintable(FehlerText);
}

// A link put in the lock folder's place never leads the locks into another folder.
TEST_F(SperrenTest, aLockFolderThatIsALinkIsNotUsed)
{
    const QString anderer = pfad(QStringLiteral("anderer"));
    ASSERT_TRUE(QDir().mkpath(anderer));
    const QString link = pfad(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(anderer, link));
    Sperren::ordnerSetzen(link);
    Sperre sperre(Sperren::masterDatei(3));
    EXPECT_FALSE(sperre.holen());
    EXPECT_TRUE(sperre.nichtAnlegbar());
    EXPECT_TRUE(QDir(anderer).isEmpty());
}

namespace {

// Two users, a real process each: the lock of one user's process that was killed is taken over
// by the other user's process; a live one is not.
class ZweiBenutzerSperrenTest : public SperrenTest
{
protected:
    void SetUp() override
    {
        SperrenTest::SetUp();
        const QString hindernis = zweiterBenutzer::hindernis();
        if (!hindernis.isEmpty())
            GTEST_SKIP() << qPrintable(hindernis);
        // A folder every user reaches; the lock folder in it is made by the first process.
        ASSERT_TRUE(m_gemeinsam.isValid());
        QFile::setPermissions(m_gemeinsam.path(), QFileDevice::Permissions(0x7755));
        Sperren::ordnerSetzen(QDir(m_gemeinsam.path()).filePath(QStringLiteral("sperren")));
    }
    void TearDown() override
    {
        for (auto& p : m_prozesse) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
        SperrenTest::TearDown();
    }
    // Starts the probe on the lock file (as the second user when told) and gives its answer.
    QProcess& probe(const QString& datei, bool zweiter, QByteArray& antwort)
    {
        auto p = std::make_unique<QProcess>();
        if (zweiter)
            zweiterBenutzer::einrichten(*p);
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("TELVARIN_SPERREN"), Sperren::ordner());
        p->setProcessEnvironment(umgebung);
        p->setWorkingDirectory(m_gemeinsam.path());
        p->start(QStringLiteral(SPERR_PROBE_BEFEHL), {QStringLiteral("sperre"), datei});
        antwort.clear();
        if (p->waitForStarted(5000) && p->waitForReadyRead(10000))
            antwort = p->readLine().trimmed();
        m_prozesse.push_back(std::move(p));
        return *m_prozesse.back();
    }

    QTemporaryDir m_gemeinsam;
    std::vector<std::unique_ptr<QProcess>> m_prozesse;
};

} // namespace

TEST_F(ZweiBenutzerSperrenTest, aKilledProcessesLockIsTakenOverByAnotherUsersProcess)
{
    const QString datei = Sperren::masterDatei(5);
    QByteArray antwort;
    // root's process takes the lock and is killed.
    QProcess& erster = probe(datei, false, antwort);
    ASSERT_EQ(antwort, QByteArray("gehalten"));
    erster.kill();
    ASSERT_TRUE(erster.waitForFinished(5000));
    ASSERT_TRUE(QFile::exists(datei));
    EXPECT_FALSE(Sperren::gehalten(datei));

    // The other user's process takes it over, and holds it against root's.
    QProcess& zweiter = probe(datei, true, antwort);
    if (zweiter.exitCode() == 127 || antwort.isEmpty())
        GTEST_SKIP() << "the probe does not start as nobody: " << SPERR_PROBE_BEFEHL;
    EXPECT_EQ(antwort, QByteArray("gehalten"));
    EXPECT_TRUE(Sperren::gehalten(datei));
    Sperre root(datei);
    EXPECT_FALSE(root.holen());
    EXPECT_FALSE(root.nichtAnlegbar());

    // Killed in turn, its lock goes back to a process of root.
    zweiter.kill();
    ASSERT_TRUE(zweiter.waitForFinished(5000));
    EXPECT_TRUE(root.holen()) << qPrintable(FehlerText);
}

TEST_F(ZweiBenutzerSperrenTest, aLiveLockOfAnotherUserIsNeverTaken)
{
    const QString datei = Sperren::zyklusDatei(1320, 6);
    Sperre root(datei);
    ASSERT_TRUE(root.holen()) << qPrintable(FehlerText);
    QByteArray antwort;
    QProcess& zweiter = probe(datei, true, antwort);
    if (zweiter.exitCode() == 127 || antwort.isEmpty())
        GTEST_SKIP() << "the probe does not start as nobody: " << SPERR_PROBE_BEFEHL;
    EXPECT_TRUE(antwort.startsWith("abgewiesen Gesperrt von Prozess")) << antwort.constData();
    EXPECT_TRUE(root.dateiSteht());
}
