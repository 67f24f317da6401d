#pragma once
// The program's side of the simulator's terminal: a QSerialPort at some baud rate, 8E1, as the
// program under test opens it.

#include <QByteArray>
#include <QSerialPort>
#include <QString>

class Gegenstelle
{
public:
    Gegenstelle(const QString& geraet, int baud);

    bool offen() const { return m_port.isOpen(); }
    void baudSetzen(int baud);
    void schliessen() { m_port.close(); }
    bool oeffnen();

    void senden(const QByteArray& bytes);
    // Reads until the line has been silent for stilleMs after the last byte, or for maxMs when
    // nothing comes at all.
    QByteArray lesen(int stilleMs = 60, int maxMs = 400);
    // Reads until n bytes have come or maxMs ran out.
    QByteArray lesenAnzahl(int n, int maxMs);
    // Sends and reads the answer.
    QByteArray austausch(const QByteArray& bytes, int stilleMs = 60, int maxMs = 400);

private:
    QSerialPort m_port;
};

// Bytes from hex text with blanks ("10 5B 01 5C 16").
QByteArray Hex(const char* text);
QByteArray Kurz(quint8 c, quint8 a);
QByteArray Lang(quint8 c, quint8 a, quint8 ci, const QByteArray& daten);
