#pragma once
// The keys the test window keeps in the shared settings file: the driver choice, the driver's
// four timing values and the last port and address typed. Every value is written the moment its
// box changes; the results of the writes are not used.
//
//   section                 key                 written by
//   Mandant & "MBus0"       OleProvider         the two driver-choice boxes
//   Mandant & "MBus"        COMTimeout ...      the timing boxes (index mod 4)
//   "MBusTest" & Mandant    PrimAdr/ComPort/Baud the single-meter boxes 0..2
//   Mandant & "MBusTest"    COMPort             the search port box
//
// The last two sections name the client number on opposite sides; files written by earlier
// versions rely on both, so both stay.

#include "text/Texte.h"

#include <QString>

#include <array>

class TestfensterEinstellungen
{
public:
    // Timing keys in the order of the timing boxes, and their defaults.
    static constexpr int kTimingAnzahl = 4;
    static const std::array<QString, kTimingAnzahl> kTimingSchluessel;
    static const std::array<QString, kTimingAnzahl> kTimingVorgabe;

    explicit TestfensterEinstellungen(QString datei);

    // Key "OleProvider" := the driver number.
    void providerSchreiben(int treiberNummer) const;
    // The timing key of box index (index mod 4) := wert.
    void timingSchreiben(int index, const QString& wert) const;
    // Start-up reading of timing value i (0..3): the number stored (an absent key or a text
    // that is no number reads as 0) as text; a value of 0 writes the default to the key and
    // gives the default.
    QString timingLaden(int i) const;
    // Single-meter box i (0..2) := "PrimAdr", "ComPort" or "Baud"; other indexes write nothing.
    void einzelwertSchreiben(int index, const QString& wert) const;
    // Key "COMPort" of the searches.
    void suchPortSchreiben(const QString& wert) const;

    QString timingAbschnitt() const;
    QString providerAbschnitt() const;

private:
    QString m_datei;
};
