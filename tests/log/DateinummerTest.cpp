#include "log/Log.h"
#include "platform/Global.h"
#include "support/TestUmgebung.h"

#include <memory>
#include <vector>

namespace {

class DateinummerTest : public TestUmgebung
{
protected:
    void halten(int anzahl)
    {
        for (int i = 0; i < anzahl; ++i)
            m_gehalten.push_back(std::make_unique<Dateinummer>());
    }

    std::vector<std::unique_ptr<Dateinummer>> m_gehalten;
};

TEST_F(DateinummerTest, dieNiedrigsteFreieNummerWirdVergebenUndZurueckgegeben)
{
    halten(3);
    m_gehalten.erase(m_gehalten.begin() + 1); // gives back number 2
    EXPECT_EQ(GetFreeFile(), 2);
    {
        const Dateinummer naechste;
        EXPECT_EQ(naechste.nummer(), 2);
        EXPECT_EQ(BelegteDateinummern(), 3);
    }
    m_gehalten.clear();
    EXPECT_EQ(BelegteDateinummern(), 0);
    EXPECT_EQ(GetFreeFile(), 1);
}

TEST_F(DateinummerTest, jedeNummerUeberFuenfWarntGenauEinmal)
{
    halten(4);
    EXPECT_EQ(GetFreeFile(), 5);
    EXPECT_EQ(lesen("261205ed.log"), "");
    halten(1);
    EXPECT_EQ(GetFreeFile(), 6);
    EXPECT_EQ(Dateinummer().nummer(), 6);
    LogSchreiben("text"); // its own file number warns too
    const QByteArray warnung = "05.12.26 12:00:00 Freefile > 5\r\n";
    EXPECT_EQ(lesen("261205ed.log"), warnung + warnung + warnung + "05.12.26 12:00:00 text\r\n");
    EXPECT_EQ(BelegteDateinummern(), 5);
}

TEST_F(DateinummerTest, alleNummernBelegtGibtNullUndFehlerTextUndVerwirftLogzeilen)
{
    halten(255);
    const QByteArray vorher = lesen("261205ed.log");
    EXPECT_EQ(GetFreeFile(), 0);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(Dateinummer().gueltig());
    LogSchreiben("verloren");
    EXPECT_EQ(lesen("261205ed.log"), vorher);
}

} // namespace
