// The start-up of the master window, step by step. A step that fails writes "Fehler FormLoad "
// & FehlerText to mb.log and the next step runs.

#include "frmMbusMasterV4.h"

#include "ComboAuswahl.h"
#include "database/MBConnection.h"
#include "datafiles/RB6Wertdatei.h"
#include "log/Log.h"
#include "master/dienste/MasterDatenbank.h"
#include "master/dienste/MasterLog.h"
#include "master/dienste/MasterTreiber.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Uhr.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"
#include "zugang/UserConfig.h"

#include <QDir>
#include <QSignalBlocker>

void frmMbusMasterV4::schritt(const std::function<bool()>& arbeit)
{
    FehlerText.clear();
    if (!arbeit())
        mbLog(QStringLiteral("Fehler FormLoad ") + FehlerText);
}

void frmMbusMasterV4::Form_Load()
{
    auto& e = m_ui;
    const QString zeile = Kommandozeile();
    // 1. Layout (the layouts size the frames); Frame5 lies on Frame4; the log menu runs once.
    schritt([&] {
        mnuLog_Click();
        return true;
    });
    // 2. Grid headers.
    schritt([&] {
        static const char* const kopf[] = {"PrimAdr",  "Baud",     "Gelesen", "LeseFehler",
                                           "LastRead", "Z-Nummer", "Energie"};
        e.MSFlexGrid1->setCols(7);
        for (int spalte = 0; spalte < 7; ++spalte)
            e.MSFlexGrid1->setTextMatrix(0, spalte, QString::fromLatin1(kopf[spalte]));
        m_z.TickGrenze = 300;
        e.MSFlexGrid4->setRows(1);
        e.MSFlexGrid4->setCols(2);
        e.MSFlexGrid4->setFixedCols(0);
        e.MSFlexGrid4->setTextMatrix(0, 0, QStringLiteral("Datetime"));
        e.MSFlexGrid4->setTextMatrix(0, 1, QStringLiteral("Text"));
        e.MSFlexGrid4->setColWidth(0, 1800);
        e.MSFlexGrid4->setColWidth(1, 3000);
        return true;
    });
    // 3. The rest runs with the window visible.
    show();
    // 4. Calculator interval and window style (section of the client number known so far).
    schritt([&] { return laden4Vbz(); });
    // 5.
    schritt([&] {
        m_z.ZyklusLaeuft = 0;
        e.Frame4->setTitle(QString());
        e.Label5->setText(QStringLiteral("Startzeit : ") + JetztText());
        return true;
    });
    // 6. and 7. Port and pause.
    schritt([&] {
        m_aufruf = MasterAufrufLesen(zeile);
        m_z.MasterComPort = m_aufruf.comPort;
        m_z.MeterPause = m_aufruf.meterPause;
        m_z.SchrittModus = m_aufruf.schrittModus;
        m_einstellungen = std::make_unique<MasterEinstellungen>(m_z.MasterComPort);
        return true;
    });
    // 8. Paths and client number.
    schritt([&] {
        DBPath = QDir(Programmordner()).absolutePath() + QLatin1Char('/');
        KommandozeileAuswerten();
        ZEPIniLesen(QStringLiteral(".\\zep.ini"));
        DatenPath = DBPath;
        return true;
    });
    // 9. to 11. Database credentials and the database line.
    schritt([&] {
        e.Label7->setText(MasterDatenbankWaehlen());
        return true;
    });
    // 12. The port's meters.
    schritt([&] {
        if (!MBOpenDatenbank()) {
            MsgBox(DatenbankFehlerText());
            return true;
        }
        if (BM_ZaehlerlisteLadenComPort() <= 0)
            mbLog(QStringLiteral("Start MBusMaster : Keine Zähler für Com") +
                  QString::number(m_z.MasterComPort));
        return true;
    });
    // 13.
    schritt([&] {
        MB_ConnectionSchliessen();
        return true;
    });
    // 14.
    schritt([&] {
        RB6_StandardGroesse = m_einstellungen->rb6StandardGroesse();
        return true;
    });
    schritt([&] { return laden15Intervall(); });
    schritt([&] { return laden16Timeouts(); });
    schritt([&] {
        laden17Tibbo();
        return true;
    });
    schritt([&] {
        laden18Haken();
        return true;
    });
    schritt([&] {
        laden19Treiber();
        return true;
    });
    // 20. Test buttons.
    schritt([&] {
        e.TestZaehlerLaden->setVisible(m_aufruf.testzaehler);
        e.cmd_V2_MBLesenSecundaer->setVisible(m_aufruf.testzaehler);
        return true;
    });
    // 21.
    schritt([&] {
        setWindowTitle(QStringLiteral("Com") + QString::number(m_z.MasterComPort) +
                       QLatin1Char(' ') + windowTitle());
        return true;
    });
    // 22. Start at once, or wait stopped.
    schritt([&] {
        e.Timer1->start();
        if (m_aufruf.autoStart) {
            cmdStart_Click();
            setWindowState(Qt::WindowMinimized);
        } else {
            cmdStop_Click();
            setWindowState(Qt::WindowNoState);
        }
        return true;
    });
    // 23.
    schritt([&] {
        m_z.StartZeit = DatumInUnixZeit(Jetzt());
        return true;
    });
}

bool frmMbusMasterV4::laden4Vbz()
{
    // The port is not known yet; the section does not depend on it.
    const MasterEinstellungen einstellungen(0);
    const std::optional<qint32> intervall = einstellungen.vbzIntervallLaden();
    if (!intervall)
        return false;
    m_z.VBZIntervall = *intervall;
    m_ui.Text3->setText(QString::number(m_z.VBZIntervall));
    const std::optional<quint8> stil = einstellungen.vbzFensterStilLaden();
    if (!stil)
        return false;
    m_z.VBZFensterStil = *stil;
    return true;
}

bool frmMbusMasterV4::laden15Intervall()
{
    const QString text = m_einstellungen->intervallText();
    const std::optional<qint32> intervall =
        IntervallPruefen(text.isEmpty() ? QStringLiteral("0") : text);
    if (!intervall) {
        FehlerText = QStringLiteral("IntervallCom%1 = \"%2\" ist kein Intervall von 0 bis "
                                    "2147483647 Sekunden")
                         .arg(m_z.MasterComPort)
                         .arg(text);
        return false;
    }
    m_z.LeseIntervall = *intervall;
    Text1Setzen(QString::number(*intervall));
    return true;
}

bool frmMbusMasterV4::laden16Timeouts()
{
    QString fehler;
    for (int i = 0; i < MasterEinstellungen::kTimeoutAnzahl; ++i) {
        const auto stelle = static_cast<size_t>(i);
        const std::optional<qint32> wert = m_einstellungen->timeoutLaden(i);
        if (wert) {
            m_z.ComTimeouts[stelle] = *wert;
            Text4Setzen(i, QString::number(*wert));
            continue;
        }
        // A value that is no 32-bit number: the default is used, the stored text stays.
        fehler = FehlerText;
        m_z.ComTimeouts[stelle] = MasterEinstellungen::kTimeoutVorgabe[stelle];
        const QSignalBlocker stumm(m_ui.Text4[stelle]);
        m_ui.Text4[stelle]->setText(QString::number(m_z.ComTimeouts[stelle]));
    }
    FehlerText = fehler;
    return fehler.isEmpty();
}

void frmMbusMasterV4::laden17Tibbo()
{
    m_z.TibboPort = QStringLiteral("65535");
    m_z.TibboIP = m_einstellungen->tibboIpLaden();
}

void frmMbusMasterV4::laden18Haken()
{
    for (int i = 0; i < MasterEinstellungen::kSpeichernAnzahl; ++i) {
        QCheckBox* box = m_ui.Check1[static_cast<size_t>(i)];
        const bool an = m_einstellungen->speichernLaden(i) != 0;
        // A box whose state changes runs its click handler.
        if (box->isChecked() != an) {
            const QSignalBlocker stumm(box);
            box->setChecked(an);
            Check1_Click(i);
        }
    }
}

void frmMbusMasterV4::laden19Treiber()
{
    ComboAuswahl liste(*m_ui.Combo2);
    MB_OleProvider = MB_ProviderListeLaden(liste, m_z.MasterComPort);
    Combo2_Click();
}
