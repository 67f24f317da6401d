#pragma once
// The driver-choice box of the windows that talk to the M-Bus driver, and the empty reading
// procedure of the third choice.
//
//   number  entry          driver
//   0       "MBus OLE V1"  the fixed-interface driver
//   1       "MBus OLE V2"  the member-name driver
//   2       "MBus ZEP"     none: reading through it does nothing (MB_Leer)

#include <QString>
#include <QVariant>

// What the driver list needs of a combo box; a window gives its box through a small adapter.
class AuswahlListe
{
public:
    virtual ~AuswahlListe() = default;
    virtual void clear() = 0;
    // Appends an entry with its item data.
    virtual void addItem(const QString& text, const QVariant& daten) = 0;
    virtual void setCurrentIndex(int index) = 0;
};

// Fills the box with the three drivers and selects the one stored in ".\ZEP.INI", section
// Mandant & "MBus" & suffix, key "OleProvider" (its leading number). A missing key, an empty or
// unreadable value, 0, and a number that names no entry (above 2 or below 0) all give driver 1,
// so that a window always starts with a driver the box can show. Gives the number back.
int MB_ProviderListeLaden(AuswahlListe& liste, const QVariant& suffix);

// Reading through the third choice: does nothing, gives an empty value.
QVariant MB_Leer(const QVariant& a, const QVariant& b, const QVariant& c);
