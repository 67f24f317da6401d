#pragma once
// The fixed-interface face of the M-Bus driver ("MBus.OLEAutoServer"), records from 0. Each
// request runs its exchange to the end before it returns, sleeping in the event loop meanwhile
// until a byte or the exchange's next deadline comes (other events run; the exchange's own
// deadline bounds the wait); a second call on the same object from inside that wait is turned
// away (not answered). When the program ends meanwhile, the
// exchange is given up as unanswered.
//
// Port: OLESetBaud must have accepted a baud rate before OLEOpenPort can open; a rate it turns
// down withdraws the one before. OLESetBaud on an open port reopens it at the new rate.
// Timing: the EN 13757-2 answer window (330 bit times) plus OLESetTimeout milliseconds (50 until
// set; 0 or less restores 50). No request is repeated.
// Texts (medium, record kind and unit) are English. Every request clears the decoded state
// first; without a telegram the getters give "" and -1 (0 records).

#include "IMBusOLEAutoServer.h"
#include "MBusTreiber.h"
#include "driver/transport/Busanschluss.h"

#include <optional>

class AntwortSicht;

class MBusOLEAutoServer : public MBusTreiber, public IMBusOLEAutoServer
{
public:
    MBusOLEAutoServer();
    // Tests: another line or clock.
    explicit MBusOLEAutoServer(std::unique_ptr<mbus::Buskanal> kanal,
                               std::unique_ptr<mbus::Busuhr> uhr);
    ~MBusOLEAutoServer() override;

    QString name() const override;
    IMBusOLEAutoServer* alsOleAutoServer() override { return this; }

    void OLEReqUD2(int adresse, bool& beantwortet) override;
    void OLESndNke(int adresse, bool& beantwortet) override;
    QString OLEDeviceIdText() override;
    qint64 OLEDeviceIdNumber() override;
    QString OLEGenerationText() override;
    QString OLEManufacturerText() override;
    int OLEManufacturerNumber() override;
    QString OLEMediumText() override;
    int OLEMediumNumber() override;
    QString OLERecordValueText(int index) override;
    QString OLERecordUnitText(int index) override;
    QString OLERecordKindText(int index) override;
    int OLERecordCount() override;
    void OLESetBaud(const QString& baud, bool& ok) override;
    void OLEOpenPort(const QString& port, bool& ok) override;
    void OLESetTimeout(int timeout) override;
    QByteArray OLERawTelegram() override;
    void OLEClosePort() override;

private:
    // Runs the request to its end; false when it could not start (busy, no such address).
    bool austauschen(int adresse, bool nke);
    AntwortSicht sicht() const;

    mbus::Busanschluss m_anschluss;
    std::optional<int> m_baud;
    std::optional<int> m_port;
    int m_timeoutMs = mbus::kStandardZeiten.antwortOffsetMs;
    bool m_beschaeftigt = false;
};
