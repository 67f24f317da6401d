// The TCP link test window against the simulator behind a TCP port and against plain servers.

#include "bustest/tcp/frmTCPMBus.h"
#include "bustest/tcp/TcpMBus.h"

#include "platform/Cp1252.h"
#include "support/TestUmgebung.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A device server in the test's own thread: records what comes, answers through a function
// (nothing: silent) and greets each connection with begruessung.
class Geraeteserver
{
public:
    explicit Geraeteserver(std::function<QByteArray(const QByteArray&)> antwort = {})
        : m_antwort(std::move(antwort))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                ++verbindungen;
                m_verbindung = s;
                s->write(begruessung);
                QObject::connect(s, &QTcpSocket::readyRead, [this, s] {
                    const QByteArray teil = s->readAll();
                    empfangen += teil;
                    if (m_antwort)
                        s->write(m_antwort(teil));
                });
                QObject::connect(s, &QTcpSocket::disconnected, [this] { ++trennungen; });
            }
        });
    }
    QString port() const { return QString::number(m_server.serverPort()); }

    QByteArray begruessung;
    QByteArray empfangen;
    int verbindungen = 0;
    int trennungen = 0;

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_verbindung;
    std::function<QByteArray(const QByteArray&)> m_antwort;
};

// Runs the event loop until the condition holds (at most five seconds).
bool Bis(const std::function<bool()>& bedingung)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!bedingung() && uhr.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return bedingung();
}

class TextWert : public Textfeld
{
public:
    QString text() const override { return wert; }
    void setText(const QString& text) override { wert = text; }
    QString wert;
};

class TcpFenster : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_fenster = std::make_unique<frmTCPMBus>();
        m_fenster->show();
        m_fenster->Text1->setText(QStringLiteral("127.0.0.1"));
    }
    void TearDown() override
    {
        m_fenster.reset();
        TestUmgebung::TearDown();
    }

    bool verbinden(const QString& port)
    {
        m_fenster->Text2->setText(port);
        m_fenster->cmdTCPConnect->click();
        return m_fenster->Label4->text() == QStringLiteral("7");
    }
    // The window's reply box after sending the telegram text.
    QString senden(const QString& telegramm)
    {
        m_fenster->Text3->setText(telegramm);
        m_fenster->cmdTCPSend->click();
        return m_fenster->Text4->toPlainText();
    }
    bool verbundenGezeigt() const
    {
        return m_fenster->cmdTCPClose->isVisible() && !m_fenster->cmdTCPConnect->isVisible();
    }

    std::unique_ptr<frmTCPMBus> m_fenster;
};

} // namespace

TEST_F(TcpFenster, designTelegramReadsTheSimulatedMeterBehindMbusSimTcp)
{
    schreiben(QStringLiteral("tcp.bus"),
              "zaehler adresse=10 id=12345678 hersteller=LUG version=07 medium=04 baud=2400\n"
              "satz 0406 A0860100\nsatz 0C13 45230100\n");
    QProcess sim;
    sim.start(MBUS_SIM_BEFEHL, {"--tcp", "0", "--protokoll", pfad("tcp.bus")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString adresse = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(adresse.startsWith(QStringLiteral("127.0.0.1:"))) << qPrintable(adresse);

    ASSERT_TRUE(verbinden(adresse.section(QLatin1Char(':'), 1)));
    EXPECT_TRUE(verbundenGezeigt());
    EXPECT_EQ(m_fenster->Text3->text(), QStringLiteral("10;7B;0A;85;16;"));
    const QString antwort = senden(m_fenster->Text3->text());

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    const QStringList protokoll = QString::fromLocal8Bit(sim.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(protokoll.size(), 2);
    EXPECT_EQ(protokoll[0], QStringLiteral("<- 2400 Bd: 10 7B 0A 85 16"));
    ASSERT_TRUE(protokoll[1].startsWith(QStringLiteral("-> 68 ")));
    // the whole long frame, which comes byte by byte at the line's pace
    const QByteArray gesendet = QByteArray::fromHex(protokoll[1].mid(3).toLatin1());
    EXPECT_EQ(antwort, TcpVerbindungstest::AntwortText(gesendet));
    EXPECT_TRUE(antwort.startsWith(QStringLiteral("68;"))) << qPrintable(antwort);
    EXPECT_TRUE(antwort.endsWith(QStringLiteral(";16;"))) << qPrintable(antwort);
    EXPECT_TRUE(antwort.contains(QStringLiteral("78;56;34;12;"))) << qPrintable(antwort);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(TcpFenster, silentServerShowsKeineAntwort)
{
    Geraeteserver server;
    m_fenster->test().zeitlimitsSetzen(1, 0.3);
    ASSERT_TRUE(verbinden(server.port()));
    EXPECT_EQ(senden(QStringLiteral("10;7B;0A;85;16;")), QStringLiteral("Keine Antwort"));
    EXPECT_EQ(server.empfangen, QByteArray::fromHex("107B0A8516"));
}

TEST_F(TcpFenster, noServerShowsTheMessageAndKeepsTheButtons)
{
    QString port;
    {
        Geraeteserver weg;
        port = weg.port();
    }
    EXPECT_FALSE(verbinden(port));
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0], QStringLiteral("Verbindung konnte nicht erstellt werden.\r"
                                                   "Bitte versuchen Sie es erneut."));
    EXPECT_EQ(m_meldungen.titel_[0], QStringLiteral("Comtest"));
    EXPECT_EQ(m_fenster->Label4->text(), QStringLiteral("0"));
    EXPECT_TRUE(m_fenster->cmdTCPConnect->isVisible());
    EXPECT_FALSE(m_fenster->cmdTCPClose->isVisible());
    EXPECT_EQ(m_meldungen.zeiger_, (QList<int>{vbHourglass, vbDefault}));
}

TEST_F(TcpFenster, portWithoutNumberBecomes10001)
{
    for (const QString& port :
         {QString(), QStringLiteral("0"), QStringLiteral(" 0 "), QStringLiteral("abc")}) {
        m_fenster->test().zeitlimitsSetzen(0.2, 0.2);
        verbinden(port);
        EXPECT_EQ(m_fenster->Text2->text(), QStringLiteral("10001")) << qPrintable(port);
        m_fenster->cmdTCPClose->click();
    }
}

TEST_F(TcpFenster, telegramFieldsAreCheckedAndBytesStayBytes)
{
    Geraeteserver echo([](const QByteArray& teil) { return teil; });
    ASSERT_TRUE(verbinden(echo.port()));
    const struct
    {
        const char* telegramm;
        const char* antwort; // "" : refused with a message, nothing sent
    } faelle[] = {
        {"10;7B;0A;85;16", "10;7B;A;85;16;"}, // the last field needs no ";"
        {"80;9F;8;e5;", "80;9F;8;E5;"},
        {" 10 ; 5B ;", "10;5B;"},
        {"10;7B;100;", ""},
        {"10;;7B;", ""},
        {"10;G1;", ""},
        {"", ""},
    };
    for (const auto& f : faelle) {
        echo.empfangen.clear();
        m_meldungen.texte.clear();
        const QString antwort = senden(QString::fromLatin1(f.telegramm));
        EXPECT_EQ(antwort, QString::fromLatin1(f.antwort)) << f.telegramm;
        EXPECT_EQ(m_meldungen.texte.isEmpty(), *f.antwort != 0) << f.telegramm;
        if (!*f.antwort) {
            EXPECT_TRUE(echo.empfangen.isEmpty()) << f.telegramm;
        }
    }
    EXPECT_EQ(m_meldungen.texte.value(0), QStringLiteral("Kein Telegramm eingegeben."));
}

TEST_F(TcpFenster, sendingWithoutConnectionGivesAMessage)
{
    EXPECT_EQ(senden(QStringLiteral("10;7B;0A;85;16;")), QString());
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0], TcpVerbindungstest::kNichtVerbunden);
}

TEST_F(TcpFenster, closeReallyClosesAndASecondConnectKeepsTheConnection)
{
    Geraeteserver server([](const QByteArray&) { return QByteArray("\xE5", 1); });
    ASSERT_TRUE(verbinden(server.port()));
    const quint16 lokal = m_fenster->Winsock1().localPort();
    TextWert status;
    double zeitlimit = 0;
    EXPECT_EQ(TCPConnect(m_fenster->Winsock1(), server.port(), QStringLiteral("127.0.0.1"),
                         zeitlimit, status),
              0);
    EXPECT_EQ(zeitlimit, 2.0);
    EXPECT_EQ(m_fenster->Winsock1().localPort(), lokal);
    EXPECT_EQ(server.verbindungen, 1);
    EXPECT_EQ(senden(QStringLiteral("10;40;1;41;16;")), QStringLiteral("E5;"));

    m_fenster->cmdTCPClose->click();
    EXPECT_EQ(m_fenster->test().statusText(), QStringLiteral("Close"));
    EXPECT_EQ(m_fenster->Label4->text(), QStringLiteral("0"));
    EXPECT_FALSE(verbundenGezeigt());
    EXPECT_TRUE(Bis([&] { return server.trennungen == 1; }));
}

TEST_F(TcpFenster, aLateReplyWaitingBeforeTheSendIsNotTakenForTheAnswer)
{
    Geraeteserver server([](const QByteArray&) { return QByteArray("\xE5", 1); });
    server.begruessung = QByteArray::fromHex("68FFFF");
    ASSERT_TRUE(verbinden(server.port()));
    ASSERT_TRUE(Bis([&] { return m_fenster->Winsock1().bytesAvailable() == 3; }));
    EXPECT_EQ(senden(QStringLiteral("10;7B;0A;85;16;")), QStringLiteral("E5;"));
}

TEST_F(TcpFenster, sendStringCollectsUntilTheLengthOrDropsTheReplyWhenOnlySending)
{
    Geraeteserver echo([](const QByteArray& teil) { return teil + teil; });
    ASSERT_TRUE(verbinden(echo.port()));
    Winsock& socket = m_fenster->Winsock1();
    QByteArray antwort("alt");
    double zeitlimit = 0;
    EXPECT_EQ(TCP_SendString(socket, QByteArray::fromHex("E580"), 4, zeitlimit, antwort, false), 0);
    EXPECT_EQ(zeitlimit, 0.2);
    EXPECT_EQ(antwort, QByteArray::fromHex("E580E580"));

    zeitlimit = 5;
    EXPECT_EQ(TCP_SendString(socket, QByteArray::fromHex("16"), 0, zeitlimit, antwort, true), 0);
    EXPECT_TRUE(antwort.isEmpty());
    ASSERT_TRUE(Bis([&] { return echo.empfangen.size() == 3; }));
    EXPECT_EQ(echo.empfangen, QByteArray::fromHex("E58016"));
}

TEST_F(TcpFenster, closeWaitsWhileASendRuns)
{
    Geraeteserver stumm;
    m_fenster->test().zeitlimitsSetzen(1, 0.5);
    ASSERT_TRUE(verbinden(stumm.port()));
    bool versucht = false;
    QTimer::singleShot(50, m_fenster.get(), [&] {
        versucht = true;
        m_fenster->cmdTCPClose->click();
        EXPECT_TRUE(m_fenster->test().beschaeftigt());
        EXPECT_TRUE(verbundenGezeigt());
    });
    EXPECT_EQ(senden(QStringLiteral("10;7B;0A;85;16;")), QStringLiteral("Keine Antwort"));
    EXPECT_TRUE(versucht);
    EXPECT_EQ(m_fenster->Winsock1().State(), 7);
}

TEST_F(TcpFenster, closingTheWindowDuringAConnectEndsItWithoutAMessage)
{
    // A listener whose queue is full: the kernel leaves the next connect waiting.
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t laenge = sizeof adresse;
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&adresse), laenge), 0);
    ASSERT_EQ(::listen(server, 0), 0);
    ::getsockname(server, reinterpret_cast<sockaddr*>(&adresse), &laenge);
    int voll[2];
    for (int& s : voll) {
        s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(s, reinterpret_cast<sockaddr*>(&adresse), laenge);
    }
    m_fenster->test().zeitlimitsSetzen(5, 1);
    m_fenster->Text2->setText(QString::number(ntohs(adresse.sin_port)));
    QString status;
    QTimer::singleShot(200, m_fenster.get(), [&] {
        status = m_fenster->Label4->text();
        m_fenster->close();
    });
    m_fenster->cmdTCPConnect->click();
    for (const int s : voll)
        ::close(s);
    ::close(server);
    if (status != TcpMBus::kWarte)
        GTEST_SKIP() << "the connect did not wait: " << qPrintable(status);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_FALSE(m_fenster->isVisible());
    EXPECT_EQ(m_fenster->Winsock1().State(), 0);
}

TEST_F(TcpFenster, connectRefusesWhileOneWaitsAndLogsItsRunTimeErrors)
{
    Winsock socket;
    TextWert status;
    status.wert = TcpMBus::kWarte;
    double zeitlimit = 1;
    EXPECT_EQ(
        TCPConnect(socket, QStringLiteral("10001"), QStringLiteral("127.0.0.1"), zeitlimit, status),
        -1);
    EXPECT_EQ(socket.state(), QAbstractSocket::UnconnectedState);

    for (const QString& port : {QStringLiteral("70000"), QStringLiteral("x")}) {
        status.wert.clear();
        EXPECT_EQ(TCPConnect(socket, port, QStringLiteral("127.0.0.1"), zeitlimit, status), -1);
        EXPECT_EQ(status.wert, QStringLiteral("Error"));
    }
    const QString log = Cp1252ZuText(lesen(QStringLiteral("261205ed.log")));
    EXPECT_EQ(log.count(QStringLiteral("Fehler in TCPConnect : Ungültige Portnummer")), 2)
        << qPrintable(log);
}

TEST_F(TcpFenster, stateTexts)
{
    const QStringList texte = {QStringLiteral("Close"),
                               QStringLiteral("Open"),
                               QStringLiteral("Listen"),
                               QStringLiteral("Verbindung anstehend"),
                               QStringLiteral("Host-Name wird aufgelöst"),
                               QStringLiteral("Host-Name wurde aufgelöst"),
                               QStringLiteral("Verbinden"),
                               QStringLiteral("Verbunden"),
                               QStringLiteral("Partner schließt die Verbindung"),
                               QStringLiteral("Fehler"),
                               QString()};
    for (int i = 0; i < texte.size(); ++i)
        EXPECT_EQ(GetWinsockStatusTxt(i), texte[i]) << i;
    EXPECT_EQ(GetWinsockStatusTxt(-1), QString());
    EXPECT_EQ(GetWinsockStatusTxt(m_fenster->Winsock1()), QStringLiteral("Close"));
}
