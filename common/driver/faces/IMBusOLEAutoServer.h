#pragma once
// The fixed interface of the driver "MBus.OLEAutoServer", its slots in their fixed order. Every
// call finishes its bus exchange before it returns (it yields to the program meanwhile). Records
// count from 0.

#include <QByteArray>
#include <QString>

class IMBusOLEAutoServer
{
public:
    virtual ~IMBusOLEAutoServer() = default;

    // REQ_UD2 to the primary address; beantwortet: a telegram came and was decoded.
    virtual void OLEReqUD2(int adresse, bool& beantwortet) = 0;
    // SND_NKE to the primary address; beantwortet: the meter acknowledged.
    virtual void OLESndNke(int adresse, bool& beantwortet) = 0;
    virtual QString OLEDeviceIdText() = 0;
    virtual qint64 OLEDeviceIdNumber() = 0;
    virtual QString OLEGenerationText() = 0;
    virtual QString OLEManufacturerText() = 0;
    virtual int OLEManufacturerNumber() = 0;
    virtual QString OLEMediumText() = 0;
    virtual int OLEMediumNumber() = 0;
    virtual QString OLERecordValueText(int index) = 0;
    virtual QString OLERecordUnitText(int index) = 0;
    virtual QString OLERecordKindText(int index) = 0;
    virtual int OLERecordCount() = 0;
    // ok: the text names an M-Bus baud rate; the port opens at it.
    virtual void OLESetBaud(const QString& baud, bool& ok) = 0;
    // "Com " & n (also "COMn" or n); ok only after OLESetBaud gave true and the port opened.
    virtual void OLEOpenPort(const QString& port, bool& ok) = 0;
    virtual void OLESetTimeout(int timeout) = 0;
    virtual QByteArray OLERawTelegram() = 0;
    virtual void OLEClosePort() = 0;
};
