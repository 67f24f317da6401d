#pragma once
// Builds the RSP_UD a meter answers with from its data records: long frame, C 08, CI 72 and the
// 12-byte header (ID in BCD least significant byte first, manufacturer code little-endian,
// version, medium, access number, status, signature 00 00), then the records.

#include "SimZaehler.h"

#include <QByteArray>
#include <QList>

class SimTelegrammBauer
{
public:
    // Most record bytes an RSP_UD can carry (L counts C, A, CI and the 12-byte header too).
    static constexpr int MaxSatzBytes = 255 - 3 - 12;

    // When more telegrams follow, DIF 1F ends the records unless they already end with it.
    static QByteArray rspUd(const SimZaehler& zaehler, int adresse, quint8 zugriff,
                            const QList<QByteArray>& saetze, bool mehrFolgt);
};
