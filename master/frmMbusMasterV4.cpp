#include "frmMbusMasterV4.h"

#include "database/AllesSchliessen.h"
#include "database/MBConnection.h"
#include "log/Log.h"
#include "master/dienste/MasterDatenbank.h"
#include "master/dienste/MasterLog.h"
#include "master/dienste/MasterMeldungen.h"
#include "master/dienste/MasterTreiber.h"
#include "master/dienste/MasterZaehlerliste.h"
#include "master/dienste/TibboReset.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Uhr.h"
#include "text/Texte.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

QString UnixZeitText(UnixZeit zeit)
{
    return UnixZeitInDatum(zeit).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

// A time-out typed into its box: a whole number in the 32-bit range, else nothing.
std::optional<qint32> TimeoutPruefen(const QString& text)
{
    static const QRegularExpression ganzeZahl(QStringLiteral("^\\s*[+-]?\\d{1,10}\\s*$"));
    if (!ganzeZahl.match(text).hasMatch())
        return std::nullopt;
    const qint64 wert = text.trimmed().toLongLong();
    if (wert < std::numeric_limits<qint32>::min() || wert > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(wert);
}

// A handler the user started: its boxes come up on the screen also in a master started with
// "Auto" (whose own start-up and timed cycles write them to the logs).
template <typename Handler> auto Bedient(Handler handler)
{
    return [handler] {
        const BedienteMeldungen bedient;
        handler();
    };
}

auto Bedient(frmMbusMasterV4* fenster, void (frmMbusMasterV4::*handler)())
{
    return Bedient([fenster, handler] { (fenster->*handler)(); });
}

} // namespace

frmMbusMasterV4::frmMbusMasterV4(std::unique_ptr<DienstSteuerung> dienste, QWidget* parent)
    : QMainWindow(parent), m_einstellungen(std::make_unique<MasterEinstellungen>(0)),
      m_dienste(dienste ? std::move(dienste) : std::make_unique<SystemctlSteuerung>()),
      m_ende([] { MasterTreiberFreigeben(); }, [] { QCoreApplication::exit(0); })
{
    MasterfensterAufbauen(*this, m_ui);
    m_zyklus = std::make_unique<MasterZyklus>(m_z, zyklusFenster());
    m_einzellesen = std::make_unique<MasterEinzellesen>(
        m_z,
        MasterEinzellesenFenster{*m_ui.MSFlexGrid1, *m_ui.MSFlexGrid2, *m_ui.MSFlexGrid4, m_comm1,
                                 [this](bool an) { m_ui.MSFlexGrid2->setVisible(an); },
                                 [this] { return !m_ui.MSFlexGrid2->isHidden(); },
                                 [this](const QString& text) { statusBar()->showMessage(text); },
                                 [this](bool an) {
                                     if (an)
                                         statusBar()->showMessage(kLesenLaeuftNoch);
                                     else if (statusBar()->currentMessage() == kLesenLaeuftNoch)
                                         statusBar()->clearMessage();
                                 },
                                 [this] {
                                     FlexGridWidget& g = *m_ui.MSFlexGrid1;
                                     if (m_zeileVorKlick >= 0 && m_zeileVorKlick < g.Rows())
                                         g.setRow(m_zeileVorKlick);
                                     if (m_spalteVorKlick >= 0 && m_spalteVorKlick < g.Cols())
                                         g.setCol(m_spalteVorKlick);
                                 },
                                 m_ende});
    verbinden();
    Form_Load();
}

frmMbusMasterV4::~frmMbusMasterV4()
{
    m_ui.Timer1->stop();
    MasterTreiberFreigeben();
}

void frmMbusMasterV4::verbinden()
{
    auto& e = m_ui;
    connect(e.Text1, &QLineEdit::textChanged, this, Bedient([this] { Text1_Change(); }));
    for (int i = 0; i < 4; ++i) {
        connect(e.Text4[static_cast<size_t>(i)], &QLineEdit::textChanged, this,
                Bedient([this, i] { Text4_Change(i); }));
        connect(e.Check1[static_cast<size_t>(i)], &QCheckBox::toggled, this,
                Bedient([this, i] { Check1_Click(i); }));
    }
    connect(e.cmdStart, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::cmdStart_Click));
    connect(e.cmdStop, &QPushButton::clicked, this, Bedient(this, &frmMbusMasterV4::cmdStop_Click));
    connect(e.cmdWeiter, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::cmdWeiter_Click));
    connect(e.Timer1, &QTimer::timeout, this, &frmMbusMasterV4::Timer1_Timer);
    connect(e.Combo1, &QComboBox::activated, this, Bedient(this, &frmMbusMasterV4::Combo1_Click));
    connect(e.Combo2, &QComboBox::activated, this, Bedient(this, &frmMbusMasterV4::Combo2_Click));
    e.MSFlexGrid1->viewport()->installEventFilter(this);
    connect(e.MSFlexGrid1, &FlexGridWidget::geklickt, this,
            Bedient([this] { MSFlexGrid1_RowClick(m_ui.MSFlexGrid1->Row()); }));
    connect(e.Combo3, &QComboBox::activated, this, Bedient(this, &frmMbusMasterV4::Combo3_Click));
    connect(e.cmdSpeichernIndexliste, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::cmdSpeichernIndexliste_Click));
    connect(e.TestZaehlerLaden, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::TestZaehlerLaden_Click));
    connect(e.cmd_V2_MBLesenSecundaer, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::cmd_V2_MBLesenSecundaer_Click));
    connect(e.cmdTestService, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::cmdTestService_Click));
    connect(e.cmdEinstellungenZurueck, &QPushButton::clicked, this,
            Bedient(this, &frmMbusMasterV4::cmdEinstellungenZurueck_Click));
    connect(e.mnuEnde, &QAction::triggered, this, Bedient(this, &frmMbusMasterV4::mnuEnde_Click));
    connect(e.mnuEinstellung, &QAction::triggered, this,
            Bedient(this, &frmMbusMasterV4::mnuEinstellung_Click));
    connect(e.mnuLog, &QAction::triggered, this, Bedient(this, &frmMbusMasterV4::mnuLog_Click));
}

void frmMbusMasterV4::mbLog(const QString& text) const
{
    MBusLogSchreiben(text, QString(), QStringLiteral("mb.log"));
}

void frmMbusMasterV4::log(const QString& text)
{
    MasterLogZeile(*m_ui.MSFlexGrid4, text);
}

// --- Public operations -------------------------------------------------------------------

int frmMbusMasterV4::BM_ZaehlerlisteLadenComPort()
{
    QStringList auswahl;
    const int ergebnis = ::BM_ZaehlerlisteLadenComPort(
        MB_Connection.get(), m_z.MasterComPort,
        {*m_ui.MSFlexGrid1, *m_ui.MSFlexGrid4, m_z.MasterZaehler, auswahl});
    if (ergebnis > 0) {
        const QSignalBlocker stumm(m_ui.Combo3);
        m_ui.Combo3->clear();
        m_ui.Combo3->addItems(auswahl);
    }
    return ergebnis;
}

int frmMbusMasterV4::CheckService(const QString& ServiceName)
{
    return ::CheckService(m_einstellungen->dienstUnit(ServiceName), *m_dienste);
}

bool frmMbusMasterV4::MBOpenDatenbank()
{
    return ::MBOpenDatenbank();
}

bool frmMbusMasterV4::TibboReset(const QString& TibboIP, int TibboPort, QUdpSocket& WSock)
{
    return ::TibboReset(TibboIP, TibboPort, WSock);
}

void frmMbusMasterV4::LoadMBusPovider(int treiberNummer)
{
    ::LoadMBusPovider(treiberNummer);
}

int frmMbusMasterV4::MB_ReadPrimAdr(int port, int adresse, qint32 baud, int r, int treiberNummer)
{
    return m_einzellesen->MB_ReadPrimAdr(port, adresse, baud, r, treiberNummer);
}

int frmMbusMasterV4::MB_ReadPrimAdrRac(int port, int adresse, qint32 baud, int r)
{
    return m_einzellesen->MB_ReadPrimAdrRac(port, adresse, baud, r);
}

// --- Interactive reading ---------------------------------------------------------------------

void frmMbusMasterV4::MSFlexGrid1_RowClick(int mausZeile)
{
    m_einzellesen->zeileGeklickt(mausZeile);
}

void frmMbusMasterV4::Combo3_Click()
{
    m_einzellesen->Combo3_Click(m_ui.Combo3->currentIndex());
}

void frmMbusMasterV4::cmdSpeichernIndexliste_Click()
{
    m_einzellesen->indexListeSpeichern(m_ui.Combo3->currentIndex());
}

void frmMbusMasterV4::TestZaehlerLaden_Click()
{
    m_einzellesen->testzaehlerLaden();
}

void frmMbusMasterV4::cmd_V2_MBLesenSecundaer_Click()
{
    m_einzellesen->v2Lesen();
}

// --- Settings handlers ---------------------------------------------------------------------

void frmMbusMasterV4::Check1_Click(int index)
{
    if (index < 0 || index >= MasterEinstellungen::kSpeichernAnzahl)
        return;
    const bool an = m_ui.Check1[static_cast<size_t>(index)]->isChecked();
    m_einstellungen->speichernSchreiben(index, an);
    if (index == 3) {
        m_ui.Text3->setVisible(an);
        m_ui.Label11->setVisible(an);
    }
}

void frmMbusMasterV4::Text1_Change()
{
    const QString text = m_ui.Text1->text();
    if (text.isEmpty())
        return;
    // Only whole seconds from 0 to 2147483647; anything else keeps the interval as it was.
    const std::optional<qint32> intervall = IntervallPruefen(text);
    if (!intervall)
        return;
    m_z.LeseIntervall = *intervall;
    if (m_z.LeseIntervall == 0) {
        m_z.NaechsterStart = 0;
        m_ui.Label1->setText(QStringLiteral("Bereit"));
    } else {
        m_z.NaechsterStart = NaechsterIntervall(m_z.LeseIntervall);
        m_ui.Label1->setText(QStringLiteral("Starte Datenholen um ") +
                             UnixZeitText(m_z.NaechsterStart));
    }
    m_einstellungen->intervallSchreiben(m_z.LeseIntervall);
}

void frmMbusMasterV4::Text4_Change(int index)
{
    if (index < 0 || index >= MasterEinstellungen::kTimeoutAnzahl)
        return;
    const std::optional<qint32> wert =
        TimeoutPruefen(m_ui.Text4[static_cast<size_t>(index)]->text());
    if (!wert)
        return;
    m_z.ComTimeouts[static_cast<size_t>(index)] = *wert;
    m_einstellungen->timeoutSchreiben(index, *wert);
}

void frmMbusMasterV4::Text1Setzen(const QString& text)
{
    {
        const QSignalBlocker stumm(m_ui.Text1);
        m_ui.Text1->setText(text);
    }
    Text1_Change();
}

void frmMbusMasterV4::Text4Setzen(int index, const QString& text)
{
    if (index < 0 || index >= MasterEinstellungen::kTimeoutAnzahl)
        return;
    {
        const QSignalBlocker stumm(m_ui.Text4[static_cast<size_t>(index)]);
        m_ui.Text4[static_cast<size_t>(index)]->setText(text);
    }
    Text4_Change(index);
}

void frmMbusMasterV4::Combo1_Click()
{
    if (m_einzellesen->belegt())
        return;
    const QVariant daten = m_ui.Combo1->currentData();
    if (!daten.isValid())
        return;
    MB_OleProvider = daten.toInt();
    m_einstellungen->providerPortSchreiben(MB_OleProvider);
}

void frmMbusMasterV4::Combo2_Click()
{
    if (m_einzellesen->belegt()) {
        // The running read keeps its driver; the box shows it again.
        const QSignalBlocker stumm(m_ui.Combo2);
        const int index = m_ui.Combo2->findData(MB_OleProvider);
        if (index >= 0)
            m_ui.Combo2->setCurrentIndex(index);
        return;
    }
    const QVariant daten = m_ui.Combo2->currentData();
    if (!daten.isValid())
        return;
    MB_OleProvider = daten.toInt();
    m_einstellungen->providerSchreiben(MB_OleProvider);
    // The time-outs belong to the member-name driver (second entry).
    m_ui.Frame7->setVisible(m_ui.Combo2->currentIndex() == 1);
}

void frmMbusMasterV4::mnuEinstellung_Click()
{
    // Opening releases the fixed-interface driver a read may be waiting on.
    if (m_einzellesen->belegt())
        return;
    MauszeigerSetzen(vbHourglass);
    // A second opening must not take the stopped timer for the state to restore.
    if (m_ui.Frame3->isHidden())
        m_timerLiefBeiEinstellung = m_ui.Timer1->isActive();
    m_ui.Frame3->show();
    m_ui.Frame3->raise();
    m_ui.Timer1->stop();
    OleServerFreigeben();
    MauszeigerSetzen(vbDefault);
}

void frmMbusMasterV4::cmdEinstellungenZurueck_Click()
{
    m_ui.Frame3->hide();
    m_z.NaechsterStart = NaechsterIntervall(m_z.LeseIntervall);
    if (m_timerLiefBeiEinstellung)
        m_ui.Timer1->start();
}

void frmMbusMasterV4::mnuLog_Click()
{
    m_ui.MSFlexGrid4->show();
    const bool logSichtbar = !m_ui.Frame4->isHidden();
    m_ui.Frame4->setVisible(!logSichtbar);
    m_ui.Frame5->setVisible(logSichtbar);
}

void frmMbusMasterV4::cmdTestService_Click()
{
    const int status = CheckService(QStringLiteral("tsvc"));
    MsgBox(DienstStatusText(status), vbOKOnly, QStringLiteral("Test tsvc"));
}

// --- End ----------------------------------------------------------------------------------

void frmMbusMasterV4::mnuEnde_Click()
{
    const int antwort = MsgBox(QStringLiteral("Sind sie sicher?"), vbYesNo + vbCritical + 256,
                               windowTitle() + QStringLiteral(" beenden"));
    if (antwort != vbYes)
        return;
    m_ui.Timer1->stop();
    // Ends at once, or as soon as the step of the cycle that runs has returned.
    m_ende.beenden();
    m_zyklus->wartenAbbrechen();
}

void frmMbusMasterV4::Form_Unload()
{
    if (m_entladen)
        return;
    m_entladen = true;
    m_ui.Timer1->stop();
    CPortListe = ReplaceRekursiv(CPortListe,
                                 QStringLiteral("CPort") + QString::number(m_z.MasterComPort) +
                                     QStringLiteral(";"),
                                 QString());
    MB_DAOAllesSchliessen();
    MB_AlleFormsEntladen();
    m_ende.beenden();
    m_zyklus->wartenAbbrechen();
}

void frmMbusMasterV4::closeEvent(QCloseEvent* ereignis)
{
    Form_Unload();
    ereignis->accept();
}

bool frmMbusMasterV4::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_ui.MSFlexGrid1->viewport() &&
        (ereignis->type() == QEvent::MouseButtonPress ||
         ereignis->type() == QEvent::MouseButtonDblClick)) {
        m_zeileVorKlick = m_ui.MSFlexGrid1->Row();
        m_spalteVorKlick = m_ui.MSFlexGrid1->Col();
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

// --- Cycle control --------------------------------------------------------------------------

void frmMbusMasterV4::cmdStart_Click()
{
    // Start creates the driver objects anew.
    if (m_einzellesen->belegt())
        return;
    m_z.StatusText.clear();
    LoadMBusPovider(MB_OleProvider);
    m_z.StatusText = QStringLiteral("Start");
    m_ui.Timer1->start();
    m_ui.cmdStart->hide();
    m_ui.cmdStop->show();
    m_z.Gestartet = true;
    m_ui.MSFlexGrid2->hide();
    m_z.NaechsterStart = NaechsterIntervall(m_z.LeseIntervall);
    m_z.VBZNaechsterStart = NaechsterIntervall(m_z.VBZIntervall);
    m_ui.Label1->setText(QStringLiteral("Starte Datenholen um ") +
                         UnixZeitText(m_z.NaechsterStart));
    mbLog(QStringLiteral("Datenholen gestartet am ") + JetztText());
}

void frmMbusMasterV4::cmdStop_Click()
{
    m_z.StatusText = QStringLiteral("Stop");
    m_ui.cmdStart->show();
    m_ui.cmdStop->hide();
    m_ui.MSFlexGrid1->setEnabled(true);
    m_z.Gestartet = false;
    const QString text = QStringLiteral("Datenholen gestoppt am ") + JetztText();
    m_ui.Label1->setText(text);
    mbLog(text);
    m_zyklus->wartenAbbrechen();
}

void frmMbusMasterV4::cmdWeiter_Click()
{
    m_zyklus->weiter();
}

void frmMbusMasterV4::Timer1_Timer()
{
    const UnixZeit jetztU = DatumInUnixZeit(Jetzt());
    if (++m_z.TickZaehler > m_z.TickGrenze)
        m_ui.MSFlexGrid4->hide();
    m_ui.Label6->setText(JetztText() + QStringLiteral(" (") + QString::number(GetFreeFile()) +
                         QStringLiteral(")"));
    // While a read of the user's holds the port, a due cycle waits for the first tick after it.
    if (jetztU < m_z.NaechsterStart || m_z.ZyklusLaeuft == 1 ||
        m_z.StatusText == QStringLiteral("Stop") || m_einzellesen->laeuft())
        return;
    // Taken here already, so that no second tick queues a cycle before this one runs.
    m_z.ZyklusLaeuft = 1;
    QTimer::singleShot(0, this, [this, jetztU] { zyklusLaufen(jetztU); });
}

void frmMbusMasterV4::zyklusLaufen(UnixZeit jetztU)
{
    const Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig()) {
        m_z.ZyklusLaeuft = 0;
        return;
    }
    m_zyklus->laufen(jetztU);
    // The grids of the window free many small blocks every few cycles (the log lines cut from
    // the log grid, the cells of the reloaded meter list); the heap keeps the freed room in
    // pieces between newer blocks. Giving it back after each cycle keeps a master that runs for
    // months at the size of what it holds.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

MasterZyklusFenster frmMbusMasterV4::zyklusFenster()
{
    return {*m_ui.MSFlexGrid1,
            *m_ui.MSFlexGrid4,
            *m_ui.MSFlexGrid3,
            m_comm1,
            [this](int i) {
                return i >= 0 && i < 4 && m_ui.Check1[static_cast<size_t>(i)]->isChecked();
            },
            [this] { return MBOpenDatenbank(); },
            [this] { return BM_ZaehlerlisteLadenComPort(); },
            [this](const QString& name) { return CheckService(name); },
            [this] {
                return ::TibboReset(m_z.TibboIP, Val32(m_z.TibboPort).value_or(0), m_winsock,
                                    m_tibboLokalerPort);
            },
            [this](const QString& text) { m_ui.Label1->setText(text); },
            [this](bool an) { m_ui.cmdWeiter->setVisible(an); },
            [this] {
                m_ui.Timer1->stop();
                m_ui.cmdStart->show();
                m_ui.cmdStop->hide();
            },
            [this] { return !m_ui.Frame4->isHidden(); },
            [](const QString& programm, const QStringList& argumente, QString& fehler) {
                QProcess prozess;
                prozess.setProgram(programm);
                prozess.setArguments(argumente);
                if (prozess.startDetached())
                    return true;
                fehler = prozess.errorString();
                return false;
            }};
}
