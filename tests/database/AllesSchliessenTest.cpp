#include "DatenbankUmgebung.h"

#include "database/AllesSchliessen.h"
#include "database/BasisMdb.h"
#include "database/MBConnection.h"

#include "platform/Global.h"

#include <future>
#include <thread>

class AllesSchliessenTest : public DatenbankUmgebung
{
protected:
    void TearDown() override
    {
        AlleFormsEntladenSetzen({});
        MB_ConnectionSchliessen();
        DatenbankUmgebung::TearDown();
    }
};

TEST_F(AllesSchliessenTest, everyDatabaseOfTheServicesClosesButTheSharedConnection)
{
    basisAnlegen();
    ASSERT_TRUE(DatenbankOeffnen());
    std::unique_ptr<Verbindung> eigene = oeffnen();
    DBParameter = QStringList{QStringLiteral("1"), basisPfad(), {}, {}, {}, {}, {}};
    ASSERT_TRUE(MB_DatenbankVerbinden());

    MB_DAOAllesSchliessen();
    EXPECT_FALSE(Datenbank->offen());
    EXPECT_FALSE(eigene->offen());
    EXPECT_TRUE(MB_Connection->offen());
    // a service that needs the meter database opens it again
    DatenbankSitzung sitzung;
    EXPECT_TRUE(sitzung.offen());
}

TEST_F(AllesSchliessenTest, connectionsOfAnotherThreadStayOpen)
{
    basisAnlegen();
    std::promise<Verbindung*> geoeffnet;
    std::promise<void> geschlossen;
    bool nochOffen = false;
    std::thread faden([&] {
        std::unique_ptr<Verbindung> fremde = Verbindung::OpenDatabase(basisPfad());
        geoeffnet.set_value(fremde.get());
        geschlossen.get_future().wait();
        nochOffen = fremde && fremde->offen();
    });
    Verbindung* fremde = geoeffnet.get_future().get();
    EXPECT_NE(fremde, nullptr);
    MB_DAOAllesSchliessen();
    geschlossen.set_value();
    faden.join();
    EXPECT_TRUE(nochOffen);
}

TEST_F(AllesSchliessenTest, nothingOpenIsNothingToDo)
{
    MB_DAOAllesSchliessen();
    EXPECT_EQ(Datenbank, nullptr);
    EXPECT_TRUE(Verbindung::offeneVerbindungen().isEmpty());
}

TEST_F(AllesSchliessenTest, windowsUnloadThroughTheRegisteredFunctionOnce)
{
    int aufrufe = 0;
    AlleFormsEntladenSetzen([&] {
        ++aufrufe;
        MB_AlleFormsEntladen(); // a window calling it again from its own unload
    });
    MB_AlleFormsEntladen();
    EXPECT_EQ(aufrufe, 1);
    MB_AlleFormsEntladen();
    EXPECT_EQ(aufrufe, 2);
}
