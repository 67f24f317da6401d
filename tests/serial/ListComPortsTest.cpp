#include "PtyBus.h"
#include "SerielleUmgebung.h"
#include "platform/Global.h"
#include "serial/SerielleDienste.h"

#include <QSerialPort>
#include <QStringList>

namespace {

class AufzeichnendeBox : public ComboBox
{
public:
    void clear() override
    {
        eintraege.clear();
        m_text.clear();
    }
    void addItem(const QString& eintrag) override { eintraege << eintrag; }
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    int listCount() const override { return static_cast<int>(eintraege.size()); }

    QStringList eintraege;
    QString m_text;
};

class ListComPortsTest : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        alleComPortsLeeren();
    }

    SerielleSchnittstelle m_comm;
    AufzeichnendeBox m_box;
};

TEST_F(ListComPortsTest, listsFreePortsAndBusyOnesInBrackets)
{
    PtyBus frei;
    PtyBus belegt;
    comZuordnen(3, frei.geraet());
    comZuordnen(5, belegt.geraet());
    SerielleSchnittstelle andere;
    QString baud;
    ASSERT_EQ(ComPortOeffnen(andere, 5, baud), 0);

    ListComPorts(m_comm, m_box);

    EXPECT_EQ(m_box.eintraege, QStringList({QStringLiteral("3"), QStringLiteral("(5)")}));
    EXPECT_EQ(m_box.text(), QStringLiteral("3"));
}

TEST_F(ListComPortsTest, textIsTheFirstFreePort)
{
    PtyBus zwei, vier, neun;
    comZuordnen(2, zwei.geraet());
    comZuordnen(4, vier.geraet());
    comZuordnen(9, neun.geraet());
    SerielleSchnittstelle andere;
    QString baud;
    ASSERT_EQ(ComPortOeffnen(andere, 2, baud), 0);

    ListComPorts(m_comm, m_box);

    EXPECT_EQ(m_box.eintraege,
              QStringList({QStringLiteral("(2)"), QStringLiteral("4"), QStringLiteral("9")}));
    EXPECT_EQ(m_box.text(), QStringLiteral("4"));
}

TEST_F(ListComPortsTest, portHeldByAnotherProgramIsBusy)
{
    PtyBus bus;
    comZuordnen(7, bus.geraet());
    QSerialPort fremd; // stands in for another program: holds the device's lock, not our register
    fremd.setPortName(bus.geraet());
    ASSERT_TRUE(fremd.open(QIODevice::ReadWrite));

    ListComPorts(m_comm, m_box);

    EXPECT_EQ(m_box.eintraege, QStringList({QStringLiteral("(7)")}));
    EXPECT_EQ(m_box.text(), QString());
}

TEST_F(ListComPortsTest, boxIsEmptiedFirstAndMissingDevicesAreLeftOut)
{
    m_box.addItem(QStringLiteral("alt"));
    m_box.setText(QStringLiteral("alt"));

    ListComPorts(m_comm, m_box);

    EXPECT_EQ(m_box.listCount(), 0);
    EXPECT_EQ(m_box.text(), QString());
}

TEST_F(ListComPortsTest, probedPortsAreClosedAgain)
{
    PtyBus bus;
    comZuordnen(3, bus.geraet());

    ListComPorts(m_comm, m_box);

    QString baud;
    EXPECT_EQ(ComPortOeffnen(m_comm, 3, baud), 0);
}

TEST_F(ListComPortsTest, openPortOfCallersControlIsListedBusyAndStaysOpen)
{
    PtyBus bus;
    comZuordnen(3, bus.geraet());
    QString baud;
    ASSERT_EQ(ComPortOeffnen(m_comm, 3, baud), 0);

    ListComPorts(m_comm, m_box);

    EXPECT_EQ(m_box.eintraege, QStringList({QStringLiteral("(3)")}));
    EXPECT_TRUE(m_comm.PortOpen());
    EXPECT_EQ(m_comm.CommPort(), 3);
}

TEST_F(ListComPortsTest, doesNotReportErrors)
{
    FehlerText = QStringLiteral("vorher");

    ListComPorts(m_comm, m_box);

    EXPECT_EQ(FehlerText, QStringLiteral("vorher"));
}

} // namespace
