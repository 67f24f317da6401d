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
    // Selects the meter; 1 when it does not acknowledge, -1 when the program is ending.
    const auto auswaehlen = [&]() {
        treiber.APPSelect(0, adresse, QString(), QString(), QString());
        // The program is ending: nothing more is sent.
        if (treiber.EmpfangAbwarten(false) == mbus::kEmpfangLaeuft)
            return -1;
        const int fehler = treiber.APPReceiveError();
        if (fehler == 1)
            return -1;
        return fehler != 0 ? 1 : 0;
    };
    if (const int ergebnis = auswaehlen(); ergebnis != 0)
        return ergebnis;
    // The application reset starts a meter that answers in several telegrams at its first one,
    // so that every read gives the same records. It carries FCB 1 between two selects with FCB 0,
    // so that a meter holding every frame to the FCB rule takes none of them for a repetition;
    // the REQ_UD2 then has FCB 1 again. A meter that does not acknowledge the reset is asked all
    // the same: it is still selected. (A SND_NKE would end the selection.)
    treiber.APPSendHex(MB_TelAnwendungsReset(QStringLiteral("HEX")).text.remove(u' '));
    if (treiber.EmpfangAbwarten(false) == mbus::kEmpfangLaeuft)
        return -1;
    if (const int ergebnis = auswaehlen(); ergebnis != 0)
        return ergebnis;
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
