#pragma once
// First stage of the records: cuts the user data of a variable data structure into the blocks of
// its records, as sent. Idle fillers (2F) are skipped; 0F and 1F take the rest of the data as
// manufacturer data and end the records. Every length is checked against the frame before a
// byte is read.

#include "Datensatz.h"
#include "DekodierFehler.h"

#include <QByteArrayView>
#include <QList>

#include <variant>

namespace mbus {

// The blocks between the byte positions anfang and ende (the checksum) of the frame.
std::variant<QList<Datenblock>, DekodierFehler> LiesDatenbloecke(QByteArrayView rahmen, int anfang,
                                                                 int ende);

// Bytes of the data that follow a variable-length byte (LVAR); -1 for a reserved LVAR.
int LvarLaenge(std::uint8_t lvar);

} // namespace mbus
