#pragma once
// The units a value is shown in. The windows and the master work with energy in kWh (MWh, GJ and
// MCal where the value information says so), power in kW, volume in m^3, volume flow in m^3/h,
// mass in t, temperatures in °C, temperature differences in K and pressure in bar; durations
// keep the unit the meter gives (s, min, h, d). Every other unit stays as the meter sends it.

#include "Dezimal.h"
#include "Groessen.h"

#include <QString>

namespace mbus {

struct AngezeigterWert
{
    Einheit einheit = Einheit::Keine;
    Dezimal wert;
};

// The value in the unit it is shown in.
AngezeigterWert InAnzeigeeinheit(Einheit einheit, const Dezimal& wert);

// "kWh", "m^3", "°C" ...; "" for no unit.
QString EinheitText(Einheit einheit, Sprache sprache);

} // namespace mbus
