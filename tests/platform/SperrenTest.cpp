// Lock files of the masters and the log-file import.

#include "platform/Sperren.h"
#include "support/TestUmgebung.h"

#include <QFile>

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
