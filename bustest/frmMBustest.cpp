#include "frmMBustest.h"

#include "EditorStart.h"
#include "TestfensterAufbau.h"
#include "TestfensterRegeln.h"
#include "bustest/hilfe/Begleitfenster.h"
#include "platform/Meldung.h"
#include "settings/Einstellungen.h"
#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Ends the program: every window goes at once, without asking any of them.
void ProgrammBeenden()
{
    for (QWidget* fenster : QApplication::topLevelWidgets())
        fenster->hide();
    QCoreApplication::exit(0);
}

} // namespace

frmMBustest::frmMBustest(QWidget* parent)
    : QMainWindow(parent), m_einstellungen(kZepIni),
      m_ende([this] { portsSchliessen(); }, ProgrammBeenden)
{
    setWindowTitle(QStringLiteral("Telvarin"));
    aufbauen();
    // A bus operation turned away while another runs says so in the line under the title, until
    // the running one has ended.
    m_ende.abweisungAnzeigen([this, text = m_ui.Label12->text()](bool laeuftNoch) {
        m_ui.Label12->setText(laeuftNoch ? kNichtGestartet : text);
    });
    verbinden();
    startZustandHerstellen();
    Form_Load();
}

frmMBustest::~frmMBustest() = default;

void frmMBustest::aufbauen()
{
    MenueAufbauen(m_ui, *this);
    auto* mitte = new QWidget(this);
    auto* zeile = new QHBoxLayout(mitte);
    // Narrow margins around the views leave their grids room on a small screen.
    constexpr int kRand = 6;
    zeile->setContentsMargins(kRand, kRand, kRand, kRand);

    // The bus view and the meter view lie in one place; only one of them is visible.
    m_ui.Ansichten = new QWidget(mitte);
    auto* platz = new QGridLayout(m_ui.Ansichten);
    platz->setContentsMargins(0, 0, 0, 0);
    for (QGroupBox* ansicht :
         {BusAnsichtAufbauen(m_ui, m_ui.Ansichten), ZaehlerAnsichtAufbauen(m_ui, m_ui.Ansichten)}) {
        ansicht->layout()->setContentsMargins(kRand, kRand, kRand, kRand);
        platz->addWidget(ansicht, 0, 0);
    }

    // The side column keeps the width its widest control needs (the telegram dump); the views
    // take the rest.
    QWidget* kopf = KopfbereichAufbauen(m_ui, mitte);
    kopf->setFixedWidth(kopf->minimumSizeHint().width());
    zeile->addWidget(m_ui.Ansichten, 1);
    zeile->addWidget(kopf);
    setCentralWidget(mitte);
    // 1280x800; on a smaller screen as much of it as the screen holds with the frame.
    resize(1280, 800);
    BeimZeigenEinpassen(*this);
}

void frmMBustest::startZustandHerstellen()
{
    for (QWidget* verborgen : std::initializer_list<QWidget*>{
             m_ui.Frame6, m_ui.Frame8, m_ui.Frame9, m_ui.Frame10, m_ui.Frame11, m_ui.cmdStop,
             m_ui.cmdSekSuchenAlleAbbrechen, m_ui.cmd_AutoPrimaer, m_ui.cmdImportIndexe,
             m_ui.cmdImportAlleIndexe, m_ui.cmdImport, m_ui.cmdImporttxt, m_ui.cmdDatenbankEintrag,
             m_ui.cmdTabSenden, m_ui.Command2})
        verborgen->hide();
}

void frmMBustest::verbinden()
{
    auto& e = m_ui;
    connect(e.mnuEnde, &QAction::triggered, this, &frmMBustest::mnuEnde_Click);
    connect(e.mnuZaehlerLesen, &QAction::triggered, this, &frmMBustest::mnuZaehlerLesen_Click);
    connect(e.mnuImportIni, &QAction::triggered, this, &frmMBustest::mnuImportIni_Click);
    connect(e.mnu_openhelp, &QAction::triggered, this, &frmMBustest::mnu_openhelp_Click);
    connect(e.mnu_about, &QAction::triggered, this, &frmMBustest::mnu_about_Click);
    connect(e.cmdend, &QPushButton::clicked, this, &frmMBustest::cmdend_Click);

    connect(e.Combo1, &QComboBox::activated, this, &frmMBustest::Combo1_Click);
    connect(e.Combo2, &QComboBox::activated, this, &frmMBustest::Combo2_Click);
    connect(e.Combo3, &QComboBox::activated, this, &frmMBustest::Combo3_Click);
    connect(e.Combo4, &QComboBox::activated, this, &frmMBustest::Combo4_Click);
    connect(e.Combo7, &QComboBox::activated, this, &frmMBustest::Combo7_Click);
    connect(e.Combo8, &QComboBox::activated, this, &frmMBustest::Combo8_Click);
    for (int i = 0; i < static_cast<int>(e.Text1.size()); ++i)
        connect(e.Text1[static_cast<size_t>(i)], &QLineEdit::textEdited, this,
                [this, i] { Text1_Change(i); });
    connect(e.Text4, &QLineEdit::textEdited, this, &frmMBustest::Text4_Change);
    for (int i = 0; i < static_cast<int>(e.Text7.size()); ++i)
        connect(e.Text7[static_cast<size_t>(i)], &QLineEdit::textEdited, this,
                [this, i] { Text7_Change(i); });
    for (QLineEdit* feld : e.Text6)
        feld->installEventFilter(this);

    connect(e.cmdSecPrimSuchen, &QPushButton::clicked, this, &frmMBustest::cmdSecPrimSuchen_Click);
    connect(e.cmdSecAdrStop, &QPushButton::clicked, this, &frmMBustest::cmdSecAdrStop_Click);
    connect(e.cmdstartAuslesen, &QPushButton::clicked, this, &frmMBustest::cmdstartAuslesen_Click);
    connect(e.cmdSecLesen, &QPushButton::clicked, this, &frmMBustest::cmdSecLesen_Click);
    connect(e.cmdAuslesen1bis50, &QPushButton::clicked, this,
            &frmMBustest::cmdAuslesen1bis50_Click);
    connect(e.cmdStop, &QPushButton::clicked, this, &frmMBustest::cmdStop_Click);
    connect(e.cmdSekSuchenAlle, &QPushButton::clicked, this, &frmMBustest::cmdSekSuchenAlle_Click);
    connect(e.cmdSekSuchenAlleAbbrechen, &QPushButton::clicked, this,
            &frmMBustest::cmdSekSuchenAlleAbbrechen_Click);
    connect(e.cmd_AutoPrimaer, &QPushButton::clicked, this, &frmMBustest::cmd_AutoPrimaer_Click);
    connect(e.cmd_SetPrimSingle, &QPushButton::clicked, this,
            &frmMBustest::cmd_SetPrimSingle_Click);
    connect(e.Command3, &QPushButton::clicked, this, &frmMBustest::Command3_Click);
    connect(e.Command4, &QPushButton::clicked, this, &frmMBustest::Command4_Click);
    connect(e.MSFlexGrid1, &FlexGridWidget::geklickt, this, &frmMBustest::MSFlexGrid1_Click);
    connect(e.Command2, &QPushButton::clicked, this, &frmMBustest::Command2_Click);
    connect(e.MSFlexGrid1, &FlexGridWidget::doppelGeklickt, this,
            &frmMBustest::MSFlexGrid1_DblClick);
    for (int i = 0; i < static_cast<int>(e.Text8.size()); ++i)
        connect(e.Text8[static_cast<size_t>(i)], &QLineEdit::textChanged, this,
                [this, i] { Text8_Change(i); });
    Text8_Change(0); // the checksum of the frame the boxes start with
    connect(e.cmdMoWaehlen, &QPushButton::clicked, this, &frmMBustest::cmdMoWaehlen_Click);
    connect(e.cmdMoLesen, &QPushButton::clicked, this, &frmMBustest::cmdMoLesen_Click);
    connect(e.cmdMoAuflegen, &QPushButton::clicked, this, &frmMBustest::cmdMoAuflegen_Click);
    connect(e.cmdSpeichern, &QPushButton::clicked, this, &frmMBustest::cmdSpeichern_Click);
    connect(e.cmdImporttxt, &QPushButton::clicked, this, &frmMBustest::cmdImporttxt_Click);
    connect(e.cmdImportListeAbbrechen, &QPushButton::clicked, this,
            &frmMBustest::cmdImportListeAbbrechen_Click);
    connect(e.cmdZwischen, &QPushButton::clicked, this, &frmMBustest::cmdZwischen_Click);
    connect(e.Command1, &QPushButton::clicked, this, &frmMBustest::Command1_Click);
    connect(e.File1, &QListWidget::itemClicked, this, &frmMBustest::File1_Click);
    connect(e.File1, &QListWidget::itemDoubleClicked, this, &frmMBustest::File1_DblClick);
    connect(e.cmdImport, &QPushButton::clicked, this, &frmMBustest::cmdImport_Click);
    connect(e.cmdImportIndexe, &QPushButton::clicked, this, &frmMBustest::cmdImportIndexe_Click);
    connect(e.cmdImportAlleIndexe, &QPushButton::clicked, this,
            &frmMBustest::cmdImportAlleIndexe_Click);
    connect(e.cmdDatenbankEintrag, &QPushButton::clicked, this,
            &frmMBustest::cmdDatenbankEintrag_Click);
}

void frmMBustest::Frame4Frame6Zeigen(bool busAnsicht)
{
    m_ui.Frame4->setVisible(busAnsicht);
    m_ui.Frame6->setVisible(!busAnsicht);
}

void frmMBustest::mnuZaehlerLesen_Click()
{
    const bool busAnsicht = BusAnsichtNachWechsel(m_ui.mnuZaehlerLesen->text());
    Frame4Frame6Zeigen(busAnsicht);
    m_ui.mnuZaehlerLesen->setText(busAnsicht ? kAnsichtBus : kAnsichtZaehler);
}

void frmMBustest::ZeigeZaehlerRahmen()
{
    Frame4Frame6Zeigen(true);
}

void frmMBustest::mnuImportIni_Click()
{
    const QString datei = QStringLiteral("MBusImportIndex.txt");
    if (!TextdateiImEditorOeffnen(datei))
        MsgBox(QStringLiteral("Für ") + datei +
                   QStringLiteral(" konnte kein Texteditor gestartet werden."),
               vbExclamation);
}

void frmMBustest::mnu_openhelp_Click()
{
    HilfeZeigen(m_ui.mnuZaehlerLesen->text());
}

void frmMBustest::mnu_about_Click()
{
    InfoZeigen(this);
}

// Ending the program: the shutdown flag stops a running loop of this window; once it has
// returned (its port closed) the drivers' ports are closed and every window goes.
void frmMBustest::mnuEnde_Click()
{
    m_ende.beenden();
}

void frmMBustest::cmdend_Click()
{
    // The name-bound driver is closed and released, but not under a loop that still uses it.
    m_racFreigeben = true;
    m_ui.Frame4->hide();
    m_ende.beenden();
}

void frmMBustest::portsSchliessen()
{
    if (m_racFreigeben)
        m_treiber.racServerSchliessen();
    m_treiber.allePortsSchliessen();
}

void frmMBustest::closeEvent(QCloseEvent* ereignis)
{
    if (!m_ende.beendet())
        m_ende.beenden();
    // While a loop still runs the window stays until the loop has returned.
    if (m_ende.beendet())
        ereignis->accept();
    else
        ereignis->ignore();
}

bool frmMBustest::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < static_cast<int>(m_ui.Text6.size()); ++i)
            if (objekt == m_ui.Text6[static_cast<size_t>(i)]) {
                Text6_DblClick(i);
                return true;
            }
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}
