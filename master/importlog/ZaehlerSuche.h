#pragma once
// The meters a log line can belong to: the rows of table zaehler with a primary address, found
// by address and main index (MBIndex), read once per log file.
//
// A line finds its meter only when exactly one row has its address and index. When several rows
// do (the same address on two ports, or several meters at address 0), a line that names its
// port (the master's lines) takes the one row of that port; otherwise it is ambiguous and no
// value is stored for it, rather than mixing the readings of several meters in one file.

#include <QHash>
#include <QList>

class ZaehlerSuche
{
public:
    enum class Treffer { Keiner, Eindeutig, Mehrdeutig };

    // Reads the rows from basis.mdb under DBPath. False with FehlerText when it cannot.
    bool laden();

    // port -1: the line names no port.
    Treffer suchen(int adresse, int index, int port, qint32& lznr) const;

    int anzahl() const { return m_anzahl; }

private:
    struct Zeile
    {
        qint32 lznr = 0;
        qint64 port = -1;
    };
    static quint64 schluessel(qint64 adresse, qint64 index)
    {
        return (quint64(adresse) << 32) ^ quint64(quint32(index));
    }

    QHash<quint64, QList<Zeile>> m_zeilen;
    int m_anzahl = 0;
};
