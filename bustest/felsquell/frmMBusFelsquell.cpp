#include "frmMBusFelsquell.h"

#include "bustest/hilfe/FrmMBusLog.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "frames/TelegrammText.h"
#include "grid/GridHilfen.h"
#include "lesen/Zaehlerlesen.h"
#include "platform/Meldung.h"
#include "serial/SerielleDienste.h"
#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include "bustest/frmMBustest.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QStringList kBaudraten = {QStringLiteral("19200"), QStringLiteral("9600"),
                                QStringLiteral("4800"),  QStringLiteral("2400"),
                                QStringLiteral("1200"),  QStringLiteral("300")};
constexpr int kPortVorwahl = 3; // "4"
const QString kPulszaehlerSelect =
    QStringLiteral("68 0B 0B 68 53 FD 52 67 02 F7 FF FF FF FF FF FD 16");
constexpr int kLogSpalten = 5;

// The test window, modeless, gone when closed (it shows itself when loaded).
void NeuesTestfenster()
{
    auto* fenster = new frmMBustest();
    fenster->setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace

frmMBusFelsquell::frmMBusFelsquell(std::function<void()> testfensterZeigen, QWidget* eltern)
    : QWidget(eltern, Qt::Window), m_testfensterZeigen(std::move(testfensterZeigen))
{
    aufbauen();
    Form_Load();
}

frmMBusFelsquell::~frmMBusFelsquell() = default;

void frmMBusFelsquell::aufbauen()
{
    setWindowTitle(QStringLiteral("MBus-Master Felsquell"));

    Combo1 = new QComboBox(this);
    Combo2 = new QComboBox(this);
    cmdComOpen = new QPushButton(QStringLiteral("&Open"), this);
    cmdComClose = new QPushButton(QStringLiteral("&Close"), this);
    lb_ComStatus = new QLabel(QStringLiteral("Close"), this);
    lb_ComStatus->setMinimumWidth(140);
    auto* port = new QHBoxLayout;
    port->addWidget(new QLabel(QStringLiteral("Com :"), this));
    port->addWidget(Combo1);
    port->addWidget(new QLabel(QStringLiteral("Baud :"), this));
    port->addWidget(Combo2);
    port->addWidget(cmdComOpen);
    port->addWidget(cmdComClose);
    port->addWidget(lb_ComStatus);
    port->addStretch();

    Combo3 = new QComboBox(this);
    Text1 = new QLineEdit(this);
    Text1->setToolTip(QStringLiteral("Hex-Bytes, getrennt durch \";\" oder Leerzeichen"));
    cmdComSend = new QPushButton(QStringLiteral("&Send"), this);
    auto* telegramm = new QGridLayout;
    telegramm->addWidget(new QLabel(QStringLiteral("Selection Strings :"), this), 0, 0);
    telegramm->addWidget(Combo3, 0, 1);
    telegramm->addWidget(Text1, 1, 0, 1, 2);
    telegramm->addWidget(cmdComSend, 1, 2);
    telegramm->setColumnStretch(1, 1);

    auto* zaehlerdaten = new QGroupBox(QStringLiteral("Zählerdaten"), this);
    auto* felder = new QFormLayout(zaehlerdaten);
    const std::array<QString, 7> beschriftung = {QStringLiteral("Hersteller :"),
                                                 QStringLiteral("Telegramm :"),
                                                 QStringLiteral("A-Feld :"),
                                                 QStringLiteral("Version :"),
                                                 QString(),
                                                 QStringLiteral("Zählernummer :"),
                                                 QStringLiteral("Medium :")};
    Text2_1 = new QPlainTextEdit(zaehlerdaten);
    Text2_1->setReadOnly(true);
    Text2_1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text2_1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (int i : {0, 5, 6, 3, 2, 4}) {
        Text2[static_cast<size_t>(i)] = new QLineEdit(zaehlerdaten);
        Text2[static_cast<size_t>(i)]->setReadOnly(true);
        if (i != 4) // Text2(4) is only ever cleared
            felder->addRow(beschriftung[static_cast<size_t>(i)], Text2[static_cast<size_t>(i)]);
    }
    Text2[4]->hide();
    felder->addRow(beschriftung[1], Text2_1);

    MSFlexGrid1 = new FlexGridWidget(this);

    auto* inhalt = new QHBoxLayout;
    inhalt->addWidget(zaehlerdaten, 1);
    inhalt->addWidget(MSFlexGrid1, 1);
    auto* fenster = new QVBoxLayout(this);
    fenster->addLayout(port);
    fenster->addLayout(telegramm);
    fenster->addLayout(inhalt, 1);
    resize(960, 560);
    BeimZeigenEinpassen(*this);

    cmdComClose->hide();
    cmdComSend->setEnabled(false); // until a port is open
    connect(cmdComOpen, &QPushButton::clicked, this, &frmMBusFelsquell::cmdComOpen_Click);
    connect(cmdComClose, &QPushButton::clicked, this, &frmMBusFelsquell::cmdComClose_Click);
    connect(cmdComSend, &QPushButton::clicked, this, &frmMBusFelsquell::cmdComSend_Click);
}

void frmMBusFelsquell::Form_Load()
{
    for (int i = 0; i < 7; ++i)
        text2Setzen(i, QString());
    for (int port = 1; port <= 16; ++port)
        Combo1->addItem(QString::number(port));
    Combo1->setCurrentIndex(kPortVorwahl);
    Combo2->addItems(kBaudraten);
    Combo2->setCurrentText(QStringLiteral("9600"));
    Combo3->addItems(FelsquellAustausch::kVorgaben);
    Combo3->setCurrentIndex(0);
    Combo3_Click();
    connect(Combo3, &QComboBox::activated, this, &frmMBusFelsquell::Combo3_Click);
    SatzGridVorbereiten(*MSFlexGrid1);

    m_treiber = MBusObjektErzeugen(kTreiberRacX4);
    m_austausch = std::make_unique<FelsquellAustausch>(
        m_comm, *m_treiber->alsRacX4(), *MSFlexGrid1,
        FelsquellAustausch::Anzeige{
            [this](int index, const QString& text) { text2Setzen(index, text); },
            [this] { logZeigen(); },
            [this](const QString& text) { MBusLogFenster(this)->LogZeile(text); },
            [this] { FlexGridSpaltenbreiten(MBusLogFenster(this)->MSFlexGrid1()); }});

    if (m_testfensterZeigen)
        m_testfensterZeigen();
    else
        NeuesTestfenster();
}

QString frmMBusFelsquell::Text2Text(int index) const
{
    if (index == 1)
        return m_text2_1;
    return index >= 0 && index < 7 ? Text2[static_cast<size_t>(index)]->text() : QString();
}

void frmMBusFelsquell::text2Setzen(int index, const QString& text)
{
    if (index == 1) {
        m_text2_1 = text;
        Text2_1->setPlainText(text);
    } else if (index >= 0 && index < 7)
        Text2[static_cast<size_t>(index)]->setText(text);
}

void frmMBusFelsquell::Combo3_Click()
{
    Text1->setText(FelsquellAustausch::TelegrammAusVorgabe(Combo3->currentText()));
}

void frmMBusFelsquell::cmdComOpen_Click()
{
    if (m_oeffnet)
        return;
    m_port = Combo1->currentText().toInt();
    m_baud = Combo2->currentText();
    m_oeffnet = true;
    const int status = ComPortOeffnen(m_comm, m_port, m_baud);
    m_oeffnet = false;
    if (m_schliessenNachOeffnen) {
        if (m_comm.PortOpen())
            m_comm.setPortOpen(false);
        close();
        return;
    }
    if (status != 0) {
        MsgBox(QStringLiteral("Comport ") + QString::number(m_port) +
               QStringLiteral(" konnte nicht geöffnet werden"));
        return;
    }
    cmdComOpen->hide();
    cmdComClose->show();
    cmdComSend->setEnabled(true);
    lb_ComStatus->setText(QStringLiteral("Open ") + m_comm.Settings());
}

void frmMBusFelsquell::cmdComClose_Click()
{
    if (m_austausch->laeuft())
        return;
    if (m_comm.PortOpen())
        m_comm.setPortOpen(false);
    cmdComOpen->show();
    cmdComClose->hide();
    cmdComSend->setEnabled(false);
    lb_ComStatus->setText(QStringLiteral("Close"));
}

void frmMBusFelsquell::cmdComSend_Click()
{
    if (m_austausch->laeuft())
        return;
    cmdComSend->hide();
    cmdComClose->setEnabled(false);
    m_austausch->ausfuehren(Text1->text());
    cmdComClose->setEnabled(true);
    cmdComSend->show();
}

void frmMBusFelsquell::logZeigen()
{
    frmMBusLog* log = MBusLogFenster(this);
    log->MSFlexGrid1().setCols(kLogSpalten);
    // right of this window, as far as the screen allows
    QPoint ort(frameGeometry().right() + 1, frameGeometry().top());
    if (const QScreen* schirm = screen()) {
        const QRect platz = schirm->availableGeometry();
        ort.setX(std::max(platz.left(), std::min(ort.x(), platz.right() + 1 - log->width())));
    }
    log->move(ort);
    log->show();
}

void frmMBusFelsquell::LadeStrings()
{
    for (size_t i = 0; i < m_telegramme.size(); ++i) {
        const QString telegramm =
            FelsquellAustausch::TelegrammAusVorgabe(FelsquellAustausch::kVorgaben[int(i)]);
        QString trenner = QStringLiteral(";");
        m_telegramme[i] = HexToStr(telegramm, trenner);
    }
    m_selectText = kPulszaehlerSelect;
}

// An exchange that runs keeps the window (and its port) until it has ended.
void frmMBusFelsquell::closeEvent(QCloseEvent* ereignis)
{
    if (m_austausch && m_austausch->laeuft()) {
        ereignis->ignore();
        return;
    }
    if (m_oeffnet) {
        m_schliessenNachOeffnen = true;
        ereignis->ignore();
        return;
    }
    ereignis->accept();
}
