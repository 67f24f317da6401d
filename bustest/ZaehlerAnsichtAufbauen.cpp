#include "TestfensterAufbau.h"

#include "AufbauHilfen.h"
#include "ui/FlexGridWidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The widest number the number boxes are meant to hold (a baud rate, a count).
const QString kPlatzZahl = QStringLiteral("9999");
constexpr int kRahmenRand = 6;

QGroupBox* MBusRahmenAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame1 = aufbau::Rahmen(QStringLiteral("M-Bus"), eltern);
    auto* raster = new QGridLayout(e.Frame1);
    static const char* const beschriftungen[] = {
        "Gerätenummer :", "Com-Port :", "Baud :", "TmOut :"};
    static const char* const werte[] = {"254", "4", "9600", "50"};
    for (int i = 0; i < 4; ++i) {
        const auto stelle = static_cast<size_t>(i);
        e.Text1[stelle] = aufbau::Feld(QString::fromLatin1(werte[i]), e.Frame1, kPlatzZahl);
        raster->addWidget(aufbau::Beschriftung(QString::fromUtf8(beschriftungen[i]), e.Frame1), i,
                          0);
        raster->addWidget(e.Text1[stelle], i, 1);
    }
    // Port and baud lists, as wide as their longest entry.
    e.Combo7 = new QComboBox(e.Frame1);
    e.Combo8 = new QComboBox(e.Frame1);
    for (QComboBox* liste : {e.Combo7, e.Combo8}) {
        liste->setEditable(true);
        liste->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    raster->addWidget(e.Combo7, 1, 2);
    raster->addWidget(e.Combo8, 2, 2);
    e.cmdstartAuslesen = aufbau::Knopf(QStringLiteral("&M-Bus lesen Primär"), e.Frame1);
    e.cmd_SetPrimSingle = aufbau::Knopf(QStringLiteral("Primäradresse setzen"), e.Frame1);
    raster->addWidget(e.cmdstartAuslesen, 4, 0, 1, 3);
    raster->addWidget(e.cmd_SetPrimSingle, 5, 0, 1, 3);
    return e.Frame1;
}

QGroupBox* GeschwindigkeitstestAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame5 = aufbau::Rahmen(QStringLiteral("Geschwindigkeitstest"), eltern);
    auto* raster = new QGridLayout(e.Frame5);
    e.Text3[0] = aufbau::Feld(QStringLiteral("1"), e.Frame5, kPlatzZahl);
    e.Text3[1] = aufbau::Feld(QStringLiteral("120"), e.Frame5, kPlatzZahl);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("von :"), e.Frame5), 0, 0);
    raster->addWidget(e.Text3[0], 0, 1);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("bis :"), e.Frame5), 1, 0);
    raster->addWidget(e.Text3[1], 1, 1);
    // Start and stop of the speed test lie in one place.
    e.cmdAuslesen1bis50 = aufbau::Knopf(QStringLiteral("Lesen"), e.Frame5);
    e.cmdStop = aufbau::Knopf(QStringLiteral("Stop"), e.Frame5);
    raster->addWidget(e.cmdAuslesen1bis50, 0, 2, 2, 1);
    raster->addWidget(e.cmdStop, 0, 2, 2, 1);
    // Count and seconds under the range and the button, their captions across the range's
    // columns, so that the frame stays narrow.
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("Anz. gelesen : "), e.Frame5), 2, 0, 1,
                      2);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("in Sec : "), e.Frame5), 3, 0, 1, 2);
    e.Label2[0] = aufbau::Anzeige(QString(), e.Frame5, kPlatzZahl);
    e.Label2[1] = aufbau::Anzeige(QString(), e.Frame5, QStringLiteral("9999,99"));
    raster->addWidget(e.Label2[0], 2, 2);
    raster->addWidget(e.Label2[1], 3, 2);
    return e.Frame5;
}

QGroupBox* ZaehlerdatenAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame3 = aufbau::Rahmen(QStringLiteral("Zählerdaten"), eltern);
    auto* spalte = new QVBoxLayout(e.Frame3);
    auto* raster = new QGridLayout;
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("ASCII"), e.Frame3), 0, 1);
    raster->addWidget(aufbau::Beschriftung(QStringLiteral("Integer"), e.Frame3), 0, 2);
    // Row, ASCII box, Integer box (-1: none) of the meter header.
    struct Zeile
    {
        const char* beschriftung;
        int ascii;
        int zahl;
    };
    static const Zeile zeilen[] = {
        {"Hersteller :", 0, 3}, {"ID :", 1, 4}, {"Version :", 2, -1}, {"Medium :", -1, 5}};
    int reihe = 1;
    for (const Zeile& zeile : zeilen) {
        raster->addWidget(aufbau::Beschriftung(QString::fromUtf8(zeile.beschriftung), e.Frame3),
                          reihe, 0);
        for (int spalteNr : {1, 2}) {
            const int index = spalteNr == 1 ? zeile.ascii : zeile.zahl;
            if (index < 0)
                continue;
            // Room for an eight-digit number.
            e.Text2[static_cast<size_t>(index)] =
                aufbau::Feld(QString(), e.Frame3, QStringLiteral("00000000"));
            raster->addWidget(e.Text2[static_cast<size_t>(index)], reihe, spalteNr);
        }
        ++reihe;
    }
    spalte->addLayout(raster);
    e.cmdSecLesen = aufbau::Knopf(QStringLiteral("Sekundär lesen"), e.Frame3);
    spalte->addWidget(e.cmdSecLesen);
    spalte->addWidget(GeschwindigkeitstestAufbauen(e, e.Frame3));
    // Two values a row, so the frame stays low.
    e.Frame8 = TimingRahmenAufbauen(e, 0, e.Combo2, e.Frame3, 2);
    spalte->addWidget(e.Frame8);
    return e.Frame3;
}

QGroupBox* ModemAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame12 = aufbau::Rahmen(QStringLiteral("Modem"), eltern);
    auto* raster = new QGridLayout(e.Frame12);
    e.Text9 = aufbau::Feld(QStringLiteral("ATDT"), e.Frame12);
    e.Text10 = aufbau::Feld(QStringLiteral("ATX1L3"), e.Frame12);
    e.cmdMoWaehlen = aufbau::Knopf(QStringLiteral("Wählen"), e.Frame12);
    e.cmdMoLesen = aufbau::Knopf(QStringLiteral("Suchen"), e.Frame12);
    e.cmdMoAuflegen = aufbau::Knopf(QStringLiteral("Auflegen"), e.Frame12);
    e.Label10 = aufbau::Beschriftung(QString(), e.Frame12);
    // The dial and set-up commands above, the buttons under them.
    raster->addWidget(e.Text9, 0, 0, 1, 2);
    raster->addWidget(e.Text10, 0, 2);
    raster->addWidget(e.cmdMoWaehlen, 1, 0);
    raster->addWidget(e.cmdMoLesen, 1, 1);
    raster->addWidget(e.cmdMoAuflegen, 1, 2);
    raster->addWidget(e.Label10, 0, 3, 2, 1);
    raster->setColumnStretch(3, 1);
    return e.Frame12;
}

QGroupBox* WerteAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame2 = aufbau::Rahmen(QStringLiteral("Werte"), eltern);
    auto* spalte = new QVBoxLayout(e.Frame2);
    spalte->setContentsMargins(kRahmenRand, kRahmenRand, kRahmenRand, kRahmenRand);
    e.Grid1 = new FlexGridWidget(e.Frame2);
    e.Grid1->setCols(5);
    // Room for a common read whole, to the unit column: the timing line's label, the headings,
    // a kind of value and a six-digit value, each column as wide as the fitted grid makes it
    // ("AA" and its text), beside the scroll bar.
    int breite = 2 * e.Grid1->frameWidth() +
                 e.Grid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, e.Grid1);
    for (const char* muster : {"Gelesen in ", "Medium", "Volume", "100000", "Einh."})
        breite += e.Grid1->fontMetrics().horizontalAdvance(QStringLiteral("AA") +
                                                           QString::fromUtf8(muster));
    e.Grid1->setMinimumWidth(breite);
    e.MSFlexGrid2 = new FlexGridWidget(e.Frame2);
    e.MSFlexGrid2->setMaximumHeight(140);
    auto* knoepfe = new QHBoxLayout;
    e.cmdImportIndexe = aufbau::Knopf(QStringLiteral("Import Inde&x"), e.Frame2);
    e.cmdZwischen = aufbau::Knopf(QStringLiteral("&Zwischenabl."), e.Frame2,
                                  QStringLiteral("Liste in die Zwischenablage kopieren"));
    knoepfe->addWidget(e.cmdImportIndexe);
    knoepfe->addWidget(e.cmdZwischen);
    knoepfe->addStretch(1);
    spalte->addWidget(e.Grid1, 3);
    spalte->addWidget(e.MSFlexGrid2, 1);
    spalte->addLayout(knoepfe);
    return e.Frame2;
}

} // namespace

QGroupBox* ZaehlerAnsichtAufbauen(TestfensterElemente& e, QWidget* eltern)
{
    e.Frame6 = aufbau::Rahmen(QString(), eltern);
    auto* zeile = new QHBoxLayout(e.Frame6);
    // The meter's settings and header keep the width their controls need (with narrow margins
    // in their nested frames); the records grid takes the rest, so that its columns stand whole
    // on a small screen.
    auto* linksBereich = new QWidget(e.Frame6);
    auto* links = new QVBoxLayout(linksBereich);
    links->setContentsMargins(0, 0, 0, 0);
    links->addWidget(MBusRahmenAufbauen(e, linksBereich));
    links->addWidget(ZaehlerdatenAufbauen(e, linksBereich));
    links->addStretch(1);
    for (QGroupBox* rahmen : linksBereich->findChildren<QGroupBox*>())
        rahmen->layout()->setContentsMargins(kRahmenRand, kRahmenRand, kRahmenRand, kRahmenRand);
    linksBereich->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* rechts = new QVBoxLayout;
    rechts->addWidget(WerteAufbauen(e, e.Frame6), 1);
    rechts->addWidget(ModemAufbauen(e, e.Frame6));
    zeile->addWidget(linksBereich);
    zeile->addLayout(rechts, 1);
    return e.Frame6;
}
