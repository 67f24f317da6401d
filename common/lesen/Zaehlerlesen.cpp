#include "lesen/Zaehlerlesen.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusRacX4.h"
#include "frames/MBusRahmen.h"

namespace {

// Data field of the records DIF 0F and 1F.
constexpr int kDatenfeldEnde = 15;

} // namespace

bool MBusComPortSetzen(IMBusOLEAutoServer& treiber, const QString& port, qint32 baud)
{
    bool ok = false;
    treiber.OLESetBaud(QString::number(baud), ok);
    if (!ok)
        return false;
    ok = false;
    treiber.OLEOpenPort(port, ok);
    return ok;
}

int MBusSelectREQUD2(MBusRacX4& treiber, QString& adresse)
{
    adresse = (QStringLiteral("ffffffff") + adresse).right(8);
    treiber.APPSelect(0, adresse, QString(), QString(), QString());
    // The program is ending: nothing more is sent.
    if (treiber.EmpfangAbwarten(false) == mbus::kEmpfangLaeuft)
        return -1;
    const int fehler = treiber.APPReceiveError();
    if (fehler == 1)
        return -1;
    if (fehler != 0)
        return 1;
    // The application reset starts a meter that answers in several telegrams at its first one,
    // so that every read gives the same records. A meter that does not acknowledge it is asked
    // all the same: it is still selected. (A SND_NKE would end the selection.)
    treiber.APPSendHex(MB_TelAnwendungsReset(QStringLiteral("HEX")).text.remove(u' '));
    if (treiber.EmpfangAbwarten(false) == mbus::kEmpfangLaeuft)
        return -1;
    treiber.APPREQUD2(253);
    return treiber.EmpfangAbwarten(true) == mbus::kEmpfangTelegramm ? 0 : -3;
}

int TelegrammWerteLesen(MBusRacX4& treiber, MBZaehler& zaehler, UnixZeit zeit)
{
    if (treiber.APPReceiveTest() != mbus::kEmpfangTelegramm)
        return -1;
    int anzahl = treiber.APPDataRecordNumber();
    if (anzahl < 0)
        return -1;
    // DIF 0F or 1F (manufacturer data, more records follow) ends the records: no reading.
    for (int k = 1; k <= anzahl; ++k) {
        if (treiber.APPDataField(k) == kDatenfeldEnde) {
            anzahl = k - 1;
            break;
        }
    }
    if (anzahl > MBZaehler::kMaxWerte)
        return -1;
    QList<MBAntwortWert> werte;
    werte.reserve(anzahl);
    for (int k = 1; k <= anzahl; ++k)
        werte.append({treiber.APPVIBAsc(k), treiber.APPValueDec(k), treiber.APPVIBUnitAsc(k)});
    return MBZaehlerAktualisieren(zaehler, werte, zeit) ? 0 : -1;
}
