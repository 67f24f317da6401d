#include "SerielleDienste.h"

#include "frames/TelegrammText.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "serial/Austausch.h"
#include "serial/SerielleFristen.h"

#include <QElapsedTimer>

int V3CommSendMsg(SerielleSchnittstelle& comm, const QByteArray& rahmen, double vorlaufSekunden,
                  double sendeZeitlimitSekunden, double nachlaufSekunden, bool protokollieren)
{
    FehlerText.clear();
    if (!comm.PortOpen())
        return -1;
    const Austauschsperre sperre(comm);
    if (!sperre.erhalten()) {
        FehlerText = kTextBeschaeftigt;
        return -9;
    }
    const bool rtsZurueck = nachlaufSekunden > 0;
    const auto fehlschlag = [&](const QString& text) {
        FehlerText = text;
        if (rtsZurueck)
            comm.setRTSEnable(false);
        return -9;
    };
    const auto steuerfehler = [&] { return fehlschlag(comm.fehlerBeschreibung()); };

    // Nothing old may be sent, nothing old taken for the answer.
    if (comm.setOutBufferCount(0) || comm.setInBufferCount(0) || comm.setInputLen(0))
        return steuerfehler();
    comm.Input();
    if (comm.fehlerNummer())
        return steuerfehler();
    QElapsedTimer leeren;
    leeren.start();
    while (leeren.elapsed() < kLeerlesenFristMs) {
        if (!comm.warten(1))
            return fehlschlag(kTextProgrammende);
        const QByteArray rest = comm.Input();
        if (comm.fehlerNummer())
            return steuerfehler();
        if (rest.isEmpty())
            break;
    }

    if (comm.setRTSEnable(true))
        return steuerfehler();
    QElapsedTimer uhr;
    uhr.start();
    if (!WartenUeber(uhr, vorlaufSekunden))
        return fehlschlag(kTextProgrammende);

    if (comm.setOutput(rahmen))
        return steuerfehler();
    const qint64 frist = SendeFristMs(rahmen.size(), comm.baud(), sendeZeitlimitSekunden);
    uhr.restart();
    forever
    {
        const int offen = comm.OutBufferCount();
        if (comm.fehlerNummer())
            return steuerfehler();
        if (offen == 0)
            break;
        if (uhr.elapsed() > frist)
            return fehlschlag(QStringLiteral("Zeitüberschreitung beim Senden: %1 von %2 Bytes "
                                             "nach %3 ms nicht gesendet")
                                  .arg(offen)
                                  .arg(rahmen.size())
                                  .arg(uhr.elapsed()));
        // Sleeps about as long as the bytes still take on the wire (the device wakes the wait
        // when it hands more on), never past the deadline.
        const qint64 rest = frist - uhr.elapsed() + 1;
        if (!comm.warten(
                static_cast<int>(qBound<qint64>(1, DrahtzeitMs(offen, comm.baud()), rest))))
            return fehlschlag(kTextProgrammende);
    }

    uhr.restart();
    if (!WartenUeber(uhr, nachlaufSekunden))
        return fehlschlag(kTextProgrammende);
    if (rtsZurueck && comm.setRTSEnable(false))
        return steuerfehler();

    if (protokollieren)
        LogSchreiben(QStringLiteral("Send Hex   : \t") + StrToHex(rahmen, QStringLiteral(";")));
    return 0;
}
