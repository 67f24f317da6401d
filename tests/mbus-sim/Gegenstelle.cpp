#include "Gegenstelle.h"

#include "SimRahmen.h"

#include <QElapsedTimer>

Gegenstelle::Gegenstelle(const QString& geraet, int baud)
{
    m_port.setPortName(geraet);
    oeffnen();
    baudSetzen(baud);
}

bool Gegenstelle::oeffnen()
{
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::EvenParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clear();
    return true;
}

void Gegenstelle::baudSetzen(int baud)
{
    m_port.setBaudRate(baud);
}

void Gegenstelle::senden(const QByteArray& bytes)
{
    m_port.write(bytes);
    m_port.waitForBytesWritten(1000);
}

QByteArray Gegenstelle::lesen(int stilleMs, int maxMs)
{
    QByteArray gelesen = m_port.readAll();
    QElapsedTimer uhr;
    uhr.start();
    while (true) {
        const int frist = gelesen.isEmpty() ? maxMs - static_cast<int>(uhr.elapsed()) : stilleMs;
        if (frist <= 0 || !m_port.waitForReadyRead(frist))
            break;
        gelesen += m_port.readAll();
    }
    return gelesen + m_port.readAll();
}

QByteArray Gegenstelle::lesenAnzahl(int n, int maxMs)
{
    QByteArray gelesen = m_port.readAll();
    QElapsedTimer uhr;
    uhr.start();
    while (gelesen.size() < n && uhr.elapsed() < maxMs) {
        if (m_port.waitForReadyRead(static_cast<int>(maxMs - uhr.elapsed())))
            gelesen += m_port.readAll();
    }
    return gelesen;
}

QByteArray Gegenstelle::austausch(const QByteArray& bytes, int stilleMs, int maxMs)
{
    m_port.readAll();
    senden(bytes);
    return lesen(stilleMs, maxMs);
}

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray Kurz(quint8 c, quint8 a)
{
    return SimRahmen::kurz(c, a);
}

QByteArray Lang(quint8 c, quint8 a, quint8 ci, const QByteArray& daten)
{
    return SimRahmen::lang(c, a, ci, daten);
}
