// The controls of the meter and index-export editor and their places.

#include "frmMBusEditIndexExport.h"

#include "Zelleneditor.h"
#include "ui/Bildschirmplatz.h"
#include "ui/FlexGridWidget.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QPushButton* Knopf(QWidget* eltern, const char* text, const char* tipp)
{
    auto* knopf = new QPushButton(QString::fromUtf8(text), eltern);
    knopf->setToolTip(QString::fromUtf8(tipp));
    knopf->setAutoDefault(false);
    knopf->setMinimumWidth(120);
    return knopf;
}

QLabel* Beschriftung(QWidget* eltern, const char* text)
{
    return new QLabel(QString::fromUtf8(text), eltern);
}

void ListeAufbauen(IndexExportElemente& e)
{
    QWidget* f = e.Frame1;
    e.MSFlexGrid1 = new FlexGridWidget(f);
    e.MSFlexGrid1->setToolTip(QString::fromUtf8("Mit Doppelclick den Zähler aufrufen"));
    e.cmdAendern = Knopf(f, "&Ändern", "Zähler ändern.");
    e.cmdLoeschen = Knopf(f, "&Löschen", "Zähler löschen.");
    e.cmdZwischen = Knopf(f, "&Zwischenabl.", "Liste in die Zwischenablage kopieren");
    e.cmdClose = Knopf(f, "&Schließen", "Liste schließen");
    e.Label2 = Beschriftung(f, "Datenbank : ");
    e.Label4[0] = new QLabel(f);
    e.Label4[1] = new QLabel(f);
    e.Label3[0] = Beschriftung(f, "Export-Pfad : ");
    e.Label3[1] = Beschriftung(f, "Vor Wert : ");
    e.Text3 = new QLineEdit(f);
    e.Text4 = new QLineEdit(f);
    for (QLabel* label : e.Label4)
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(e.cmdAendern);
    knoepfe->addWidget(e.cmdLoeschen);
    knoepfe->addWidget(e.cmdZwischen);
    knoepfe->addStretch(1);
    knoepfe->addWidget(e.cmdClose);

    auto* oben = new QHBoxLayout;
    oben->addWidget(e.MSFlexGrid1, 1);
    oben->addLayout(knoepfe);

    auto* unten = new QGridLayout;
    unten->addWidget(e.Label2, 0, 0);
    unten->addWidget(e.Label4[0], 0, 1);
    unten->addWidget(e.Label3[0], 1, 0);
    unten->addWidget(e.Text3, 1, 1);
    unten->addWidget(e.Label3[1], 2, 0);
    unten->addWidget(e.Text4, 2, 1);
    unten->addWidget(e.Label4[1], 3, 1);
    unten->setColumnStretch(1, 1);

    auto* rahmen = new QVBoxLayout(f);
    rahmen->addLayout(oben, 1);
    rahmen->addLayout(unten);
}

void BearbeitungAufbauen(IndexExportElemente& e)
{
    QWidget* f = e.Frame2;
    const char* const titel[] = {"Zählernummer : ", "Zählername : ", "MBus Adresse : "};
    const char* const tipps[] = {"Nummer die auf dem Zähler steht",
                                 "Was wird gezählt oder Ort usw...", "MBus Primäradresse"};
    const int labelNummer[] = {5, 0, 1};
    auto* kopf = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        QLabel*& label = e.Label1[static_cast<size_t>(labelNummer[i])];
        label = Beschriftung(f, titel[i]);
        QLineEdit*& box = e.Text1[static_cast<size_t>(i)];
        box = new QLineEdit(f);
        box->setToolTip(QString::fromUtf8(tipps[i]));
        // The meter is shown, not edited here: only the index list is stored.
        box->setReadOnly(true);
        kopf->addWidget(label, i, 0);
        kopf->addWidget(box, i, 1);
    }
    e.Label5 = new QLabel(f);
    QFont gross = e.Label5->font();
    gross.setBold(true);
    e.Label5->setFont(gross);
    kopf->addWidget(e.Label5, 0, 2, Qt::AlignLeft);
    kopf->setColumnStretch(1, 2);
    kopf->setColumnStretch(2, 1);

    e.MSFlexGrid2 = new FlexGridWidget(f);
    e.Text2 = new Zelleneditor(e.MSFlexGrid2);
    e.cmdNeu = Knopf(f, "&Neu", "Neuen Zähler anlegen.");
    e.cmdSpeichern = Knopf(f, "&Speichern", "Änderungen speichern.");
    e.cmdLoeschenausfuehren = Knopf(f, "&Löschen", "Löscht den Zähler.");
    e.cmdAbbrechen = Knopf(f, "&Abbrechen", "Zurück zur Liste. Nicht Speichern.");
    e.cmdLoeschenausfuehren->hide();

    auto* knoepfe = new QVBoxLayout;
    knoepfe->addWidget(e.cmdNeu);
    knoepfe->addWidget(e.cmdSpeichern);
    knoepfe->addWidget(e.cmdLoeschenausfuehren);
    knoepfe->addStretch(1);
    knoepfe->addWidget(e.cmdAbbrechen);

    auto* mitte = new QHBoxLayout;
    mitte->addWidget(e.MSFlexGrid2, 1);
    mitte->addLayout(knoepfe);

    auto* rahmen = new QVBoxLayout(f);
    rahmen->addLayout(kopf);
    rahmen->addLayout(mitte, 1);
}

} // namespace

IndexExportElemente IndexExportAufbauen(QMainWindow& fenster)
{
    IndexExportElemente e;
    fenster.setWindowTitle(QStringLiteral("MBus Indexexport"));
    e.rahmen = new QStackedWidget(&fenster);
    e.Frame1 = new QWidget(e.rahmen);
    e.Frame2 = new QWidget(e.rahmen);
    e.rahmen->addWidget(e.Frame1);
    e.rahmen->addWidget(e.Frame2);
    fenster.setCentralWidget(e.rahmen);
    ListeAufbauen(e);
    BearbeitungAufbauen(e);
    fenster.resize(1000, 640);
    BeimZeigenEinpassen(fenster);
    return e;
}
