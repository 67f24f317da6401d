#include "frmImportLogFile.h"

#include "LogZeile.h"
#include "WertdateiWerkzeuge.h"

#include "grid/GridHilfen.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Sperren.h"
#include "platform/Uhr.h"
#include "text/Zeit.h"
#include "ui/FlexGridWidget.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

frmImportLogFile::frmImportLogFile(QWidget* eltern)
    : QWidget(eltern), m_import(LogImport::Anzeige{
                           [this](const QString& text) { Label5->setText(text); },
                           [this](const QString& text) { Label2->setText(text); },
                           [this](bool sichtbar) { MSFlexGrid1->setVisible(sichtbar); },
                           [this](bool laeuft) { laufGeaendert(laeuft); },
                       })
{
    aufbauen();
    laden();
    verbinden();
    SperrenTimer->start();
    sperrenPruefen();
}

frmImportLogFile::~frmImportLogFile() = default;

void frmImportLogFile::laden()
{
    if (const std::optional<QString> datenbank = ImportLogStarten()) {
        Label4[0]->setText(*datenbank);
        Label4[0]->setToolTip(*datenbank);
    }
    const QString heute = QLocale::c().toString(Jetzt().date(), QStringLiteral("dd.MM.yyyy"));
    Text5[5]->setText(heute);
    Text6->setText(heute);
    Label5->setText(QStringLiteral("Bereit"));
    Label2->setText(QString());
}

void frmImportLogFile::verbinden()
{
    connect(cmdImport, &QPushButton::clicked, this, &frmImportLogFile::cmdImport_Click);
    connect(cmdDateiLesen, &QPushButton::clicked, this, &frmImportLogFile::cmdDateiLesen_Click);
    connect(cmdTageswerte, &QPushButton::clicked, this, &frmImportLogFile::cmdTageswerte_Click);
    connect(Text4, &QLineEdit::textChanged, this, &frmImportLogFile::Text4_Change);
    connect(cmdErzeugeTestDatei, &QPushButton::clicked, this,
            &frmImportLogFile::cmdErzeugeTestDatei_Click);
    connect(cmdDatInfoLesen, &QPushButton::clicked, this, &frmImportLogFile::cmdDatInfoLesen_Click);
    connect(cmdLesen, &QPushButton::clicked, this, &frmImportLogFile::cmdLesen_Click);
    connect(Command1, &QPushButton::clicked, this, &frmImportLogFile::Command1_Click);
    connect(cmdLeseTag, &QPushButton::clicked, this, &frmImportLogFile::cmdLeseTag_Click);
    connect(SperrenTimer, &QTimer::timeout, this, &frmImportLogFile::sperrenPruefen);
}

void frmImportLogFile::Read_MBusLogTgIndex(FlexGridWidget& grid, const QString& sFilename,
                                           const QString& primAdr, int tgNr)
{
    m_import.Read_MBusLogTgIndex(grid, sFilename, primAdr, tgNr);
}

void frmImportLogFile::Read_MBusLog(FlexGridWidget& grid, const QString& sFilename, bool withHeader,
                                    const QString& fieldSep, int startZeile, bool ifAppand)
{
    const bool warSichtbar = grid.isVisible();
    grid.hide();
    m_import.Read_MBusLog(grid, sFilename, withHeader, fieldSep, startZeile, ifAppand);
    grid.setVisible(warSichtbar || &grid == MSFlexGrid1);
}

void frmImportLogFile::cmdImport_Click()
{
    if (!beschaeftigt())
        m_import.importieren(Text5[4]->text(), Text5[5]->text(), *MSFlexGrid1);
}

void frmImportLogFile::cmdDateiLesen_Click()
{
    if (!beschaeftigt())
        Read_MBusLog(*MSFlexGrid1, Text1->text(), false, QStringLiteral(";"), 1, false);
}

void frmImportLogFile::cmdTageswerte_Click()
{
    if (!beschaeftigt())
        m_import.tageswerte(Text5[4]->text(), Text5[5]->text(), Text8->text(), *MSFlexGrid5);
}

void frmImportLogFile::Text4_Change()
{
    Text3->setText(WertdateiWerkzeuge::dateiName(Text4->text(), Text9->text()));
}

template <typename Werkzeug> void frmImportLogFile::werkzeugAusfuehren(Werkzeug werkzeug)
{
    if (beschaeftigt())
        return;
    m_werkzeugLaeuft = true;
    knoepfeSetzen();
    MauszeigerSetzen(vbHourglass);
    const WerkzeugErgebnis ergebnis = werkzeug();
    MauszeigerSetzen(vbDefault);
    lblWerkzeug->setText(ergebnis.status);
    m_werkzeugLaeuft = false;
    knoepfeSetzen();
}

void frmImportLogFile::cmdErzeugeTestDatei_Click()
{
    werkzeugAusfuehren([this] {
        WerkzeugErgebnis ergebnis =
            WertdateiWerkzeuge::testdateiErzeugen(Text4->text(), Text9->text(), Text2->text());
        MsgBox(ergebnis.status);
        if (ergebnis.rc != 0 && !FehlerText.isEmpty())
            ergebnis.status += QStringLiteral(": ") + FehlerText;
        return ergebnis;
    });
}

void frmImportLogFile::cmdDatInfoLesen_Click()
{
    werkzeugAusfuehren([this] {
        return WertdateiWerkzeuge::datInfoLesen(Text4->text(), Text9->text(), *MSFlexGrid2);
    });
    FlexGridSpaltenbreiten(*MSFlexGrid2);
}

void frmImportLogFile::cmdLesen_Click()
{
    werkzeugAusfuehren([this] {
        return WertdateiWerkzeuge::lesen(Text4->text(), Text5[0]->text(), Text5[1]->text(),
                                         *MSFlexGrid3);
    });
    FlexGridSpaltenbreiten(*MSFlexGrid3);
}

void frmImportLogFile::Command1_Click()
{
    werkzeugAusfuehren([this] {
        return WertdateiWerkzeuge::suchePos(Text4->text(), Text9->text(), Text5[2]->text(),
                                            Text5[3]->text(), *MSFlexGrid3);
    });
    FlexGridSpaltenbreiten(*MSFlexGrid3);
}

void frmImportLogFile::cmdLeseTag_Click()
{
    werkzeugAusfuehren([this] {
        return WertdateiWerkzeuge::leseTag(Text4->text(), Text9->text(), Text6->text(),
                                           *MSFlexGrid4, *MSFlexGrid3);
    });
    FlexGridSpaltenbreiten(*MSFlexGrid4);
    FlexGridSpaltenbreiten(*MSFlexGrid3);
}

void frmImportLogFile::sperrenPruefen()
{
    knoepfeSetzen();
}

void frmImportLogFile::knoepfeSetzen()
{
    const bool frei = !beschaeftigt();
    const bool zyklus = Sperren::zyklusLaeuft(qint64(LogVal(Mandant)));
    cmdImport->setEnabled(frei && !zyklus);
    cmdDateiLesen->setEnabled(frei && !zyklus);
    cmdImport->setToolTip(zyklus ? QStringLiteral("Master-Zyklus läuft") : QString());
    for (QPushButton* knopf :
         {cmdTageswerte, cmdErzeugeTestDatei, cmdDatInfoLesen, cmdLesen, Command1, cmdLeseTag})
        knopf->setEnabled(frei);
}

void frmImportLogFile::laufGeaendert(bool laeuft)
{
    knoepfeSetzen();
    if (!laeuft && m_schliessenNachLauf)
        QTimer::singleShot(0, this, &QWidget::close);
}

void frmImportLogFile::closeEvent(QCloseEvent* ereignis)
{
    if (!m_import.laeuft()) {
        SperrenTimer->stop();
        ereignis->accept();
        return;
    }
    m_schliessenNachLauf = true;
    m_import.anhalten();
    ereignis->ignore();
}
