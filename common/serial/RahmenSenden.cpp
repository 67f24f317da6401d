#include "SerielleDienste.h"

#include "frames/TelegrammText.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "serial/Austausch.h"
#include "serial/SerielleFristen.h"
#include "serial/SpaeteBytes.h"

#include <QElapsedTimer>

namespace {

// How many bytes at the start of what came repeat the frame (a level converter's echo).
qsizetype EchoLaenge(const QByteArray& gekommen, const QByteArray& rahmen)
{
    qsizetype n = 0;
    while (n < gekommen.size() && n < rahmen.size() && gekommen[n] == rahmen[n])
        ++n;
    return n;
}

} // namespace

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

    // Nothing old may be sent, nothing old taken for the answer. What still arrives answers
    // nothing of ours (a meter answering too late, noise): the frame goes out only once the line
    // has been silent for a character, or for a few characters behind such bytes, so that it is
    // never sent into a meter's answer.
    if (comm.setOutBufferCount(0) || comm.setInputLen(0))
        return steuerfehler();
    SpaeteBytes spaet;
    spaet.anfuegen(comm.Input());
    if (comm.fehlerNummer() || comm.setInBufferCount(0))
        return steuerfehler();
    QElapsedTimer leeren;
    leeren.start();
    QElapsedTimer still;
    still.start();
    const qint64 leerlesenFrist = LeerlesenFristMs(comm.baud());
    while (leeren.elapsed() < leerlesenFrist) {
        const qint64 ruhe =
            DrahtzeitMs(spaet.leer() ? 1 : kRuheZeichenNachSpaeten, comm.baud()) + 1;
        if (still.elapsed() >= ruhe)
            break;
        if (!comm.warten(static_cast<int>(ruhe - still.elapsed())))
            return fehlschlag(kTextProgrammende);
        const QByteArray rest = comm.Input();
        if (comm.fehlerNummer())
            return steuerfehler();
        if (!rest.isEmpty()) {
            spaet.anfuegen(rest);
            still.restart();
        }
    }

    if (comm.setRTSEnable(true))
        return steuerfehler();
    QElapsedTimer uhr;
    uhr.start();
    if (!WartenUeber(uhr, vorlaufSekunden))
        return fehlschlag(kTextProgrammende);

    QElapsedTimer seitSenden;
    seitSenden.start();
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

    // A meter answers 11 bit times behind the frame's last byte at the earliest: what is read
    // before that came while the frame was still on the wire and answers something else. A
    // level converter's echo of the frame comes then too; it is no answer either, but no late
    // byte worth a log line.
    const qint64 fruehesteAntwortNs = DrahtzeitNs(rahmen.size() + 1, comm.baud());
    QByteArray frueh;
    while (seitSenden.nsecsElapsed() < fruehesteAntwortNs) {
        const qint64 restMs = (fruehesteAntwortNs - seitSenden.nsecsElapsed()) / 1'000'000;
        if (!comm.warten(static_cast<int>(qMax<qint64>(restMs, 1))))
            return fehlschlag(kTextProgrammende);
        if (seitSenden.nsecsElapsed() >= fruehesteAntwortNs)
            break;
        const QByteArray teil = comm.Input();
        if (comm.fehlerNummer())
            return steuerfehler();
        if (frueh.size() < rahmen.size() + kLaengsterRahmen)
            frueh += teil;
        else
            spaet.anfuegen(teil);
    }
    const qsizetype echo = EchoLaenge(frueh, rahmen);
    spaet.anfuegen(QByteArrayView(frueh).sliced(echo));

    uhr.restart();
    if (!WartenUeber(uhr, nachlaufSekunden))
        return fehlschlag(kTextProgrammende);
    if (rtsZurueck && comm.setRTSEnable(false))
        return steuerfehler();

    spaet.protokollieren();
    if (protokollieren)
        LogSchreiben(QStringLiteral("Send Hex   : \t") + StrToHex(rahmen, QStringLiteral(";")));
    return 0;
}
