#pragma once
// The window "Import Log Datei": rebuilds a client's value files from the daily M-Bus logs,
// lists per-day readings of one address, and looks into single value files. The work is done by
// LogImport and WertdateiWerkzeuge; the window only wires its controls to them.
//
// While a run or a tool is busy every button of the window is disabled; "Import" and
// "Datei Lesen" are also disabled while a master's cycle of the client runs (looked at every
// second). Closing the window during a run stops the run (no value file is left half written)
// and then closes.

#include "LogImport.h"

#include <QWidget>

#include <array>

class FlexGridWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class frmImportLogFile : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSperrenIntervallMs = 1000;

    explicit frmImportLogFile(QWidget* eltern = nullptr);
    ~frmImportLogFile() override;

    // Public operations.
    void Read_MBusLogTgIndex(FlexGridWidget& grid, const QString& sFilename, const QString& primAdr,
                             int tgNr);
    void Read_MBusLog(FlexGridWidget& grid, const QString& sFilename, bool withHeader,
                      const QString& fieldSep, int startZeile, bool ifAppand = false);

    // Handlers.
    void cmdImport_Click();
    void cmdDateiLesen_Click();
    void cmdTageswerte_Click();
    void Text4_Change();
    void cmdErzeugeTestDatei_Click();
    void cmdDatInfoLesen_Click();
    void cmdLesen_Click();
    void Command1_Click();
    void cmdLeseTag_Click();
    // Enables "Import" and "Datei Lesen" unless a run is busy or a master cycle of the client runs.
    void sperrenPruefen();

    // Controls, named and indexed as the handlers address them.
    std::array<QLineEdit*, 6> Text5{};
    std::array<QLabel*, 6> Label4{};
    std::array<QLabel*, 3> Label1{};
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lblWerkzeug = nullptr; // status of the value-file tools
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdTageswerte = nullptr;
    QPushButton* cmdDateiLesen = nullptr;
    QPushButton* cmdErzeugeTestDatei = nullptr;
    QPushButton* cmdDatInfoLesen = nullptr;
    QPushButton* cmdLesen = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdLeseTag = nullptr;
    FlexGridWidget* MSFlexGrid1 = nullptr;
    FlexGridWidget* MSFlexGrid2 = nullptr;
    FlexGridWidget* MSFlexGrid3 = nullptr;
    FlexGridWidget* MSFlexGrid4 = nullptr;
    FlexGridWidget* MSFlexGrid5 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QTimer* SperrenTimer = nullptr;

    LogImport& import() { return m_import; }
    bool beschaeftigt() const { return m_import.laeuft() || m_werkzeugLaeuft; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void aufbauen();
    void laden();
    void verbinden();
    void knoepfeSetzen();
    void laufGeaendert(bool laeuft);
    template <typename Werkzeug> void werkzeugAusfuehren(Werkzeug werkzeug);

    LogImport m_import;
    bool m_werkzeugLaeuft = false;
    bool m_schliessenNachLauf = false;
};
