#include "SerielleDienste.h"

#include "frames/MBusRahmen.h"
#include "frames/TelegrammText.h"
#include "platform/Global.h"

namespace {

constexpr quint8 kQuittung = 0xE5;
constexpr quint8 kLangerRahmenStart = 0x68;
constexpr quint8 kRahmenEnde = 0x16;
// The reset's E5 is awaited for the answer window only: the read never waits less for a first
// byte (AntwortfristMs).
constexpr double kResetZeitlimitSekunden = 0.001;

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

    // Sends the stored select frame and awaits its E5: -2 when it could not be sent, -3 without
    // the acknowledgement.
    const auto auswaehlen = [&]() {
        if (V3CommSendMsg(comm, selektRahmen, vorlaufSekunden, sendeZeitlimitSekunden,
                          nachlaufSekunden, true) != 0)
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
        return 0;
    };
    if (const int ergebnis = auswaehlen(); ergebnis != 0)
        return ergebnis;

    // The application reset starts a meter that answers in several telegrams at its first one.
    // It carries FCB 1 between two selects with FCB 0, so that a meter holding every frame to the
    // FCB rule takes none of them for a repetition. Without its acknowledgement the meter is
    // asked all the same: it is still selected. Its E5 is awaited for the answer window only
    // (the read floors the tiny limit at it): a meter that ignores the reset costs no more.
    if (V3CommSendMsg(comm, AnwendungsReset(), vorlaufSekunden, sendeZeitlimitSekunden,
                      nachlaufSekunden, empfangsLog) != 0)
        return -1;
    double zeitlimit = kResetZeitlimitSekunden;
    QByteArray quittung;
    if (V3CommReadMsg(comm, kQuittung, kQuittung, zeitlimit, quittung, empfangsLog) < 0)
        return -1;
    FehlerText.clear();
    if (const int ergebnis = auswaehlen(); ergebnis != 0)
        return ergebnis;

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
