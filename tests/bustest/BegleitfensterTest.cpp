#include "bustest/hilfe/Begleitfenster.h"
#include "bustest/hilfe/FrmHilfe.h"
#include "bustest/hilfe/FrmInfo.h"
#include "bustest/hilfe/FrmMBusLog.h"
#include "bustest/hilfe/SysInfo.h"

#include "support/TestUmgebung.h"
#include "ui/FlexGridWidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QThread>

namespace {

class Begleitfenster : public TestUmgebung
{
protected:
    void TearDown() override
    {
        qputenv("PATH", m_path);
        TestUmgebung::TearDown();
    }

    QByteArray m_path = qgetenv("PATH");
};

// Makes an executable shell script in the working folder's "bin" folder.
QString skriptAnlegen(const QString& ordner, const QString& name, const QByteArray& inhalt)
{
    QDir().mkpath(ordner);
    QFile datei(ordner + QLatin1Char('/') + name);
    if (!datei.open(QIODevice::WriteOnly))
        return {};
    datei.write(inhalt);
    datei.close();
    datei.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return datei.fileName();
}

} // namespace

TEST_F(Begleitfenster, logZeileStehtMitDatumZeitUndTabOben)
{
    frmMBusLog log;
    m_uhr.stellen(Wandzeit(QDate(2026, 3, 4), QTime(5, 6, 7)));
    log.LogZeile(QStringLiteral("erste"));
    m_uhr.stellen(Wandzeit(QDate(2026, 3, 4), QTime(15, 16, 17)));
    log.LogZeile(QStringLiteral("zweite"));

    FlexGrid& grid = log.MSFlexGrid1();
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("04.03.2026 15:16:17"));
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("zweite"));
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("04.03.2026 05:06:07"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("erste"));
}

TEST_F(Begleitfenster, logAddItemFuelltZellenAusTabs)
{
    frmMBusLog log;
    FlexGrid& grid = log.MSFlexGrid1();
    grid.setCols(5);
    log.LogAddItem(QStringLiteral("a\tSend 5\t10;7B;FD;78;16;"), 1);
    log.LogAddItem(QStringLiteral("b\tRead \tFEHLER kein E5"), 1);

    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("b"));
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("FEHLER kein E5"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("Send 5"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("10;7B;FD;78;16;"));
}

TEST_F(Begleitfenster, logAddItemHinterDemEndeHaengtAn)
{
    frmMBusLog log;
    FlexGrid& grid = log.MSFlexGrid1();
    const int vorher = grid.Rows();
    log.LogAddItem(QStringLiteral("x\tunten"), vorher + 10);

    ASSERT_EQ(grid.Rows(), vorher + 1);
    EXPECT_EQ(grid.TextMatrix(vorher, 1), QStringLiteral("unten"));
}

TEST_F(Begleitfenster, hilfeWaehltBildNachDerMenueBeschriftung)
{
    struct Fall {
        QString caption;
        int bild;
    };
    const Fall faelle[] = {
        {QStringLiteral("Zähler &Scan"), 0},
        {QStringLiteral("Bus &Scan"), 1},
        {QStringLiteral("Zähler Scan"), 1},
        {QStringLiteral(""), 1},
    };
    for (const Fall& fall : faelle) {
        frm_help hilfe(fall.caption);
        EXPECT_FALSE(hilfe.Picture1(fall.bild)->isHidden()) << fall.caption.toStdString();
        EXPECT_TRUE(hilfe.Picture1(1 - fall.bild)->isHidden()) << fall.caption.toStdString();
        EXPECT_EQ(hilfe.windowTitle(), QStringLiteral("Hilfe"));
    }
}

TEST_F(Begleitfenster, hilfeBilderSindGeladenUndErklaert)
{
    frm_help hilfe(QStringLiteral("Zähler &Scan"));
    for (int i = 0; i < 2; ++i) {
        auto* bild = hilfe.Picture1(i)->findChild<QLabel*>(QStringLiteral("bild"));
        auto* text = hilfe.Picture1(i)->findChild<QLabel*>(QStringLiteral("erklaerung"));
        ASSERT_NE(bild, nullptr);
        ASSERT_NE(text, nullptr);
        EXPECT_FALSE(bild->pixmap().isNull()) << i;
        EXPECT_FALSE(text->text().isEmpty()) << i;
    }
}

TEST_F(Begleitfenster, hilfeZeigenWechseltDasBildBeimNaechstenAufruf)
{
    HilfeZeigen(QStringLiteral("Zähler &Scan"));
    frm_help* hilfe = nullptr;
    for (QWidget* fenster : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<frm_help*>(fenster))
            hilfe = h;
    ASSERT_NE(hilfe, nullptr);
    EXPECT_TRUE(hilfe->Picture1(0)->isVisible());

    HilfeZeigen(QStringLiteral("Bus &Scan"));
    EXPECT_TRUE(hilfe->Picture1(1)->isVisible());
    EXPECT_FALSE(hilfe->Picture1(0)->isVisible());
    hilfe->close();
}

TEST_F(Begleitfenster, infoFensterTexte)
{
    frm_about info;
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Info zu Telvarin"));
    EXPECT_EQ(info.lblTitle()->text(), QStringLiteral("Telvarin"));
    EXPECT_EQ(info.lblVersion()->text(), QStringLiteral("Version v0.9"));
    EXPECT_EQ(info.cmdSysInfo()->text(), QStringLiteral("&Systeminfo..."));
    EXPECT_TRUE(info.lblDescription()->text().contains(QStringLiteral("\r\n")));
    EXPECT_TRUE(info.lblDisclaimer()->text().startsWith(QStringLiteral("Warnung: ")));
    EXPECT_FALSE(info.Picture1()->pixmap().isNull());
}

TEST_F(Begleitfenster, infoOkSchliesst)
{
    frm_about info;
    info.show();
    info.cmdOK()->click();
    EXPECT_FALSE(info.isVisible());
    EXPECT_EQ(info.result(), QDialog::Accepted);
}

TEST_F(Begleitfenster, sysInfoOhneProgrammMeldetNichtVerfuegbar)
{
    qputenv("PATH", "");
    frm_about info;
    info.cmdSysInfo()->click();
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Systeminformationen sind momentan nicht verfügbar")});
}

TEST_F(Begleitfenster, sysInfoStartetDasErsteProgrammAufDemPfad)
{
    const QString bin = pfad(QStringLiteral("bin"));
    const QString marke = pfad(QStringLiteral("gestartet"));
    skriptAnlegen(bin, QStringLiteral("kinfocenter"),
                  "#!/bin/sh\necho kinfocenter > '" + marke.toUtf8() + "'\n");
    qputenv("PATH", bin.toUtf8());

    ASSERT_EQ(SysInfoSuchen(), bin + QStringLiteral("/kinfocenter"));
    StartSysInfo();

    QElapsedTimer uhr;
    uhr.start();
    while (!QFile::exists(marke) && uhr.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marke));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}
