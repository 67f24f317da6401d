#pragma once
// The per-process register of open serial devices.
//
// Whoever opens a serial device in this program (the serial control, the M-Bus driver) first
// takes a Geraetebelegung for it and keeps it for as long as the device is open. A device that is
// taken already cannot be taken a second time, so two parts of the program never talk over the
// same line at once. Devices are known by their real path: a link (/dev/serial/by-id/...) and
// its target are one device. Other programs are kept out by the serial port's own lock.

#include <QString>

class Geraetebelegung
{
public:
    // Tries to take the device; erhalten() tells whether it worked.
    explicit Geraetebelegung(const QString& geraet);
    // Gives the device back when it was taken.
    ~Geraetebelegung();
    Geraetebelegung(const Geraetebelegung&) = delete;
    Geraetebelegung& operator=(const Geraetebelegung&) = delete;

    bool erhalten() const { return !m_schluessel.isEmpty(); }

    // True while some part of this program holds the device.
    static bool belegt(const QString& geraet);

private:
    QString m_schluessel;
};
