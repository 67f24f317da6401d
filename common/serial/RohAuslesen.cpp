#include "SerielleDienste.h"

#include "frames/MBusRahmen.h"
#include "frames/TelegrammText.h"
#include "platform/Global.h"

namespace {

constexpr quint8 kQuittung = 0xE5;
constexpr quint8 kLangerRahmenStart = 0x68;
constexpr quint8 kRahmenEnde = 0x16;

// REQ_UD2 to the meter selected before (address 253).
QByteArray ReqUd2AnAdresse253()
{
    QString trenner = QStringLiteral(";");
    return HexToStr(QStringLiteral("10;7B;FD;78;16;"), trenner);
}

// SND_UD to the selected meter with CI 50.
QByteArray AnwendungsReset()
{
    return HexToStr(MB_TelAnwendungsReset(QStringLiteral("HEX")).text);
}

} // namespace

int MBusRawREQUD2(SerielleSchnittstelle& comm, const QByteArray& selektRahmen, QByteArray& antwort,
                  bool empfangsLog, double vorlaufSekunden, double sendeZeitlimitSekunden,
                  double nachlaufSekunden, double zeitlimitSekunden)
{
    FehlerText.clear();
    antwort.clear();
    if (!comm.PortOpen())
        return -1;

    if (V3CommSendMsg(comm, selektRahmen, vorlaufSekunden, sendeZeitlimitSekunden, nachlaufSekunden,
                      true) != 0)
        return -2;
    double zeitlimit = zeitlimitSekunden;
    QByteArray quittung;
    const LeseErgebnis quittiert =
        V3CommReadMsg(comm, kQuittung, kQuittung, zeitlimit, quittung, empfangsLog);
    if (quittiert != 1) {
        if (FehlerText.isEmpty())
            FehlerText =
                QStringLiteral("Keine Quittung auf den Auswahlrahmen: ") + quittiert.text();
        return -3;
    }

    // The application reset starts a meter that answers in several telegrams at its first one.
    // Without its acknowledgement the meter is asked all the same: it is still selected.
    if (V3CommSendMsg(comm, AnwendungsReset(), vorlaufSekunden, sendeZeitlimitSekunden,
                      nachlaufSekunden, empfangsLog) != 0)
        return -1;
    zeitlimit = zeitlimitSekunden;
    quittung.clear();
    if (V3CommReadMsg(comm, kQuittung, kQuittung, zeitlimit, quittung, empfangsLog) < 0)
        return -1;
    FehlerText.clear();

    if (V3CommSendMsg(comm, ReqUd2AnAdresse253(), vorlaufSekunden, sendeZeitlimitSekunden,
                      nachlaufSekunden, empfangsLog) != 0)
        return -1;
    zeitlimit = zeitlimitSekunden;
    QByteArray rahmen;
    if (V3CommReadMsg(comm, kLangerRahmenStart, kRahmenEnde, zeitlimit, rahmen, empfangsLog) > 0) {
        antwort = rahmen;
        return static_cast<int>(antwort.size());
    }
    return -4;
}
