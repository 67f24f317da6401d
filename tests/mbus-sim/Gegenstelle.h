#pragma once
// The program's side of the simulator's terminal: a QSerialPort at some baud rate, 8E1, as the
// program under test opens it.

#include "SimRahmen.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QString>

class Gegenstelle
{
public:
    Gegenstelle(const QString& geraet, int baud)
    {
        m_port.setPortName(geraet);
        oeffnen();
        baudSetzen(baud);
    }

    bool offen() const { return m_port.isOpen(); }
    void baudSetzen(int baud) { m_port.setBaudRate(baud); }
    void schliessen() { m_port.close(); }
    bool oeffnen()
    {
        if (!m_port.open(QIODevice::ReadWrite))
            return false;
        m_port.setParity(QSerialPort::EvenParity);
        m_port.clear();
        return true;
    }

    void senden(const QByteArray& bytes)
    {
        m_port.write(bytes);
        m_port.waitForBytesWritten(1000);
    }
    // Reads until the line has been silent for stilleMs after the last byte, or for maxMs when
    // nothing comes at all.
    QByteArray lesen(int stilleMs = 60, int maxMs = 400)
    {
        QByteArray gelesen = m_port.readAll();
        QElapsedTimer uhr;
        uhr.start();
        while (true) {
            const int frist = gelesen.isEmpty() ? maxMs - int(uhr.elapsed()) : stilleMs;
            if (frist <= 0 || !m_port.waitForReadyRead(frist))
                return gelesen + m_port.readAll();
            gelesen += m_port.readAll();
        }
    }
    // Reads until n bytes have come or maxMs ran out.
    QByteArray lesenAnzahl(int n, int maxMs)
    {
        QByteArray gelesen = m_port.readAll();
        QElapsedTimer uhr;
        uhr.start();
        while (gelesen.size() < n && uhr.elapsed() < maxMs) {
            if (m_port.waitForReadyRead(int(maxMs - uhr.elapsed())))
                gelesen += m_port.readAll();
        }
        return gelesen;
    }
    // Sends and reads the answer.
    QByteArray austausch(const QByteArray& bytes, int stilleMs = 60, int maxMs = 400)
    {
        m_port.readAll();
        senden(bytes);
        return lesen(stilleMs, maxMs);
    }

private:
    QSerialPort m_port;
};

// Bytes from hex text with blanks ("10 5B 01 5C 16").
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}
inline QByteArray Kurz(quint8 c, quint8 a)
{
    return SimRahmen::kurz(c, a);
}
inline QByteArray Lang(quint8 c, quint8 a, quint8 ci, const QByteArray& daten)
{
    return SimRahmen::lang(c, a, ci, daten);
}
