#include "frmMbusmasterV4Alle.h"

#include "bustest/frmMBustest.h"
#include "master/ComboAuswahl.h"
#include "master/dienste/MasterTreiber.h"
#include "master/importlog/frmImportLogFile.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

// Ends the program at once: every window goes, the event loop ends (also when it has not
// started yet).
void ProgrammBeenden()
{
    for (QWidget* fenster : QApplication::topLevelWidgets())
        fenster->hide();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Vorholen(QWidget* fenster)
{
    if (!fenster)
        return;
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

} // namespace

frmMbusmasterV4Alle::frmMbusmasterV4Alle(MasterStarter starter, std::function<void()> endeAktion,
                                         QWidget* eltern)
    : QMainWindow(eltern), m_uebersicht(std::move(starter)),
      m_endeAktion(endeAktion ? std::move(endeAktion) : std::function<void()>(ProgrammBeenden)),
      m_import([] {
          auto* fenster = new frmImportLogFile();
          fenster->setAttribute(Qt::WA_DeleteOnClose);
          return fenster;
      }),
      m_test([] {
          // The test window shows itself when loaded.
          auto* fenster = new frmMBustest();
          fenster->setAttribute(Qt::WA_DeleteOnClose);
          return fenster;
      })
{
    aufbauen();
    Form_Load();
}

frmMbusmasterV4Alle::~frmMbusmasterV4Alle() = default;

void frmMbusmasterV4Alle::aufbauen()
{
    setWindowTitle(QStringLiteral("ZEP MBus-Master V4.1"));

    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    mnuDatei = datei->menuAction();
    mnuEnde = datei->addAction(QStringLiteral("&Beenden"));
    MnuZaehler = menuBar()->addAction(QStringLiteral("&Zählerliste"));
    mnuImportLogFile = menuBar()->addAction(QStringLiteral("&Import LogFile"));
    mnuMBusTest = menuBar()->addAction(QStringLiteral("MBus-Test"));

    auto* mitte = new QWidget(this);
    auto* spalte = new QVBoxLayout(mitte);
    auto* kopf = new QGridLayout;
    const char* const feste[] = {"Datenbank :", "Daten :", "Uhr", "Pfad :"};
    for (size_t i = 0; i < Label5.size(); ++i)
        Label5[i] = new QLabel(QString::fromUtf8(feste[i]), mitte);
    for (QLabel*& label : Label4) {
        label = new QLabel(mitte);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    Combo1 = new QComboBox(mitte);
    kopf->addWidget(Label5[0], 0, 0);
    kopf->addWidget(Label4[0], 0, 1);
    kopf->addWidget(Label5[1], 1, 0);
    kopf->addWidget(Label4[1], 1, 1);
    kopf->addWidget(Label5[3], 2, 0);
    kopf->addWidget(Combo1, 2, 1, Qt::AlignLeft);
    kopf->addWidget(Label5[2], 0, 2, Qt::AlignRight);
    kopf->setColumnStretch(1, 1);
    spalte->addLayout(kopf);

    Frame1 = new QGroupBox(QStringLiteral("Übersicht"), mitte);
    auto* rahmen = new QVBoxLayout(Frame1);
    MSFlexGrid1 = new FlexGridWidget(Frame1);
    rahmen->addWidget(MSFlexGrid1);
    spalte->addWidget(Frame1, 1);
    setCentralWidget(mitte);
    resize(760, 360);
    BeimZeigenEinpassen(*this);

    connect(mnuEnde, &QAction::triggered, this, &frmMbusmasterV4Alle::mnuEnde_Click);
    connect(MnuZaehler, &QAction::triggered, this, &frmMbusmasterV4Alle::MnuZaehler_Click);
    connect(mnuImportLogFile, &QAction::triggered, this,
            &frmMbusmasterV4Alle::mnuImportLogFile_Click);
    connect(mnuMBusTest, &QAction::triggered, this, &frmMbusmasterV4Alle::mnuMBusTest_Click);
    connect(Combo1, &QComboBox::activated, this, &frmMbusmasterV4Alle::Combo1_Click);
    connect(MSFlexGrid1, &FlexGridWidget::geklickt, this, &frmMbusmasterV4Alle::MSFlexGrid1_Click);
}

void frmMbusmasterV4Alle::Form_Load()
{
    // 1. and 2.
    m_uebersicht.pfadeLesen();
    Label4[0]->setText(Uebersicht::datenbankText());
    Label4[1]->setText(Uebersicht::datenText());
    // 3.
    init();
    // 4. No meter, or a database that does not answer: the program ends.
    if (MB_ComPortGetAnz(*MSFlexGrid1) <= 0) {
        QString text = QStringLiteral("Keine MBuszähler gefunden.");
        if (!FehlerText.isEmpty())
            text += QLatin1Char('\r') + FehlerText;
        MsgBox(text, vbOKOnly, windowTitle());
        beenden();
        return;
    }
    // 5.
    ComboAuswahl liste(*Combo1);
    MB_OleProvider = MB_ProviderListeLaden(liste, 0);
    LoadMBusPovider(MB_OleProvider);
    // 6.
    if (Uebersicht::autoStart()) {
        for (int zeile = 1; zeile < MSFlexGrid1->Rows(); ++zeile) {
            MSFlexGrid1->setRow(zeile);
            MSFlexGrid1_Click();
        }
        setWindowState(Qt::WindowNoState);
    }
}

void frmMbusmasterV4Alle::LoadMBusPovider(int treiberNummer)
{
    ::LoadMBusPovider(treiberNummer);
}

void frmMbusmasterV4Alle::init()
{
    m_uebersicht.init();
}

int frmMbusmasterV4Alle::MB_ComPortGetAnz(FlexGridWidget& grid)
{
    return m_uebersicht.MB_ComPortGetAnz(grid);
}

void frmMbusmasterV4Alle::MSFlexGrid1_Click()
{
    m_uebersicht.zeileStarten(*MSFlexGrid1, MSFlexGrid1->Row());
}

void frmMbusmasterV4Alle::Combo1_Click()
{
    const QVariant daten = Combo1->currentData();
    if (!daten.isValid())
        return;
    MB_OleProvider = daten.toInt();
    ProfilSchreiben(Mandant + QStringLiteral("MBus0"), QStringLiteral("OleProvider"),
                    QString::number(MB_OleProvider), kZepIni);
}

void frmMbusmasterV4Alle::mnuEnde_Click()
{
    beenden();
}

void frmMbusmasterV4Alle::MnuZaehler_Click()
{
    Sanduhr sanduhr;
}

void frmMbusmasterV4Alle::mnuImportLogFile_Click()
{
    Sanduhr sanduhr;
    Vorholen(m_import.holen());
}

void frmMbusmasterV4Alle::mnuMBusTest_Click()
{
    Sanduhr sanduhr;
    Vorholen(m_test.holen());
}

void frmMbusmasterV4Alle::beenden()
{
    if (m_beendet)
        return;
    m_beendet = true;
    // A loop still running in a window opened from here (a scan of the test window, an
    // import) stops at its next wait and closes its port, instead of running on unseen.
    ProgrammEndeMelden();
    m_endeAktion();
}

void frmMbusmasterV4Alle::closeEvent(QCloseEvent* ereignis)
{
    beenden();
    ereignis->accept();
}
