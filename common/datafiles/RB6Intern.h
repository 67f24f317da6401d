#pragma once
// Steps the value-file services share.

#include "datafiles/RB6Kopf.h"

#include <QString>

class Wertdatei;

// The client number's numeric value: its leading digits ("045" gives 45, "" gives 0), blanks
// before and between them skipped, an optional sign honoured.
qint64 RB6_MandantNummer();

// Creates the named file when it is missing or empty (see RB6_DateiAnlegen); bloecke is the
// final block count. Status as RB6_DateiAnlegen.
int RB6_Anlegen(const QString& datei, qint32 bloecke, double parameter1, double parameter2,
                double parameter3, double parameter4);

// Reads the header of an open, non-empty file and checks it. false with the reason in
// FehlerText (a header that cannot be trusted is also written to the program log).
bool RB6_GeprueftenKopfLesen(Wertdatei& datei, RB6_Kopf& kopf);

// FehlerText := the open file's last failure.
void RB6_DateifehlerMelden(const Wertdatei& datei);
