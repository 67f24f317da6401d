// The loading step of the test window.

#include "frmMBustest.h"

#include "ComboAuswahlListe.h"
#include "ComboListe.h"
#include "platform/Global.h"
#include "TestfensterRegeln.h"
#include "grid/GridHilfen.h"
#include "serial/SerielleDienste.h"
#include "settings/Einstellungen.h"
#include "ui/FlexGridWidget.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const QStringList kBaudraten = {QStringLiteral("9600"), QStringLiteral("4800"),
                                QStringLiteral("2400"), QStringLiteral("1200"),
                                QStringLiteral("600"),  QStringLiteral("300")};

void EintraegeSetzen(QComboBox& box, const QStringList& eintraege, const QString& text)
{
    const QSignalBlocker stumm(&box);
    box.addItems(eintraege);
    box.setEditText(text);
}

} // namespace

// Every step goes on whatever the one before it met: a box that cannot be filled or a port list
// that cannot be built leaves its control as it is, and the window still shows.
void frmMBustest::Form_Load()
{
    auto& e = m_ui;
    // 1. The sample telegram of the telegram tools.
    RohdatenText = kBeispielTelegramm;
    // 2. The meter view lies on the bus view: both share one cell of the view area.
    // 3. No scan result yet.
    for (QLabel* zeile : e.Label4)
        zeile->clear();
    // 4. The scan grid: header row only.
    static const char* const kopf[] = {"Primär",      "ID",      "Herst.",   "Vers.",
                                       "Medium",      "AnzDat.", "Baudrate", "Neue Primäradresse",
                                       "Neu Baudrate"};
    e.MSFlexGrid1->setRows(1);
    e.MSFlexGrid1->setCols(9);
    for (int spalte = 0; spalte < 9; ++spalte)
        e.MSFlexGrid1->setTextMatrix(0, spalte, QString::fromUtf8(kopf[spalte]));
    // 5. Search level of the secondary search.
    {
        const QSignalBlocker stumm(e.Combo3);
        for (int stelle = 8; stelle >= 1; --stelle)
            e.Combo3->addItem(QString::number(stelle));
        e.Combo3->setCurrentIndex(0);
    }
    Combo3_Click();
    // 6. Driver choice: both boxes from the stored choice, the driver of this window between.
    {
        ComboAuswahlListe liste(*e.Combo1);
        ProviderNr = static_cast<quint8>(MB_ProviderListeLaden(liste, 0));
        Combo1_Click();
        int nummer = ProviderNr;
        LoadMBusPovider(nummer);
        ComboAuswahlListe liste2(*e.Combo2);
        ProviderNr = static_cast<quint8>(MB_ProviderListeLaden(liste2, 0));
        Combo2_Click();
    }
    // 7. Driver timing as stored; a missing value or 0 stores the default.
    for (int i = 0; i < TestfensterEinstellungen::kTimingAnzahl; ++i) {
        Text7Setzen(i, m_einstellungen.timingLaden(i));
        Text7Setzen(i + 4, e.Text7[static_cast<size_t>(i)]->text());
    }
    // 8. The telegram dump has its place in the side column.
    // 9. COM ports of the search and of the single meter.
    {
        ComboListe suchPorts(*e.Combo4);
        ListComPorts(MSComm1, suchPorts);
        ComboListe einzelPorts(*e.Combo7);
        ListComPorts(MSComm1, einzelPorts);
    }
    // 10. The search port is the first free one.
    Text4Setzen(e.Combo4->currentText());
    // 11. The timing values start from their defaults, both sets and the stored keys alike.
    for (int i = 0; i < TestfensterEinstellungen::kTimingAnzahl; ++i)
        Text7Setzen(i + 4, TestfensterEinstellungen::kTimingVorgabe[static_cast<size_t>(i)]);
    // 12. and 13. Baud rates to write and of the single meter.
    EintraegeSetzen(*e.Combo6, kBaudraten, QString());
    EintraegeSetzen(*e.Combo8, kBaudraten, QStringLiteral("2400"));
    // 14.
    FlexGridSpaltenbreiten(*e.MSFlexGrid1);
    // 15. The service switch shows the service controls.
    if (DienstschalterGesetzt(Kommandozeile()))
        dienstElementeZeigen();
    // 16.
    show();
}

void frmMBustest::dienstElementeZeigen()
{
    auto& e = m_ui;
    for (QWidget* element : std::initializer_list<QWidget*>{
             e.cmd_AutoPrimaer, e.Frame8, e.Frame9, e.Frame10, e.Command2, e.cmdImporttxt,
             e.cmdImport, e.cmdImportIndexe, e.cmdImportAlleIndexe})
        element->show();
}
