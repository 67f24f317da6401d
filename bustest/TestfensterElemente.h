#pragma once
// The controls of the test window under their own names. Control arrays are std::arrays
// indexed as the window numbers them. The window builds them (TestfensterAufbau.h) and owns them
// through Qt's parent chain; handlers of every part of the window reach them through here.

#include <QString>

#include <array>

class FlexGridWidget;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;

struct TestfensterElemente
{
    // Menus.
    QMenu* mnuDatei = nullptr;
    QAction* mnuEnde = nullptr;
    QAction* mnuZaehlerLesen = nullptr;
    QAction* mnueMail = nullptr;
    QAction* mnuImportIni = nullptr;
    QMenu* mnu_help = nullptr;
    QAction* mnu_openhelp = nullptr;
    QAction* mnu_about = nullptr;

    // Whole window.
    QPushButton* cmdend = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label12 = nullptr;
    QPlainTextEdit* Text13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QPushButton* Command2 = nullptr;
    QLineEdit* Text11 = nullptr;
    QPlainTextEdit* Text12 = nullptr;

    // Available test files.
    QGroupBox* Frame11 = nullptr;
    QListWidget* File1 = nullptr;
    FlexGridWidget* MSFlexGrid3 = nullptr;
    QPushButton* cmdImportAlleIndexe = nullptr;
    QPushButton* cmdImportListeAbbrechen = nullptr;

    // Checksum tool.
    QGroupBox* Frame10 = nullptr;
    std::array<QLineEdit*, 5> Text8{};
    std::array<QLabel*, 5> Label6{};
    QLabel* Label7 = nullptr;

    // Views: the bus view and the meter view share one place.
    QWidget* Ansichten = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame6 = nullptr;

    // Meter view: modem.
    QGroupBox* Frame12 = nullptr;
    QPushButton* cmdMoWaehlen = nullptr;
    QPushButton* cmdMoLesen = nullptr;
    QPushButton* cmdMoAuflegen = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* Text10 = nullptr;
    QLabel* Label10 = nullptr;
    // Meter view: values.
    QGroupBox* Frame2 = nullptr;
    FlexGridWidget* Grid1 = nullptr;
    FlexGridWidget* MSFlexGrid2 = nullptr;
    QPushButton* cmdImportIndexe = nullptr;
    QPushButton* cmdZwischen = nullptr;
    // Meter view: meter data.
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame8 = nullptr;
    QComboBox* Combo2 = nullptr;
    QGroupBox* Frame5 = nullptr;
    std::array<QLineEdit*, 2> Text3{};
    QPushButton* cmdAuslesen1bis50 = nullptr;
    QPushButton* cmdStop = nullptr;
    std::array<QLabel*, 2> Label2{};
    std::array<QLineEdit*, 6> Text2{};
    QPushButton* cmdSecLesen = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QLineEdit*, 4> Text1{};
    QComboBox* Combo7 = nullptr;
    QComboBox* Combo8 = nullptr;
    QPushButton* cmdstartAuslesen = nullptr;
    QPushButton* cmd_SetPrimSingle = nullptr;

    // Driver timing boxes: 0..3 in Frame8 (meter view), 4..7 in Frame9 (bus view).
    std::array<QLineEdit*, 8> Text7{};

    // Bus view.
    QGroupBox* frmSecAdrSuchen = nullptr;
    QGroupBox* Frame7 = nullptr;
    QLineEdit* Text4 = nullptr;
    QComboBox* Combo4 = nullptr;
    std::array<QCheckBox*, 6> Check1{};
    std::array<QLineEdit*, 6> Text5{};
    std::array<QLineEdit*, 6> Text6{};
    std::array<QLabel*, 6> Label4{};
    QLabel* Label3 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* Combo3 = nullptr;
    QPushButton* cmdSecPrimSuchen = nullptr;
    QPushButton* cmdSecAdrStop = nullptr;
    QPushButton* cmdSekSuchenAlle = nullptr;
    QPushButton* cmdSekSuchenAlleAbbrechen = nullptr;
    QGroupBox* Frame9 = nullptr;
    QComboBox* Combo1 = nullptr;
    FlexGridWidget* MSFlexGrid1 = nullptr;
    QPushButton* cmdSpeichern = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* cmd_AutoPrimaer = nullptr;
    QComboBox* Combo5 = nullptr;
    QComboBox* Combo6 = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdImporttxt = nullptr;
    QPushButton* cmdDatenbankEintrag = nullptr;
    QPushButton* cmdTabSenden = nullptr;
};
