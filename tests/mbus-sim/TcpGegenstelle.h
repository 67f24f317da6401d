#pragma once
// The program's side of the simulator's TCP port: a QTcpSocket as a program talks to a serial
// device server.

#include <QByteArray>
#include <QElapsedTimer>
#include <QTcpSocket>

class TcpGegenstelle
{
public:
    bool verbinden(const QString& host, quint16 port)
    {
        m_socket.connectToHost(host, port);
        return m_socket.waitForConnected(3000);
    }
    void trennen()
    {
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(1000);
    }
    // Sends and reads until the line has been silent for stilleMs after the last byte, or for
    // maxMs when nothing comes at all.
    QByteArray austausch(const QByteArray& bytes, int stilleMs = 60, int maxMs = 400)
    {
        m_socket.readAll();
        m_socket.write(bytes);
        m_socket.waitForBytesWritten(1000);
        QByteArray gelesen;
        QElapsedTimer uhr;
        uhr.start();
        while (true) {
            const int frist = gelesen.isEmpty() ? maxMs - int(uhr.elapsed()) : stilleMs;
            if (frist <= 0 || !m_socket.waitForReadyRead(frist))
                return gelesen + m_socket.readAll();
            gelesen += m_socket.readAll();
        }
    }

private:
    QTcpSocket m_socket;
};
