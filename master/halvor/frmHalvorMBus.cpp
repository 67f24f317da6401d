#include "frmHalvorMBus.h"

#include "ui/Bildschirmplatz.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

enum Box { kOhneFunktion = 0, kPort = 1, kOrdner = 2, kAnzahl = 3 };

} // namespace

frmHalvorMBus::frmHalvorMBus(HalvorAuslesung::TreiberFabrik fabrik, QWidget* eltern)
    : QWidget(eltern)
    , m_auslesung(
          HalvorAuslesung::Anzeige{
              [this] { return Text1[kPort]->text(); },
              [this] { return Text1[kAnzahl]->text(); },
              [this](bool laeuft) { laufGeaendert(laeuft); },
          },
          std::move(fabrik))
{
    setWindowTitle(QStringLiteral("Halvor MBus"));

    auto* raster = new QGridLayout(this);
    // Labels beside the boxes they name, top to bottom: port, folder, highest address, timer.
    const struct
    {
        int box;
        const char* text;
    } zeilen[] = {{kPort, "Com : "}, {kOrdner, "Path : "}, {kAnzahl, "Anz : "},
                  {kOhneFunktion, "TimerS : "}};
    int zeile = 0;
    for (const auto& z : zeilen) {
        Label1[static_cast<size_t>(z.box)] = new QLabel(QString::fromUtf8(z.text), this);
        Text1[static_cast<size_t>(z.box)] = new QLineEdit(this);
        raster->addWidget(Label1[static_cast<size_t>(z.box)], zeile, 0);
        raster->addWidget(Text1[static_cast<size_t>(z.box)], zeile, 1);
        ++zeile;
    }
    Text1[kOrdner]->setMinimumWidth(240);
    cmdStart = new QPushButton(QStringLiteral("&Start"), this);
    raster->addWidget(cmdStart, zeile, 1, Qt::AlignRight);
    raster->setColumnStretch(1, 1);
    raster->setRowStretch(zeile + 1, 1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTimerIntervallMs);

    // Load: the folder box before its change handler is wired, so that loading writes nothing.
    Text1[kOrdner]->setText(m_auslesung.laden());
    connect(Text1[kOrdner], &QLineEdit::textChanged, this, [this] { Text1_Change(kOrdner); });
    connect(cmdStart, &QPushButton::clicked, this, &frmHalvorMBus::cmdStart_Click);
    connect(Timer1, &QTimer::timeout, this, &frmHalvorMBus::Timer1_Timer);
    Timer1->start();
    resize(420, 200);
    BeimZeigenEinpassen(*this);
}

frmHalvorMBus::~frmHalvorMBus() = default;

void frmHalvorMBus::AlleMBusZaehlerAuslesen()
{
    m_auslesung.AlleMBusZaehlerAuslesen();
}

void frmHalvorMBus::MBus_AuslesenAlle(int adresse, int port, int baud)
{
    m_auslesung.MBus_AuslesenAlle(adresse, port, baud);
}

void frmHalvorMBus::cmdStart_Click()
{
    AlleMBusZaehlerAuslesen();
}

void frmHalvorMBus::Text1_Change(int index)
{
    if (index == kOrdner)
        m_auslesung.ordnerGeaendert(Text1[kOrdner]->text());
}

void frmHalvorMBus::Timer1_Timer()
{
    m_auslesung.uhrTick();
}

void frmHalvorMBus::closeEvent(QCloseEvent* ereignis)
{
    if (!m_auslesung.laeuft()) {
        Timer1->stop();
        ereignis->accept();
        return;
    }
    // The pass stops after the meter being read (its port and file closed); then the window goes.
    m_schliessenNachLauf = true;
    m_auslesung.anhalten();
    ereignis->ignore();
}

void frmHalvorMBus::laufGeaendert(bool laeuft)
{
    cmdStart->setEnabled(!laeuft);
    if (!laeuft && m_schliessenNachLauf)
        QTimer::singleShot(0, this, &QWidget::close);
}
