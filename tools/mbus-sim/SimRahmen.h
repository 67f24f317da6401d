#pragma once
// One M-Bus link-layer frame (EN 13757-2) as it arrived from the master: single character E5,
// short frame 10 C A CS 16, or long frame 68 L L 68 C A CI data CS 16.

#include <QByteArray>
#include <QString>

struct SimRahmen
{
    enum class Art { Einzel, Kurz, Lang };

    Art art = Art::Einzel;
    quint8 c = 0;
    quint8 a = 0;
    quint8 ci = 0;
    QByteArray daten;  // the bytes behind the CI field (long frames)
    QByteArray roh;    // every byte of the frame
    int baud = 0;      // line speed its bytes came at (0: not all at one speed)
    qint64 endeNs = 0; // when its last character was complete on the line

    // Arithmetic sum of the bytes, modulo 256.
    static quint8 pruefsumme(const QByteArray& bytes);
    static QByteArray kurz(quint8 c, quint8 a);
    static QByteArray lang(quint8 c, quint8 a, quint8 ci, const QByteArray& daten);
    // Hex text with a blank between bytes ("10 5B 01 5C 16"), for logs.
    static QString hex(const QByteArray& bytes);
};
