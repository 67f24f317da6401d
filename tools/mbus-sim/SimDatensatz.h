#pragma once
// Structure of one data record (EN 13757-3): DIF, DIFEs, VIF, VIFEs, data. Enough of it to check
// the records of a bus file and to let a meter's value rise.

#include <QByteArray>

class SimDatensatz
{
public:
    enum class Kodierung { Keine, Binaer, Bcd, Andere };

    // Length of DIF, DIFEs, VIF, VIFEs (and the text of a plain-text VIF); -1 when the bytes end
    // inside them. Special DIFs (low nibble F: manufacturer data, more records, filler) have no
    // VIF.
    static int kopfLaenge(const QByteArray& satz);
    // Number of data bytes the DIF asks for; -1 when it does not fix one (variable length or
    // special DIF). For variable length the first data byte is looked at when present.
    static int datenLaenge(const QByteArray& satz, int kopf);
    static Kodierung kodierung(quint8 dif);
    // Adds `um` to the value of the record (binary little-endian or BCD); other records stay.
    static QByteArray erhoeht(const QByteArray& satz, int um);
};
