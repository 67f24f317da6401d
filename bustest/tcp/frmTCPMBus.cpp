#include "frmTCPMBus.h"

#include "TcpMBus.h"
#include "ui/Bildschirmplatz.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The state label as the status box of a connect.
class LabelFeld : public Textfeld
{
public:
    explicit LabelFeld(QLabel* label) : m_label(label) {}
    QString text() const override { return m_label->text(); }
    void setText(const QString& text) override { m_label->setText(text); }

private:
    QLabel* m_label;
};

} // namespace

frmTCPMBus::frmTCPMBus(QWidget* eltern)
    : QWidget(eltern, Qt::Window), m_socket(new Winsock(this)), m_test(*m_socket)
{
    setWindowTitle(QStringLiteral("Form1"));

    Text1 = new QLineEdit(this);
    Text1->setToolTip(QStringLiteral("Host-Name oder IP-Adresse des Geräteservers"));
    Text2 = new QLineEdit(QStringLiteral("10001"), this);
    Text2->setMaximumWidth(90);
    Text3 = new QLineEdit(QStringLiteral("10;7B;0A;85;16;"), this);
    Text3->setToolTip(QStringLiteral("Telegramm: Hex-Bytes, jedes gefolgt von \";\""));
    Text4 = new QPlainTextEdit(this);
    Text4->setReadOnly(true);
    Text4->setWordWrapMode(QTextOption::WrapAnywhere);
    Text4->setFixedHeight(4 * Text4->fontMetrics().lineSpacing() + 12);
    Label4 = new QLabel(this);
    Label4->setMinimumWidth(90);
    cmdTCPConnect = new QPushButton(QStringLiteral("TCP Connect"), this);
    cmdTCPClose = new QPushButton(QStringLiteral("TCP Close"), this);
    cmdTCPSend = new QPushButton(QStringLiteral("TCP Send"), this);

    auto* raster = new QGridLayout(this);
    raster->addWidget(new QLabel(QStringLiteral("TCP/IP : "), this), 0, 0);
    raster->addWidget(Text1, 0, 1);
    raster->addWidget(new QLabel(QStringLiteral("Port : "), this), 0, 2);
    raster->addWidget(Text2, 0, 3);
    auto* verbindung = new QHBoxLayout;
    verbindung->addWidget(cmdTCPConnect);
    verbindung->addWidget(cmdTCPClose);
    verbindung->addWidget(Label4);
    verbindung->addStretch();
    raster->addLayout(verbindung, 1, 1, 1, 3);
    raster->addWidget(Text3, 2, 0, 1, 4);
    raster->addWidget(cmdTCPSend, 3, 0);
    raster->addWidget(Text4, 4, 0, 1, 4);
    raster->setRowStretch(5, 1);
    raster->setColumnStretch(1, 1);
    resize(560, 240);
    BeimZeigenEinpassen(*this);
    knoepfeZeigen(false);

    connect(cmdTCPConnect, &QPushButton::clicked, this, &frmTCPMBus::cmdTCPConnect_Click);
    connect(cmdTCPClose, &QPushButton::clicked, this, &frmTCPMBus::cmdTCPClose_Click);
    connect(cmdTCPSend, &QPushButton::clicked, this, &frmTCPMBus::cmdTCPSend_Click);
}

void frmTCPMBus::knoepfeZeigen(bool verbunden)
{
    cmdTCPConnect->setVisible(!verbunden);
    cmdTCPClose->setVisible(verbunden);
}

void frmTCPMBus::cmdTCPConnect_Click()
{
    if (m_test.beschaeftigt())
        return;
    cmdTCPConnect->setEnabled(false);
    QString port = Text2->text();
    LabelFeld status(Label4);
    const bool verbunden = m_test.verbinden(port, Text1->text(), status);
    Text2->setText(port);
    cmdTCPConnect->setEnabled(true);
    if (verbunden)
        knoepfeZeigen(true);
    if (m_schliessenAngefragt)
        close();
}

void frmTCPMBus::cmdTCPClose_Click()
{
    if (m_test.beschaeftigt())
        return;
    LabelFeld status(Label4);
    m_test.trennen(status);
    knoepfeZeigen(false);
}

void frmTCPMBus::cmdTCPSend_Click()
{
    if (m_test.beschaeftigt())
        return;
    Text4->clear();
    cmdTCPSend->setEnabled(false);
    const QString antwort = m_test.senden(Text3->text());
    Text4->setPlainText(antwort);
    cmdTCPSend->setEnabled(true);
    if (m_schliessenAngefragt)
        close();
}

// While a connect or a send waits, the socket is cut off (which ends the wait) and the window
// closes when the wait has returned.
void frmTCPMBus::closeEvent(QCloseEvent* ereignis)
{
    if (m_test.beschaeftigt()) {
        m_schliessenAngefragt = true;
        m_test.abbrechen();
        ereignis->ignore();
        return;
    }
    m_socket->Close();
    ereignis->accept();
}
