#pragma once
// Interval files of the energy-data system: per-meter raw files ("00001234.15p") and station
// files ("S0003\z02a0015.dat"), each a fixed ring of time slots behind a 64-byte header. Other
// programs read the same files, so the layout is exact (32-bit little-endian numbers) and no
// failure leaves a file that holds data changed in part.

#include "datafiles/RB_DateiAnlegen.h"
#include "datafiles/RB_DateiName.h"
#include "datafiles/RB_DateiZeitraum.h"
#include "datafiles/RB_Kopf.h"
#include "datafiles/RB_WerteSchreiben.h"
