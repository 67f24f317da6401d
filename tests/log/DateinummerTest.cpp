#include "log/Log.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <memory>
#include <vector>

namespace {

class DateinummerTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), QTime(8, 15, 0)));
    }

    void halten(int anzahl)
    {
        for (int i = 0; i < anzahl; ++i)
            m_gehalten.push_back(std::make_unique<Dateinummer>());
    }

    QByteArray programmlog() const { return lesen("261205ed.log"); }

    std::vector<std::unique_ptr<Dateinummer>> m_gehalten;
};

constexpr char kWarnung[] = "05.12.26 08:15:00 Freefile > 5\r\n";

TEST_F(DateinummerTest, lowestFreeNumberIsHandedOut)
{
    halten(3);
    m_gehalten.erase(m_gehalten.begin() + 1); // gives back number 2

    EXPECT_EQ(GetFreeFile(), 2);
    const Dateinummer naechste;
    EXPECT_EQ(naechste.nummer(), 2);
}

TEST_F(DateinummerTest, numberIsGivenBackWhenReleased)
{
    {
        const Dateinummer nummer;
        EXPECT_EQ(nummer.nummer(), 1);
        EXPECT_EQ(BelegteDateinummern(), 1);
    }
    EXPECT_EQ(BelegteDateinummern(), 0);
    EXPECT_EQ(GetFreeFile(), 1);
}

TEST_F(DateinummerTest, fourOpenFilesGiveNoWarning)
{
    halten(4);

    EXPECT_EQ(GetFreeFile(), 5);
    EXPECT_TRUE(programmlog().isEmpty());
}

TEST_F(DateinummerTest, fiveOpenFilesGiveExactlyOneWarning)
{
    halten(5);

    EXPECT_EQ(GetFreeFile(), 6);
    EXPECT_EQ(programmlog(), QByteArray(kWarnung));
    EXPECT_EQ(BelegteDateinummern(), 5);
}

TEST_F(DateinummerTest, takingSixthNumberWarnsOnce)
{
    halten(5);

    const Dateinummer sechste;

    EXPECT_EQ(sechste.nummer(), 6);
    EXPECT_EQ(programmlog(), QByteArray(kWarnung));
}

TEST_F(DateinummerTest, logLineWithFiveFilesOpenFollowsOneWarning)
{
    halten(5);

    LogSchreiben(QStringLiteral("text"));

    EXPECT_EQ(programmlog(), QByteArray(kWarnung) + "05.12.26 08:15:00 text\r\n");
    EXPECT_EQ(BelegteDateinummern(), 5);
}

TEST_F(DateinummerTest, allNumbersTakenGivesZeroAndErrorText)
{
    halten(255);

    EXPECT_EQ(GetFreeFile(), 0);
    EXPECT_FALSE(FehlerText.isEmpty());
    const Dateinummer keine;
    EXPECT_FALSE(keine.gueltig());

    m_gehalten.clear();
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(DateinummerTest, logWithAllNumbersTakenIsDropped)
{
    halten(255);
    const QByteArray vorher = programmlog();

    LogSchreiben(QStringLiteral("verloren"));

    EXPECT_EQ(programmlog(), vorher);
}

} // namespace
