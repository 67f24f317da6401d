// Controls and layout of the window "Import Log Datei", with the texts they show when it opens.

#include "frmImportLogFile.h"

#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLineEdit* Box(QWidget* eltern, const char* text, int breite = 0)
{
    auto* box = new QLineEdit(QString::fromUtf8(text), eltern);
    if (breite > 0)
        box->setMinimumWidth(breite);
    return box;
}

QLabel* Beschriftung(QWidget* eltern, const char* text)
{
    return new QLabel(QString::fromUtf8(text), eltern);
}

QPushButton* Knopf(QWidget* eltern, const char* text)
{
    return new QPushButton(QString::fromUtf8(text), eltern);
}

} // namespace

void frmImportLogFile::aufbauen()
{
    setWindowTitle(QStringLiteral("Import Log Datei"));

    // Left: the import and the day readings.
    Frame5 = new QGroupBox(this);
    Label4[4] = Beschriftung(Frame5, "Von");
    Text5[4] = Box(Frame5, "15.9.2005", 110);
    Label4[5] = Beschriftung(Frame5, "bis");
    Text5[5] = Box(Frame5, "17.9.2005 20:00", 110);
    Text8 = Box(Frame5, "56", 50);
    Text8->setToolTip(QStringLiteral("M-Bus-Primäradresse der Tageswerte"));
    cmdImport = Knopf(Frame5, "Import");
    cmdTageswerte = Knopf(Frame5, "Tageswerte");
    Label5 = Beschriftung(Frame5, "");
    Label2 = Beschriftung(Frame5, "");
    auto* import = new QGridLayout(Frame5);
    import->addWidget(Label4[4], 0, 0);
    import->addWidget(Text5[4], 0, 1);
    import->addWidget(Label4[5], 0, 2);
    import->addWidget(Text5[5], 0, 3);
    import->addWidget(cmdImport, 0, 4);
    import->addWidget(Text8, 1, 3);
    import->addWidget(cmdTageswerte, 1, 4);
    import->addWidget(Label5, 2, 0, 1, 5);
    import->addWidget(Label2, 3, 0, 1, 5);
    import->setColumnStretch(1, 1);
    import->setColumnStretch(3, 1);

    Label1[0] = Beschriftung(this, "Datei");
    Text1 = Box(this, ".\\DB1320\\mbuslog\\050916mb.log", 200);
    cmdDateiLesen = Knopf(this, "Datei Lesen");
    MSFlexGrid1 = new FlexGridWidget(this);
    MSFlexGrid1->setMaximumHeight(60);

    Frame4 = new QGroupBox(QStringLiteral("Frame4"), this);
    MSFlexGrid5 = new FlexGridWidget(Frame4);
    (new QVBoxLayout(Frame4))->addWidget(MSFlexGrid5);

    auto* links = new QVBoxLayout;
    links->addWidget(Frame5);
    auto* dateiZeile = new QHBoxLayout;
    dateiZeile->addWidget(Label1[0]);
    dateiZeile->addWidget(Text1, 1);
    dateiZeile->addWidget(cmdDateiLesen);
    links->addLayout(dateiZeile);
    links->addWidget(MSFlexGrid1);
    links->addWidget(Frame4, 1);

    // Right: the value-file tools.
    Label1[1] = Beschriftung(this, "lznr : ");
    Text4 = Box(this, "150", 70);
    Label1[2] = Beschriftung(this, "Index : ");
    Text9 = Box(this, "1", 40);
    Text3 = Box(this, ".\\DB1320\\Z1320\\00000001.zep", 260);
    Text2 = Box(this, "400", 60);
    Text2->setToolTip(QStringLiteral("Blockanzahl der Testdatei"));
    cmdErzeugeTestDatei = Knopf(this, "Erzeuge Test Datei ");
    auto* dateiKopf = new QGridLayout;
    dateiKopf->addWidget(Label1[1], 0, 0);
    dateiKopf->addWidget(Text4, 0, 1);
    dateiKopf->addWidget(Label1[2], 0, 2);
    dateiKopf->addWidget(Text9, 0, 3);
    dateiKopf->addWidget(Text2, 0, 4);
    dateiKopf->addWidget(cmdErzeugeTestDatei, 0, 5);
    dateiKopf->addWidget(Text3, 1, 0, 1, 7);
    dateiKopf->setColumnStretch(6, 1);
    for (QLineEdit* box : {Text4, Text9, Text2})
        box->setMaximumWidth(90);

    Frame1 = new QGroupBox(QStringLiteral("Frame1"), this);
    cmdDatInfoLesen = Knopf(Frame1, "DatInfoLesen");
    MSFlexGrid2 = new FlexGridWidget(Frame1);
    auto* info = new QHBoxLayout(Frame1);
    info->addWidget(cmdDatInfoLesen, 0, Qt::AlignTop);
    info->addWidget(MSFlexGrid2, 1);
    Frame1->setMaximumHeight(170);

    Frame2 = new QGroupBox(QStringLiteral("Frame2"), this);
    Label4[0] = Beschriftung(Frame2, "Von");
    Label4[0]->setWordWrap(true);
    Text5[0] = Box(Frame2, "11", 50);
    Label4[1] = Beschriftung(Frame2, "bis");
    Text5[1] = Box(Frame2, "20", 50);
    Text5[0]->setMaximumWidth(90);
    Text5[1]->setMaximumWidth(90);
    cmdLesen = Knopf(Frame2, "cmdLesen");
    Frame3 = new QGroupBox(Frame2);
    Label4[2] = Beschriftung(Frame3, "Von");
    Text5[2] = Box(Frame3, "17.9.2005 19:40", 110);
    Label4[3] = Beschriftung(Frame3, "bis");
    Text5[3] = Box(Frame3, "17.9.2005 20:00", 110);
    Command1 = Knopf(Frame3, "SuchePos");
    Text6 = Box(Frame3, "", 90);
    Text7 = Box(Frame3, "900", 40);
    cmdLeseTag = Knopf(Frame3, "Lese Tag");
    auto* zeitraum = new QGridLayout(Frame3);
    zeitraum->addWidget(Label4[2], 0, 0);
    zeitraum->addWidget(Text5[2], 0, 1);
    zeitraum->addWidget(Label4[3], 0, 2);
    zeitraum->addWidget(Text5[3], 0, 3);
    zeitraum->addWidget(Command1, 0, 4);
    zeitraum->addWidget(Text6, 1, 1);
    zeitraum->addWidget(Text7, 1, 3);
    zeitraum->addWidget(cmdLeseTag, 1, 4);
    zeitraum->setColumnStretch(5, 1);
    MSFlexGrid3 = new FlexGridWidget(Frame2);
    MSFlexGrid4 = new FlexGridWidget(Frame2);
    auto* saetze = new QGridLayout(Frame2);
    saetze->addWidget(Label4[0], 0, 0);
    saetze->addWidget(Text5[0], 0, 1);
    saetze->addWidget(Label4[1], 0, 2);
    saetze->addWidget(Text5[1], 0, 3);
    saetze->addWidget(cmdLesen, 0, 4);
    saetze->addWidget(Frame3, 1, 0, 1, 6);
    saetze->addWidget(MSFlexGrid3, 2, 0, 1, 6);
    saetze->addWidget(MSFlexGrid4, 3, 0, 1, 6);
    saetze->setColumnStretch(5, 1);
    Label4[0]->setMaximumWidth(300);
    saetze->setRowStretch(2, 1);
    saetze->setRowStretch(3, 1);

    lblWerkzeug = Beschriftung(this, "");
    lblWerkzeug->setWordWrap(true);

    auto* rechts = new QVBoxLayout;
    rechts->addLayout(dateiKopf);
    rechts->addWidget(Frame1);
    rechts->addWidget(Frame2, 1);
    rechts->addWidget(lblWerkzeug);

    auto* fenster = new QHBoxLayout(this);
    fenster->addLayout(links, 1);
    fenster->addLayout(rechts, 1);

    SperrenTimer = new QTimer(this);
    SperrenTimer->setInterval(kSperrenIntervallMs);
    resize(1280, 800);
    BeimZeigenEinpassen(*this);
}
