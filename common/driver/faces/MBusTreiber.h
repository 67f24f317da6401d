#pragma once
// What every M-Bus driver object is, whichever face it shows: the factory (MBusObjektErzeugen)
// gives one of these, and a caller asks it for the face it works with.

#include <QString>

class MBusRacX4;
class IMBusOLEAutoServer;

class MBusTreiber
{
public:
    virtual ~MBusTreiber() = default;

    // The name the object was created by ("MBusRacX4.MBusRacX4.1", "MBus.OLEAutoServer").
    virtual QString name() const = 0;
    // The name-bound face; nullptr when the object has another one.
    virtual MBusRacX4* alsRacX4() { return nullptr; }
    // The fixed-interface face; nullptr when the object has another one.
    virtual IMBusOLEAutoServer* alsOleAutoServer() { return nullptr; }
};
