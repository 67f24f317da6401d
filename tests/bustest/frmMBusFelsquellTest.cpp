// The customer raw-telegram window on a simulated bus (real bytes on a pseudo-terminal).

#include "bustest/felsquell/frmMBusFelsquell.h"
#include "bustest/felsquell/FelsquellAustausch.h"
#include "bustest/hilfe/FrmMBusLog.h"

#include "BusSimulator.h"
#include "TestfensterUmgebung.h"
#include "platform/Cp1252.h"
#include "platform/Warten.h"
#include "support/TestUmgebung.h"
#include "ui/FlexGridWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace {

constexpr int kPort = 3;
const QString kJetzt = QStringLiteral("05.12.2026 12:00:00");
const QString kPreset9 = QStringLiteral("68 0B 0B 68 53 FD 52 80 82 24 FF FF FF FF FF C3 16");
const QString kStart = kJetzt + QStringLiteral("\t***** \t") + QString(59, QLatin1Char('*'));
const QString kSend17 =
    kJetzt + QStringLiteral("\tSend 17\t68;0B;0B;68;53;FD;52;80;82;24;FF;FF;FF;FF;FF;C3;16;");
const QString kReadE5 = kJetzt + QStringLiteral("\tRead 1\tE5;");
const QString kSend5 = kJetzt + QStringLiteral("\tSend 5\t10;7B;FD;78;16;");
const QByteArray kReqUd2 = QByteArray::fromHex("107BFD7816");

// A meter the select of preset 9 (ID FF248280, all else any) chooses.
const QString kZaehler =
    QStringLiteral("zaehler adresse=7 id=10248280 hersteller=LUG version=07 medium=04 baud=9600\n"
                   "satz 0406 A0860100\nsatz 0C13 45230100\n");

class Felsquell : public TestUmgebung
{
protected:
    void TearDown() override
    {
        m_fenster.reset();
        if (m_sim)
            m_sim->stoppen();
        TestUmgebung::TearDown();
    }

    // The bus on COM3 and the window loaded, COM3 chosen.
    void starten(const QString& bus)
    {
        SimBus simBus;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen("bus takt=nein\n" + bus, simBus, &fehler))
            << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(simBus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(QStringLiteral("ZEP.INI"),
                  QStringLiteral("[COM]\r\nCOM%1=%2\r\nCOM5=%3\r\n")
                      .arg(kPort)
                      .arg(m_sim->geraet(), pfad(QStringLiteral("kein-geraet")))
                      .toUtf8());
        m_fenster = std::make_unique<frmMBusFelsquell>([this] { ++m_testfenster; });
        m_fenster->show();
        m_fenster->Combo1->setCurrentText(QString::number(kPort));
    }
    void oeffnen()
    {
        m_fenster->cmdComOpen->click();
        ASSERT_TRUE(m_fenster->Comm1().PortOpen());
    }
    // Chooses a preset as the user would.
    void vorgabe(int index)
    {
        m_fenster->Combo3->setCurrentIndex(index);
        emit m_fenster->Combo3->activated(index);
    }
    void senden(const QString& telegramm)
    {
        m_fenster->Text1->setText(telegramm);
        m_fenster->cmdComSend->click();
    }
    // The log window's lines from the top, cells joined by TAB, empty cells at the end dropped.
    QStringList logZeilen() const
    {
        FlexGrid& grid = MBusLogFenster()->MSFlexGrid1();
        QStringList zeilen;
        for (int z = 1; z < grid.Rows(); ++z) {
            QStringList zellen;
            for (int s = 0; s < grid.Cols(); ++s)
                zellen << grid.TextMatrix(z, s);
            while (!zellen.isEmpty() && zellen.last().isEmpty())
                zellen.removeLast();
            if (!zellen.isEmpty())
                zeilen << zellen.join(QLatin1Char('\t'));
        }
        return zeilen;
    }
    QList<QByteArray> gesendet() const
    {
        QList<QByteArray> rahmen;
        for (const SimEmpfangenerRahmen& r : m_sim->empfangeneRahmen())
            rahmen << r.bytes;
        return rahmen;
    }
    QString programmLog() const { return Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))); }

    std::unique_ptr<BusSimulator> m_sim;
    std::unique_ptr<frmMBusFelsquell> m_fenster;
    int m_testfenster = 0;
};

// A long frame: start, both L fields, start, checksum right, stop at its place.
bool IstLangerRahmen(const QByteArray& b)
{
    if (b.size() < 6 || quint8(b[0]) != 0x68 || b[1] != b[2] || quint8(b[3]) != 0x68)
        return false;
    const int l = quint8(b[1]);
    quint8 summe = 0;
    for (int i = 4; i < 4 + l && i < b.size(); ++i)
        summe += quint8(b[i]);
    return b.size() == l + 6 && quint8(b[l + 4]) == summe && quint8(b[l + 5]) == 0x16;
}

} // namespace

TEST_F(Felsquell, loadingFillsTheBoxesAndShowsTheTestWindow)
{
    starten(kZaehler);
    EXPECT_EQ(m_fenster->windowTitle(), QStringLiteral("MBus-Master Felsquell"));
    EXPECT_EQ(m_testfenster, 1);
    EXPECT_EQ(m_fenster->Combo1->count(), 16);
    EXPECT_EQ(m_fenster->Combo1->itemText(3), QStringLiteral("4"));
    EXPECT_EQ(m_fenster->Combo2->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(m_fenster->Combo2->count(), 6);
    EXPECT_EQ(m_fenster->Combo3->count(), 11);
    EXPECT_EQ(m_fenster->Combo3->currentIndex(), 0);
    EXPECT_EQ(m_fenster->Text1->text(),
              QStringLiteral("68;1D;1D;68;53;FD;51;9;97;6;4;FF;FF;FF;FF;FF;FF;FF;FF;8;2E;8;3D;8;5B;"
                             "8;5F;8;63;8;22;8;6D;92;16;"));
    EXPECT_EQ(m_fenster->lb_ComStatus->text(), QStringLiteral("Close"));
    EXPECT_FALSE(m_fenster->cmdComSend->isEnabled());
    EXPECT_FALSE(m_fenster->cmdComClose->isVisible());
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(m_fenster->Text2Text(i).isEmpty()) << i;
}

TEST_F(Felsquell, everyPresetIsASoundFrameAndFillsTheTelegramBox)
{
    starten(QString());
    const int bytes[] = {35, 35, 35, 37, 37, 37, 17, 17, 17, 17, 17};
    for (int i = 0; i < m_fenster->Combo3->count(); ++i) {
        vorgabe(i);
        const QString text = m_fenster->Text1->text();
        EXPECT_TRUE(text.startsWith(QStringLiteral("68"))) << i << " " << qPrintable(text);
        QString fehler;
        const auto rahmen = FelsquellAustausch::TelegrammBytes(text, &fehler);
        ASSERT_TRUE(rahmen) << i << " " << qPrintable(fehler);
        EXPECT_EQ(rahmen->size(), bytes[i]) << i;
        EXPECT_TRUE(IstLangerRahmen(*rahmen)) << i << " " << rahmen->toHex(' ').constData();
    }
    vorgabe(8);
    EXPECT_EQ(m_fenster->Text1->text(), kPreset9);

    m_fenster->LadeStrings();
    EXPECT_EQ(m_fenster->geladeneTelegramme()[1].toHex().toUpper(),
              "681D1D6853FD5110970604FFFFFFFFFFFFFFFF082E083D085B085F08630822086D9916");
    EXPECT_EQ(m_fenster->geladenesSelect(),
              QStringLiteral("68 0B 0B 68 53 FD 52 67 02 F7 FF FF FF FF FF FD 16"));
}

TEST_F(Felsquell, openAndCloseSwapTheButtonsAndAPortThatFailsIsNamed)
{
    starten(QString());
    oeffnen();
    EXPECT_EQ(m_fenster->lb_ComStatus->text(), QStringLiteral("Open 9600,E,8,1"));
    EXPECT_TRUE(m_fenster->cmdComSend->isEnabled());
    EXPECT_FALSE(m_fenster->cmdComOpen->isVisible());
    EXPECT_TRUE(m_fenster->cmdComClose->isVisible());

    m_fenster->cmdComClose->click();
    EXPECT_FALSE(m_fenster->Comm1().PortOpen());
    EXPECT_EQ(m_fenster->lb_ComStatus->text(), QStringLiteral("Close"));
    EXPECT_FALSE(m_fenster->cmdComSend->isEnabled());
    EXPECT_TRUE(m_fenster->cmdComOpen->isVisible());

    m_fenster->Combo1->setCurrentText(QStringLiteral("5"));
    m_fenster->cmdComOpen->click();
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Comport 5 konnte nicht geöffnet werden")});
    EXPECT_TRUE(m_fenster->cmdComOpen->isVisible());
    EXPECT_FALSE(m_fenster->cmdComSend->isEnabled());
}

TEST_F(Felsquell, preset9SelectsTheMeterAndItsAnswerIsDecoded)
{
    starten(kZaehler);
    oeffnen();
    vorgabe(8);
    m_fenster->cmdComSend->click();

    const QList<QByteArray> rahmen = gesendet();
    ASSERT_EQ(rahmen.size(), 2);
    EXPECT_EQ(rahmen[0], QByteArray::fromHex(kPreset9.toLatin1().replace(' ', "")));
    EXPECT_EQ(rahmen[1], kReqUd2);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));

    EXPECT_EQ(m_fenster->Text2Text(0), QStringLiteral("LUG"));
    EXPECT_EQ(m_fenster->Text2Text(2), QStringLiteral("7"));
    EXPECT_EQ(m_fenster->Text2Text(3), QStringLiteral("7"));
    EXPECT_EQ(m_fenster->Text2Text(5), QStringLiteral("10248280"));
    EXPECT_FALSE(m_fenster->Text2Text(6).isEmpty());
    EXPECT_TRUE(m_fenster->Text2Text(1).contains(QStringLiteral(" HEX Zeichen")))
        << qPrintable(m_fenster->Text2Text(1));
    FlexGrid& grid = *m_fenster->MSFlexGrid1;
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("Meßart"));
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("7 [1]"));
    EXPECT_EQ(grid.TextMatrix(3, 3), QStringLiteral("12,345"));

    const QStringList log = logZeilen();
    ASSERT_EQ(log.size(), 5) << qPrintable(log.join('\n'));
    EXPECT_EQ(log[4], kStart);
    EXPECT_EQ(log[3], kSend17);
    EXPECT_EQ(log[2], kReadE5);
    EXPECT_EQ(log[1], kSend5);
    EXPECT_TRUE(log[0].startsWith(kJetzt + QStringLiteral("\tRead "))) << qPrintable(log[0]);
    EXPECT_EQ(MBusLogFenster()->MSFlexGrid1().Cols(), 5);
    EXPECT_TRUE(MBusLogFenster()->isVisible());

    const QString programm = programmLog();
    EXPECT_TRUE(programm.contains(QStringLiteral("05.12.26 12:00:00 ******\t") +
                                  QString(62, QLatin1Char('*')) + QStringLiteral("\r\n")))
        << qPrintable(programm);
    EXPECT_TRUE(programm.contains(QStringLiteral("Send Hex   : \t10;7B;FD;78;16;")));
    EXPECT_TRUE(m_fenster->cmdComSend->isVisible());
}

TEST_F(Felsquell, acknowledgedSelectWithoutAnswerLogsFiveLinesAndReportsRqud2)
{
    starten(kZaehler + QStringLiteral("fehler ohne_daten\n"));
    oeffnen();
    senden(kPreset9);
    EXPECT_EQ(logZeilen(), (QStringList{kJetzt + QStringLiteral("\tRead \tFEHLER keine Antwort."),
                                        kSend5, kReadE5, kSend17, kStart}));
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("FEHLER RQUD2")});
    EXPECT_TRUE(m_fenster->Text2Text(0).isEmpty());
    EXPECT_EQ(m_fenster->MSFlexGrid1->Rows(), 2);
}

TEST_F(Felsquell, noAcknowledgementEndsAfterTheOneFrame)
{
    starten(kZaehler + QStringLiteral("fehler ohne_quittung\n"));
    oeffnen();
    senden(kPreset9);
    EXPECT_EQ(logZeilen(),
              (QStringList{kJetzt + QStringLiteral("\tRead \tFEHLER kein E5"), kSend17, kStart}));
    EXPECT_EQ(gesendet().size(), 1);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(Felsquell, answerTheDriverRejectsShowsItsErrorText)
{
    // a sound frame whose CI 72 header is cut short
    starten(QStringLiteral(
        "zaehler adresse=7 id=10248280 baud=9600\nroh 68 03 03 68 08 07 72 81 16\n"));
    oeffnen();
    senden(kPreset9);
    const QStringList log = logZeilen();
    ASSERT_EQ(log.size(), 6) << qPrintable(log.join('\n'));
    EXPECT_EQ(log[1], kJetzt + QStringLiteral("\tRead 9\t68;03;03;68;08;07;72;81;16;"));
    EXPECT_TRUE(log[0].startsWith(kJetzt + QStringLiteral("\tRead \tFEHLER : ")))
        << qPrintable(log[0]);
    const QString fehler = log[0].section(QStringLiteral("FEHLER : "), 1);
    EXPECT_EQ(fehler, QStringLiteral("Other UART Error")); // decoded, not a link fault
    EXPECT_EQ(m_fenster->Text2Text(1),
              QStringLiteral("Read 9 Byte \r\n68;03;03;68;08;07;72;81;16;\r\nFEHLER : ") + fehler);
    EXPECT_TRUE(m_fenster->Text2Text(0).isEmpty());
    EXPECT_TRUE(m_fenster->Text2Text(5).isEmpty());
    EXPECT_EQ(m_fenster->MSFlexGrid1->Rows(), 2);
}

TEST_F(Felsquell, answerWithABadChecksumShowsTheChecksumFault)
{
    // A whole frame whose checksum is wrong is the answer once the line falls silent; the
    // decode names the fault.
    starten(kZaehler + QStringLiteral("fehler pruefsumme_falsch\n"));
    oeffnen();
    senden(kPreset9);
    EXPECT_EQ(logZeilen().value(0),
              kJetzt + QStringLiteral("\tRead \tFEHLER : Falsche Checksumme"));
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('\n'));
}

TEST_F(Felsquell, badTextOrAClosedPortSendsNothing)
{
    starten(kZaehler);
    oeffnen();
    m_fenster->cmdComClose->click();
    EXPECT_FALSE(m_fenster->cmdComSend->isEnabled());
    m_fenster->Text1->setText(kPreset9);
    m_fenster->cmdComSend_Click();
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("Comport 3 nicht geöffnet!")});

    oeffnen();
    const struct
    {
        const char* text;
        const char* meldung;
    } faelle[] = {
        {"68 0B 0B 68 53 FD 52 80 82 24 FF FF FF FF FF C3 1G",
         "Das Telegramm ist ungültig: Byte 17 (\"1G\") ist keine Hex-Zahl mit 1 oder 2 Ziffern."},
        {"10;7B;100;78;16;",
         "Das Telegramm ist ungültig: Byte 3 (\"100\") ist keine Hex-Zahl mit 1 oder 2 Ziffern."},
        {"   ", "Kein Telegramm eingegeben."},
    };
    for (const auto& f : faelle) {
        m_meldungen.texte.clear();
        senden(QString::fromUtf8(f.text));
        EXPECT_EQ(m_meldungen.texte, QStringList{QString::fromUtf8(f.meldung)}) << f.text;
    }
    EXPECT_TRUE(gesendet().isEmpty());
    EXPECT_TRUE(logZeilen().isEmpty());
}

TEST_F(Felsquell, tokensMayBeShortAndSeparatedLoosely)
{
    const struct
    {
        const char* text;
        const char* bytes;
    } faelle[] = {
        {"10;7B;FD;78;16", "107BFD7816"},     {"10;7B;FD;78;16;", "107BFD7816"},
        {"  10  7b FD 78 16 ", "107BFD7816"}, {"68;1D;9;6;", "681D0906"},
        {"10; 7B ;;FD;78;16", "107BFD7816"},
    };
    for (const auto& f : faelle) {
        const auto bytes = FelsquellAustausch::TelegrammBytes(QString::fromLatin1(f.text), nullptr);
        ASSERT_TRUE(bytes) << f.text;
        EXPECT_EQ(*bytes, QByteArray::fromHex(f.bytes)) << f.text;
    }
}

TEST_F(Felsquell, reqUd2TypedWithoutItsLastSeparatorGoesOutAsFiveBytes)
{
    starten(kZaehler);
    oeffnen();
    senden(QStringLiteral("10;7B;FD;78;16"));
    ASSERT_FALSE(gesendet().isEmpty());
    EXPECT_EQ(gesendet()[0], kReqUd2);
}

TEST_F(Felsquell, receiveErrorTexts)
{
    const std::pair<int, const char*> faelle[] = {{1, "TimeOut"},
                                                  {2, "Falsche Parität"},
                                                  {4, "Falsche Checksumme"},
                                                  {8, "Falsches Startzeichen"},
                                                  {16, "Falsche Länge"},
                                                  {32, "Falsches Stoppzeichen"},
                                                  {64, "Collision"},
                                                  {128, "Frame Error"},
                                                  {3, "Other UART Error"},
                                                  {0, "Other UART Error"},
                                                  {256, "Other UART Error"}};
    for (const auto& [wert, text] : faelle)
        EXPECT_EQ(FelsquellAustausch::EmpfangsFehlerText(wert), QString::fromUtf8(text)) << wert;
}

TEST_F(Felsquell, closeAndClosingTheWindowWaitUntilTheExchangeHasEnded)
{
    starten(kZaehler + QStringLiteral("fehler ohne_daten\n"));
    oeffnen();
    bool versucht = false;
    auto* uhr = new QTimer(m_fenster.get());
    QObject::connect(uhr, &QTimer::timeout, [&] {
        if (versucht || gesendet().size() < 2)
            return; // the REQ_UD2 has gone out: its read waits now
        versucht = true;
        m_fenster->cmdComClose->click();
        EXPECT_FALSE(m_fenster->close());
        EXPECT_TRUE(m_fenster->Comm1().PortOpen());
    });
    uhr->start(5);
    senden(kPreset9);
    uhr->stop();
    EXPECT_TRUE(versucht);
    EXPECT_EQ(m_meldungen.texte, QStringList{QStringLiteral("FEHLER RQUD2")});
    EXPECT_TRUE(m_fenster->Comm1().PortOpen());
    EXPECT_TRUE(m_fenster->close());
}

// Another program holds the port's lock for a moment; the window, closed while its open waits
// that out, stays until the open has returned and then goes.
TEST_F(Felsquell, closingWhileTheOpenWaitsForAnotherProgramsLockClosesAfterTheOpen)
{
    starten(kZaehler);
    QProcess halter;
    halter.start(QStringLiteral(PORT_HALTER_BEFEHL), {m_sim->geraet()});
    ASSERT_TRUE(halter.waitForReadyRead(5000));
    ASSERT_EQ(halter.readLine().trimmed(), QByteArray("offen"));
    QPointer<frmMBusFelsquell> fenster = m_fenster.release();
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    bool imKlick = true;
    bool imKlickGeloescht = false;
    QObject::connect(fenster, &QObject::destroyed, [&] { imKlickGeloescht = imKlick; });
    QTimer::singleShot(100, fenster, [&] {
        EXPECT_FALSE(fenster->close());
        halter.write("\n");
    });
    fenster->cmdComOpen->click();
    imKlick = false;
    EXPECT_FALSE(imKlickGeloescht);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(fenster.isNull());
    // The other program may have ended during the wait already.
    halter.waitForFinished(5000);
    EXPECT_EQ(halter.state(), QProcess::NotRunning);
    EXPECT_EQ(halter.exitCode(), 0);
}

TEST_F(Felsquell, endOfTheProgramDuringTheExchangeAsksNothing)
{
    starten(kZaehler + QStringLiteral("fehler ohne_daten\n"));
    oeffnen();
    auto* uhr = new QTimer(m_fenster.get());
    QElapsedTimer seitReqUd2;
    QObject::connect(uhr, &QTimer::timeout, [&] {
        if (gesendet().size() < 2)
            return;
        // The REQ_UD2 has left the wire (a few ms): its read waits now.
        if (!seitReqUd2.isValid())
            seitReqUd2.start();
        if (seitReqUd2.elapsed() < 100)
            return;
        uhr->stop();
        ProgrammEndeMelden();
    });
    uhr->start(5);
    senden(kPreset9);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_EQ(logZeilen().value(0), kJetzt + QStringLiteral("\tRead \tFEHLER keine Antwort."));
    ProgrammEndeZuruecksetzen();
}

using FelsquellStart = TestfensterUmgebung;

TEST_F(FelsquellStart, loadingWithoutAHookShowsTheTestWindow)
{
    const auto testfenster = [] {
        QList<frmMBustest*> gefunden;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<frmMBustest*>(w); f && f->isVisible())
                gefunden << f;
        return gefunden;
    };
    ASSERT_TRUE(testfenster().isEmpty());
    frmMBusFelsquell fenster;
    const QList<frmMBustest*> gezeigt = testfenster();
    ASSERT_EQ(gezeigt.size(), 1);
    EXPECT_EQ(gezeigt[0]->windowTitle(), QStringLiteral("Telvarin"));
    delete gezeigt[0];
}
