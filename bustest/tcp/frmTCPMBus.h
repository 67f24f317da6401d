#pragma once
// The TCP link test window (caption "Form1"): host and port of a serial device server, a
// telegram as hex bytes, the reply as hex bytes and the socket's state. The work is done by
// TcpVerbindungstest; the window only wires its controls to it.

#include "TcpVerbindungstest.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Winsock;

class frmTCPMBus : public QWidget
{
    Q_OBJECT

public:
    explicit frmTCPMBus(QWidget* eltern = nullptr);

    // The controls under their own names, for the tests.
    QLineEdit* Text1 = nullptr;      // host
    QLineEdit* Text2 = nullptr;      // port
    QLineEdit* Text3 = nullptr;      // telegram
    QPlainTextEdit* Text4 = nullptr; // reply
    QLabel* Label4 = nullptr;        // state
    QPushButton* cmdTCPConnect = nullptr;
    QPushButton* cmdTCPClose = nullptr;
    QPushButton* cmdTCPSend = nullptr;

    Winsock& Winsock1() { return *m_socket; }
    TcpVerbindungstest& test() { return m_test; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void cmdTCPConnect_Click();
    void cmdTCPClose_Click();
    void cmdTCPSend_Click();
    void knoepfeZeigen(bool verbunden);

    Winsock* m_socket = nullptr;
    TcpVerbindungstest m_test;
    bool m_schliessenAngefragt = false;
};
