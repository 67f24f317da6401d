#pragma once
// The controls of the master window, by their names.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <array>

class FlexGridWidget;
class QAction;
class QMainWindow;

struct MasterfensterElemente
{
    // Meter list.
    QGroupBox* Frame1 = nullptr;
    FlexGridWidget* MSFlexGrid1 = nullptr;
    // Control area.
    QGroupBox* Frame2 = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdWeiter = nullptr;
    QPushButton* TestZaehlerLaden = nullptr;
    QPushButton* cmd_V2_MBLesenSecundaer = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    FlexGridWidget* MSFlexGrid3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    // Settings frame.
    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QPushButton* cmdTestService = nullptr;
    QGroupBox* Frame7 = nullptr;
    std::array<QLineEdit*, 4> Text4{};
    std::array<QLabel*, 4> Label12{};
    std::array<QCheckBox*, 4> Check1{};
    QLineEdit* Text3 = nullptr;
    QLabel* Label11 = nullptr;
    QPushButton* cmdEinstellungenZurueck = nullptr;
    QLabel* Label7 = nullptr;
    // Log and index list, lying on one another.
    QGroupBox* Frame4 = nullptr;
    FlexGridWidget* MSFlexGrid4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QComboBox* Combo3 = nullptr;
    QPushButton* cmdSpeichernIndexliste = nullptr;
    FlexGridWidget* MSFlexGrid2 = nullptr;
    // The cycle tick (1000 ms).
    QTimer* Timer1 = nullptr;
    // Menus.
    QAction* mnuEnde = nullptr;
    QAction* mnuEinstellung = nullptr;
    QAction* mnuLog = nullptr;
};

// Creates every control of the window with its caption and places it with layouts.
void MasterfensterAufbauen(QMainWindow& fenster, MasterfensterElemente& e);
