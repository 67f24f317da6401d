#include "SerielleUmgebung.h"
#include "platform/Global.h"
#include "serial/SerielleDienste.h"

#include <QSerialPort>
#include <QStringList>

namespace {

class AufzeichnendeBox : public ComboBox
{
public:
    void clear() override { eintraege.clear(), m_text.clear(); }
    void addItem(const QString& eintrag) override { eintraege << eintrag; }
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    int listCount() const override { return static_cast<int>(eintraege.size()); }
    QStringList eintraege;
    QString m_text;
};

using ListComPortsTest = SerielleUmgebung;

// Port 2 is open in the caller's own control (and stays open), port 7 held by another program.
TEST_F(ListComPortsTest, listsFreePortsAndBusyOnesInBracketsWithTheFirstFreeAsText)
{
    for (int i = 1; i <= 16; ++i) // ports without a device are left out
        comZuordnen(i, pfad(QStringLiteral("fehlt/tty%1").arg(i)));
    PtyBus zwei, vier, sieben, neun;
    SerielleSchnittstelle m_comm;
    AufzeichnendeBox m_box;
    comZuordnen(2, zwei.geraet());
    comZuordnen(4, vier.geraet());
    comZuordnen(7, sieben.geraet());
    comZuordnen(9, neun.geraet());
    QString baud;
    ASSERT_EQ(ComPortOeffnen(m_comm, 2, baud), 0);
    QSerialPort fremd;
    fremd.setPortName(sieben.geraet());
    ASSERT_TRUE(fremd.open(QIODevice::ReadWrite));
    m_box.addItem(QStringLiteral("alt"));
    FehlerText = QStringLiteral("vorher");
    ListComPorts(m_comm, m_box);
    EXPECT_EQ(m_box.eintraege, QStringList({"(2)", "4", "(7)", "9"}));
    EXPECT_EQ(m_box.text(), QStringLiteral("4"));
    EXPECT_EQ(FehlerText, QStringLiteral("vorher"));
    EXPECT_TRUE(m_comm.PortOpen() && m_comm.CommPort() == 2);
    SerielleSchnittstelle andere;
    EXPECT_EQ(ComPortOeffnen(andere, 4, baud), 0); // probed ports are closed again
}

} // namespace
