#include "TestfensterAufbau.h"

#include "AufbauHilfen.h"
#include "ui/FlexGridWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString kTippZwischenablage = QStringLiteral("Liste in die Zwischenablage kopieren");
// The widest texts the number boxes are meant to hold.
const QString kPlatzPort = QStringLiteral("99");
const QString kPlatzAdresse = QStringLiteral("255");

// Port and one row per baud rate: tick, lowest and highest address, result line.
QGroupBox* SuchEinstellungenAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    static const char* const raten[] = {"9600", "4800", "2400", "1200", "600", "300"};
    e.Frame7 = aufbau::Rahmen(QString(), eltern);
    auto* raster = new QGridLayout(e.Frame7);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("Com-Port :"), e.Frame7), 0, 0);
    e.Text4 = aufbau::Feld(QStringLiteral("1"), e.Frame7, kPlatzPort,
                           QStringLiteral("An diesem Comport ist der Pegelwandler angeschlossen."));
    raster->addWidget(e.Text4, 0, 1);
    e.Combo4 = new QComboBox(e.Frame7);
    e.Combo4->setEditable(true);
    e.Combo4->setMinimumWidth(90);
    raster->addWidget(e.Combo4, 0, 2, 1, 2, Qt::AlignLeft);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("von :"), e.Frame7), 1, 1);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("bis :"), e.Frame7), 1, 2);
    for (int i = 0; i < 6; ++i) {
        const auto stelle = static_cast<size_t>(i);
        e.Check1[stelle] = new QCheckBox(QString::fromLatin1(raten[i]), e.Frame7);
        e.Text5[stelle] = aufbau::Feld(QStringLiteral("1"), e.Frame7, kPlatzAdresse,
                                       QStringLiteral("Zu suchende Primäradressen."));
        e.Text6[stelle] = aufbau::Feld(QStringLiteral("250"), e.Frame7, kPlatzAdresse);
        // The result line; after a stop its second part ("Suche abgebrochen bei Adr. n") may
        // go to a second line.
        e.Label4[stelle] = aufbau::Anzeige(QString(), e.Frame7,
                                           QStringLiteral("250 Zähler in 999,99 sec. gefunden. "));
        e.Label4[stelle]->setWordWrap(true);
        e.Label4[stelle]->setFixedHeight(2 * e.Label4[stelle]->fontMetrics().lineSpacing());
        raster->addWidget(e.Check1[stelle], i + 2, 0);
        raster->addWidget(e.Text5[stelle], i + 2, 1);
        raster->addWidget(e.Text6[stelle], i + 2, 2);
        raster->addWidget(e.Label4[stelle], i + 2, 3);
    }
    raster->setColumnStretch(3, 1);
    raster->setRowStretch(8, 1);
    return e.Frame7;
}

// Two buttons in one place, oben on top: a widget of their own, so that the rows around them
// keep their spacing whichever of the two shows.
QWidget* EinPlatz(QWidget* eltern, QPushButton* unten, QPushButton* oben)
{
    auto* platz = new QWidget(eltern);
    auto* raster = new QGridLayout(platz);
    raster->setContentsMargins(0, 0, 0, 0);
    raster->addWidget(unten, 0, 0);
    raster->addWidget(oben, 0, 0);
    oben->raise();
    return platz;
}

// Start buttons, the secondary search's mask and progress, and the hidden driver frame. The
// column keeps one width and every control in it one place whatever the search shows (the
// caller fixes the width it has once built).
QWidget* SuchSteuerungAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    auto* bereich = new QWidget(eltern);
    auto* raster = new QGridLayout(bereich);
    raster->setContentsMargins(0, 0, 0, 0);

    // Start and stop of the primary scan lie in one place; the start button is on top.
    e.cmdSecAdrStop = aufbau::Knopf(QStringLiteral("Stop"), bereich);
    e.cmdSecPrimSuchen = aufbau::Knopf(
        QStringLiteral("&Primär Suchen"), bereich,
        QStringLiteral("Sucht nach nach MBuszähler mit eingestellten Primäradressen."));
    raster->addWidget(EinPlatz(bereich, e.cmdSecAdrStop, e.cmdSecPrimSuchen), 0, 0, 1, 2);

    e.cmdSekSuchenAlle = aufbau::Knopf(
        QStringLiteral("Sekundär Adressen suchen"), bereich,
        QStringLiteral(
            "Durchsucht den gesamten Bus mit den angeklickten Baudraten nach MBus Zähler"));
    e.cmdSekSuchenAlleAbbrechen = aufbau::Knopf(QStringLiteral("Abbrechen"), bereich);
    raster->addWidget(EinPlatz(bereich, e.cmdSekSuchenAlleAbbrechen, e.cmdSekSuchenAlle), 1, 0, 1,
                      2);

    // The mask probed: eight digits or wildcards, as wide as the widest of them.
    e.Label8 = aufbau::Anzeige(QStringLiteral("ffffffff"), bereich, QStringLiteral("00000000"));
    e.Label8->setToolTip(QStringLiteral("Gesuchte Adresse: f steht für einen Platzhalter ähnlich "
                                        "wie bei der Dateisuche das * oder ?"));
    e.Combo3 = new QComboBox(bereich);
    e.Combo3->setToolTip(
        QStringLiteral("Ab welcher Stelle fesucht werden soll. Führende Nullen werden ergänzt."));
    raster->addWidget(e.Label8, 2, 0);
    raster->addWidget(e.Combo3, 2, 1);
    raster->setColumnStretch(1, 1);
    e.Label9 = aufbau::Beschriftung(QStringLiteral("Aktuelle Baudrate"), bereich);
    raster->addWidget(e.Label9, 3, 0, 1, 2);
    e.Label3 = aufbau::Beschriftung(QString(), bereich);
    e.Label11 = aufbau::Beschriftung(QString(), bereich);
    e.Label11->setWordWrap(true);
    // The count and the closing line ("n Zähler gefunden in s Sekunden") take two lines at most;
    // the labels keep their height whether they show text or not.
    const int zeile = e.Label11->fontMetrics().lineSpacing();
    e.Label3->setFixedHeight(zeile);
    e.Label11->setFixedHeight(2 * zeile);
    e.Label11->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    raster->addWidget(e.Label3, 4, 0, 1, 2);
    raster->addWidget(e.Label11, 5, 0, 1, 2);

    e.Frame9 = TimingRahmenAufbauen(e, 4, e.Combo1, bereich, 1);
    raster->addWidget(e.Frame9, 6, 0, 1, 2);
    raster->setRowStretch(7, 1);
    return bereich;
}

// The buttons under the scan grid: list, clipboard, address writing and import.
QWidget* ListenKnoepfeAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    auto* bereich = new QWidget(eltern);
    auto* spalten = new QVBoxLayout(bereich);
    spalten->setContentsMargins(0, 0, 0, 0);
    auto* oben = new QHBoxLayout;
    auto* unten = new QGridLayout;
    spalten->addLayout(oben);
    spalten->addLayout(unten);

    e.cmdSpeichern =
        aufbau::Knopf(QStringLiteral("&Speichern"), bereich,
                      QStringLiteral("Speicher die gefundenen Zähler in einer ASCII Datei."));
    e.Command1 = aufbau::Knopf(QStringLiteral("&Zwischenabl."), bereich, kTippZwischenablage);
    e.cmdImport = aufbau::Knopf(QStringLiteral("&Import Liste in DB"), bereich);
    e.cmdImporttxt = aufbau::Knopf(QStringLiteral("Liste Lesen (txt)"), bereich);
    e.cmdDatenbankEintrag = aufbau::Knopf(QStringLiteral("In DB Speichern"), bereich);
    e.cmdTabSenden = aufbau::Knopf(QStringLiteral("Senden"), bereich);
    oben->addWidget(e.cmdSpeichern);
    oben->addWidget(e.Command1);
    oben->addWidget(e.cmdImporttxt);
    oben->addWidget(e.cmdImport);
    oben->addWidget(e.cmdDatenbankEintrag);
    oben->addWidget(e.cmdTabSenden);
    oben->addStretch(1);

    e.Label14 = aufbau::Beschriftung(QStringLiteral("Primär Adresse:"), bereich);
    e.Combo5 = new QComboBox(bereich);
    e.Combo5->setEditable(true);
    e.Combo5->setMinimumWidth(80);
    e.Label15 = aufbau::Beschriftung(QStringLiteral("Baud Rate:"), bereich);
    e.Combo6 = new QComboBox(bereich);
    e.Combo6->setEditable(true);
    e.Combo6->setMinimumWidth(80);
    e.Command3 = aufbau::Knopf(QStringLiteral("Parameter eintragen"), bereich);
    e.Command4 = aufbau::Knopf(QStringLiteral("Parameter schreiben"), bereich);
    e.cmd_AutoPrimaer = aufbau::Knopf(QStringLiteral("Prim. Adr. autom. vergeben"), bereich);
    // The automatic addresses (a service control) under the two parameter buttons.
    unten->addWidget(e.Label14, 0, 0);
    unten->addWidget(e.Combo5, 0, 1);
    unten->addWidget(e.Label15, 0, 2);
    unten->addWidget(e.Combo6, 0, 3);
    unten->addWidget(e.Command3, 0, 4);
    unten->addWidget(e.Command4, 0, 5);
    unten->addWidget(e.cmd_AutoPrimaer, 1, 4, 1, 2);
    unten->setColumnStretch(6, 1);
    return bereich;
}

} // namespace

QGroupBox* BusAnsichtAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame4 = aufbau::Rahmen(QString(), eltern);
    auto* spalte = new QVBoxLayout(e.Frame4);

    e.frmSecAdrSuchen = aufbau::Rahmen(QStringLiteral("Primär-Adressen suchen"), e.Frame4);
    auto* suche = new QHBoxLayout(e.frmSecAdrSuchen);
    suche->addWidget(SuchEinstellungenAufbauen(e, e.frmSecAdrSuchen), 1);
    QWidget* steuerung = SuchSteuerungAufbauen(e, e.frmSecAdrSuchen);
    steuerung->setFixedWidth(steuerung->sizeHint().width());
    suche->addWidget(steuerung);
    spalte->addWidget(e.frmSecAdrSuchen);

    e.MSFlexGrid1 = new FlexGridWidget(e.Frame4);
    // Room for the headings and a few meters also at the window's smallest.
    e.MSFlexGrid1->setMinimumHeight(8 * e.MSFlexGrid1->fontMetrics().height());
    spalte->addWidget(e.MSFlexGrid1, 1);
    spalte->addWidget(ListenKnoepfeAufbauen(e, e.Frame4));
    return e.Frame4;
}
