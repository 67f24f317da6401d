// The controls of the master window and their places. Frame2 and the settings frame Frame3 share
// one cell (Frame3 lies on top while shown), as do the log frame Frame4 and the index-list frame
// Frame5; the meter list takes the room that is left.

#include "MasterfensterElemente.h"

#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

QPushButton* Knopf(const QString& text, QWidget* eltern)
{
    return new QPushButton(text, eltern);
}

QGroupBox* SteuerRahmen(MasterfensterElemente& e, QWidget* eltern)
{
    e.Frame2 = new QGroupBox(eltern);
    auto* raster = new QGridLayout(e.Frame2);
    e.cmdStart = Knopf(QStringLiteral("St&art"), e.Frame2);
    e.cmdStop = Knopf(QStringLiteral("&Stop"), e.Frame2);
    e.cmdWeiter = Knopf(QStringLiteral("Weiter"), e.Frame2);
    e.TestZaehlerLaden = Knopf(QStringLiteral("Testzähler laden"), e.Frame2);
    e.cmd_V2_MBLesenSecundaer = Knopf(QStringLiteral("V2_MB_LesenSecundaer"), e.Frame2);
    auto* knoepfe = new QHBoxLayout;
    for (QPushButton* k :
         {e.cmdStart, e.cmdStop, e.cmdWeiter, e.TestZaehlerLaden, e.cmd_V2_MBLesenSecundaer})
        knoepfe->addWidget(k);
    knoepfe->addStretch();
    raster->addLayout(knoepfe, 0, 0, 1, 4);
    e.Label2 = new QLabel(QStringLiteral("Lese Intervall : "), e.Frame2);
    e.Text1 = new QLineEdit(e.Frame2);
    e.Label3 = new QLabel(QStringLiteral("sec          Datum : "), e.Frame2);
    raster->addWidget(e.Label2, 1, 0);
    raster->addWidget(e.Text1, 1, 1);
    raster->addWidget(e.Label3, 1, 2);
    e.Label1 = new QLabel(e.Frame2);
    raster->addWidget(e.Label1, 2, 0, 1, 4);
    e.Label4 = new QLabel(QStringLiteral("Zyklus-Zeiten"), e.Frame2);
    e.MSFlexGrid3 = new FlexGridWidget(e.Frame2);
    e.MSFlexGrid3->setMaximumHeight(110);
    raster->addWidget(e.Label4, 3, 0);
    raster->addWidget(e.MSFlexGrid3, 3, 1, 1, 3);
    e.Label5 = new QLabel(e.Frame2);
    e.Label6 = new QLabel(e.Frame2);
    raster->addWidget(e.Label5, 4, 0, 1, 4);
    raster->addWidget(e.Label6, 5, 0, 1, 4);
    return e.Frame2;
}

QGroupBox* EinstellungsRahmen(MasterfensterElemente& e, QWidget* eltern)
{
    e.Frame3 = new QGroupBox(eltern);
    e.Frame3->setAutoFillBackground(true);
    auto* raster = new QGridLayout(e.Frame3);
    e.Combo1 = new QComboBox(e.Frame3);
    e.Combo2 = new QComboBox(e.Frame3);
    e.cmdTestService = Knopf(QStringLiteral("Test Tsvc"), e.Frame3);
    raster->addWidget(e.Combo1, 0, 0);
    raster->addWidget(e.Combo2, 0, 1);
    raster->addWidget(e.cmdTestService, 0, 2);

    e.Frame7 = new QGroupBox(QStringLiteral("Time-Out"), e.Frame3);
    auto* timeouts = new QGridLayout(e.Frame7);
    static const char* const beschriftung[] = {"Com : ", "Offset : ", "Byte : ", "Deadtime : "};
    for (size_t i = 0; i < e.Text4.size(); ++i) {
        e.Label12[i] = new QLabel(QString::fromLatin1(beschriftung[i]), e.Frame7);
        e.Text4[i] = new QLineEdit(e.Frame7);
        timeouts->addWidget(e.Label12[i], static_cast<int>(i), 0);
        timeouts->addWidget(e.Text4[i], static_cast<int>(i), 1);
    }
    raster->addWidget(e.Frame7, 1, 0, 4, 1);

    static const char* const haken[] = {
        "Speichern aller Indexe in Datenbank", "Speichern aller Indexe in MBuslog",
        "Speichern aller Indexe in RB6 Dateien", "VBZ Berechnen alle "};
    for (size_t i = 0; i < e.Check1.size(); ++i) {
        e.Check1[i] = new QCheckBox(QString::fromUtf8(haken[i]), e.Frame3);
        raster->addWidget(e.Check1[i], static_cast<int>(i) + 1, 1);
    }
    e.Text3 = new QLineEdit(e.Frame3);
    e.Label11 = new QLabel(QStringLiteral("sec"), e.Frame3);
    auto* vbz = new QHBoxLayout;
    vbz->addWidget(e.Text3);
    vbz->addWidget(e.Label11);
    raster->addLayout(vbz, 4, 2);
    e.cmdEinstellungenZurueck = Knopf(QStringLiteral("Zurück"), e.Frame3);
    raster->addWidget(e.cmdEinstellungenZurueck, 5, 2);
    return e.Frame3;
}

void Rahmen(MasterfensterElemente& e, QWidget* eltern, QGridLayout* raster)
{
    e.Frame4 = new QGroupBox(QStringLiteral("Log"), eltern);
    e.Frame4->setAutoFillBackground(true);
    auto* log = new QVBoxLayout(e.Frame4);
    e.MSFlexGrid4 = new FlexGridWidget(e.Frame4);
    log->addWidget(e.MSFlexGrid4);

    e.Frame5 = new QGroupBox(QStringLiteral("Indexliste"), eltern);
    e.Frame5->setAutoFillBackground(true);
    auto* index = new QVBoxLayout(e.Frame5);
    auto* kopf = new QHBoxLayout;
    e.Combo3 = new QComboBox(e.Frame5);
    e.cmdSpeichernIndexliste = Knopf(QStringLiteral("Indexliste Speichern"), e.Frame5);
    e.cmdSpeichernIndexliste->setToolTip(
        QStringLiteral("Überträgt die ausgelesenen Indexe in die MB_Indexliste und überschreibt "
                       "bzw. löscht die alten Einträge (Mit Combobox auswählen)"));
    kopf->addWidget(e.Combo3, 1);
    kopf->addWidget(e.cmdSpeichernIndexliste);
    index->addLayout(kopf);
    e.MSFlexGrid2 = new FlexGridWidget(e.Frame5);
    index->addWidget(e.MSFlexGrid2, 1);
    // While the value grid is hidden the choice stays at the top.
    index->addStretch();

    raster->addWidget(e.Frame4, 0, 1);
    raster->addWidget(e.Frame5, 0, 1);
}

} // namespace

void MasterfensterAufbauen(QMainWindow& fenster, MasterfensterElemente& e)
{
    fenster.setWindowTitle(QStringLiteral("MBus-Master V1.1"));
    auto* mitte = new QWidget(&fenster);
    auto* raster = new QGridLayout(mitte);

    raster->addWidget(SteuerRahmen(e, mitte), 0, 0);
    raster->addWidget(EinstellungsRahmen(e, mitte), 0, 0);
    Rahmen(e, mitte, raster);

    e.Frame1 = new QGroupBox(QStringLiteral("Zählerliste"), mitte);
    auto* liste = new QVBoxLayout(e.Frame1);
    e.MSFlexGrid1 = new FlexGridWidget(e.Frame1);
    liste->addWidget(e.MSFlexGrid1);
    raster->addWidget(e.Frame1, 1, 0, 1, 2);
    raster->setRowStretch(1, 1);

    e.Label7 = new QLabel(mitte);
    raster->addWidget(e.Label7, 2, 0, 1, 2);
    fenster.setCentralWidget(mitte);

    e.Frame3->hide();
    // The calculator interval shows only while its tick box is ticked.
    e.Text3->hide();
    e.Label11->hide();
    e.cmdStop->hide();
    e.Timer1 = new QTimer(&fenster);
    e.Timer1->setInterval(1000);

    e.mnuEnde = fenster.menuBar()->addAction(QStringLiteral("&Ende"));
    e.mnuEinstellung = fenster.menuBar()->addAction(QStringLiteral("&Einstellungen"));
    e.mnuLog = fenster.menuBar()->addAction(QStringLiteral("&Log"));
    fenster.resize(900, 700);
    BeimZeigenEinpassen(fenster);
}
