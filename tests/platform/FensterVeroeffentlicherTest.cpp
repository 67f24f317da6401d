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
        m_fenster.setWindowTitle(QStringLiteral("MBus-Master Comport12"));
    }
    void TearDown() override
    {
        m_veroeffentlicher.reset();
        FensterRegisterOrdnerSetzen(QString());
        TestUmgebung::TearDown();
    }

    static void ereignisseAbarbeiten() { QCoreApplication::processEvents(); }

    static bool gefunden(const QString& titel)
    {
        qint64 handle = 0;
        return FensterSuchen(0, titel, handle);
    }

    QString eigeneDatei() const
    {
        return pfad(QStringLiteral("fenster/%1.fenster").arg(::getpid()));
    }

    QMainWindow m_fenster;
    std::unique_ptr<FensterVeroeffentlicher> m_veroeffentlicher;
};

TEST_F(FensterVeroeffentlicherTest, shownWindowIsFoundByPartOfItsTitle)
{
    m_fenster.show();
    ereignisseAbarbeiten();

    qint64 handle = 0;
    EXPECT_TRUE(FensterSuchen(0, QStringLiteral("comport1"), handle));
    EXPECT_EQ(handle, FensterVeroeffentlicher::handleVon(&m_fenster));
    EXPECT_EQ(GetFensterText(handle), QStringLiteral("MBus-Master Comport12"));
}

TEST_F(FensterVeroeffentlicherTest, hiddenWindowIsNotFound)
{
    m_fenster.show();
    ereignisseAbarbeiten();

    m_fenster.hide();
    ereignisseAbarbeiten();

    EXPECT_FALSE(gefunden(QStringLiteral("comport1")));
}

TEST_F(FensterVeroeffentlicherTest, windowNeverShownIsNotFound)
{
    ereignisseAbarbeiten();

    EXPECT_FALSE(gefunden(QStringLiteral("comport1")));
}

TEST_F(FensterVeroeffentlicherTest, newTitleIsPublished)
{
    m_fenster.show();
    ereignisseAbarbeiten();

    m_fenster.setWindowTitle(QStringLiteral("MBus-Master Comport4"));
    ereignisseAbarbeiten();

    EXPECT_FALSE(gefunden(QStringLiteral("Comport12")));
    EXPECT_TRUE(gefunden(QStringLiteral("Comport4")));
}

TEST_F(FensterVeroeffentlicherTest, closedAndDeletedWindowIsGone)
{
    auto* dialog = new QDialog;
    dialog->setWindowTitle(QStringLiteral("Zählerliste"));
    dialog->show();
    ereignisseAbarbeiten();
    const qint64 handle = FensterVeroeffentlicher::handleVon(dialog);
    ASSERT_EQ(GetFensterText(handle), QStringLiteral("Zählerliste"));

    delete dialog;
    ereignisseAbarbeiten();

    EXPECT_EQ(GetFensterText(handle), QString());
}

TEST_F(FensterVeroeffentlicherTest, framelessWindowIsNotFound)
{
    m_fenster.setWindowFlag(Qt::FramelessWindowHint);
    m_fenster.show();
    ereignisseAbarbeiten();

    EXPECT_FALSE(gefunden(QStringLiteral("comport1")));
}

TEST_F(FensterVeroeffentlicherTest, popupMenuIsNotPublished)
{
    QMenu menue;
    menue.setTitle(QStringLiteral("Datei"));
    menue.setWindowTitle(QStringLiteral("Datei"));
    menue.addAction(QStringLiteral("Ende"));
    menue.popup(QPoint(10, 10));
    ereignisseAbarbeiten();

    EXPECT_EQ(GetFensterText(FensterVeroeffentlicher::handleVon(&menue)), QString());
    menue.close();
}

TEST_F(FensterVeroeffentlicherTest, listIsRemovedWhenPublisherEnds)
{
    m_fenster.show();
    ereignisseAbarbeiten();
    ASSERT_TRUE(QFileInfo::exists(eigeneDatei()));

    m_veroeffentlicher.reset();

    EXPECT_FALSE(QFileInfo::exists(eigeneDatei()));
    EXPECT_FALSE(gefunden(QStringLiteral("comport1")));
}

} // namespace
