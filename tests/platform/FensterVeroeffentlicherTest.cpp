#include "ui/FensterVeroeffentlicher.h"
#include "platform/FensterRegister.h"
#include "support/TestUmgebung.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>

#include <memory>

#include <unistd.h>

namespace {

class FensterVeroeffentlicherTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        FensterRegisterOrdnerSetzen(pfad("fenster"));
        m_veroeffentlicher = std::make_unique<FensterVeroeffentlicher>();
        m_fenster.setWindowTitle("MBus-Master Comport12");
    }
    void TearDown() override
    {
        m_veroeffentlicher.reset();
        FensterRegisterOrdnerSetzen(QString());
        TestUmgebung::TearDown();
    }

    // Lets the publisher see the window events first.
    static bool gefunden(const QString& titel)
    {
        QCoreApplication::processEvents();
        qint64 handle = 0;
        return FensterSuchen(0, titel, handle);
    }

    QMainWindow m_fenster;
    std::unique_ptr<FensterVeroeffentlicher> m_veroeffentlicher;
};

TEST_F(FensterVeroeffentlicherTest, gezeigteFensterWerdenMitIhremTitelVeroeffentlicht)
{
    EXPECT_FALSE(gefunden("comport1")); // never shown
    m_fenster.show();
    EXPECT_TRUE(gefunden("comport1"));
    const qint64 handle = FensterVeroeffentlicher::handleVon(&m_fenster);
    EXPECT_EQ(GetFensterText(handle), "MBus-Master Comport12");
    m_fenster.setWindowTitle("MBus-Master Comport4");
    EXPECT_FALSE(gefunden("Comport12"));
    EXPECT_TRUE(gefunden("Comport4"));
    m_fenster.hide();
    EXPECT_FALSE(gefunden("Comport4"));

    auto* dialog = new QDialog;
    dialog->setWindowTitle("Zählerliste");
    dialog->show();
    EXPECT_TRUE(gefunden("Zählerliste"));
    const qint64 dialogHandle = FensterVeroeffentlicher::handleVon(dialog);
    delete dialog;
    EXPECT_FALSE(gefunden("Zählerliste"));
    EXPECT_EQ(GetFensterText(dialogHandle), QString());
}

TEST_F(FensterVeroeffentlicherTest, rahmenloseFensterUndMenuesSindNichtZuFinden)
{
    m_fenster.setWindowFlag(Qt::FramelessWindowHint);
    m_fenster.show();
    QMenu menue;
    menue.setWindowTitle("Datei");
    menue.addAction("Ende");
    menue.popup(QPoint(10, 10));
    EXPECT_FALSE(gefunden("comport1"));
    EXPECT_EQ(GetFensterText(FensterVeroeffentlicher::handleVon(&menue)), QString());
    menue.close();
}

TEST_F(FensterVeroeffentlicherTest, listeVerschwindetMitDemVeroeffentlicher)
{
    m_fenster.show();
    ASSERT_TRUE(gefunden("comport1"));
    const QString datei = pfad(QStringLiteral("fenster/%1.fenster").arg(::getpid()));
    ASSERT_TRUE(QFileInfo::exists(datei));
    m_veroeffentlicher.reset();
    EXPECT_FALSE(QFileInfo::exists(datei));
    EXPECT_FALSE(gefunden("comport1"));
}

} // namespace
