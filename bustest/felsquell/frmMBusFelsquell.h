#pragma once
// The customer raw-telegram test window ("MBus-Master Felsquell"): a COM port of its own, preset
// and hand-made telegrams, one exchange per press of Send (FelsquellAustausch), the meter fields
// and records of the answer. Loading it also shows the test window.

#include "FelsquellAustausch.h"
#include "serial/SerielleSchnittstelle.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class FlexGridWidget;
class MBusRacX4;
class MBusTreiber;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmMBusFelsquell : public QWidget
{
    Q_OBJECT

public:
    // testfensterZeigen shows the test window at the end of loading; empty: a new frmMBustest.
    explicit frmMBusFelsquell(std::function<void()> testfensterZeigen = {},
                              QWidget* eltern = nullptr);
    ~frmMBusFelsquell() override;

    // Handlers.
    void cmdComOpen_Click();
    void cmdComClose_Click();
    void cmdComSend_Click();
    void Combo3_Click();
    // Prepares the preset telegrams 1 to 3 as bytes and the select telegram of the pulse counter
    // as text; nothing in the program reads them.
    void LadeStrings();

    // The controls under their own names, for the tests. Text2(1) is the multi-line box.
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QPushButton* cmdComOpen = nullptr;
    QPushButton* cmdComClose = nullptr;
    QPushButton* cmdComSend = nullptr;
    QLabel* lb_ComStatus = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QLineEdit*, 7> Text2{}; // index 1 unused: see Text2_1
    QPlainTextEdit* Text2_1 = nullptr;
    FlexGridWidget* MSFlexGrid1 = nullptr;

    // The text of Text2(index) as the window set it.
    QString Text2Text(int index) const;
    SerielleSchnittstelle& Comm1() { return m_comm; }
    const std::array<QByteArray, 3>& geladeneTelegramme() const { return m_telegramme; }
    QString geladenesSelect() const { return m_selectText; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void aufbauen();
    void Form_Load();
    void text2Setzen(int index, const QString& text);
    void logZeigen();

    SerielleSchnittstelle m_comm;
    std::unique_ptr<MBusTreiber> m_treiber;
    std::unique_ptr<FelsquellAustausch> m_austausch;
    std::function<void()> m_testfensterZeigen;
    int m_port = 0;
    QString m_baud;
    QString m_text2_1; // Text2(1) as set, line ends included
    std::array<QByteArray, 3> m_telegramme;
    QString m_selectText;
    // The open waits out another program's lock in the event loop: a close meanwhile waits
    // for it and closes the window then.
    bool m_oeffnet = false;
    bool m_schliessenNachOeffnen = false;
};
