// MBusRawAuslesen: one meter of the master, through the driver or by raw frames.

#include "lesen/Zaehlerlesen.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/MBusRacX4.h"
#include "frames/TelegrammText.h"
#include "platform/Uhr.h"
#include "serial/SerielleDienste.h"
#include "serial/SerielleSchnittstelle.h"

namespace {

constexpr double kAntwortZeitlimitSekunden = 0.8;
const QString kAlleZaehler = QStringLiteral("ffffffff");

// Through the driver: selected by MB_ID on the driver's own port; MB_ID is written back filled
// with f to eight characters. 0 when a telegram came, -2 when the answer to the request was
// refused or missing (APPReceiveTest 4 and above), -3 when something else came.
int UeberTreiberLesen(MBusRacX4& treiber, MBZaehler& zaehler)
{
    QString id = zaehler.MB_ID.trimmed();
    // Without an identification number the mask would select whichever meter answers.
    if ((kAlleZaehler + id).right(8).compare(kAlleZaehler, Qt::CaseInsensitive) == 0) {
        zaehler.MB_ID = (kAlleZaehler + id).right(8);
        return -1;
    }
    treiber.APPInitCom(zaehler.MBComP, zaehler.MBBaud);
    const int ergebnis = MBusSelectREQUD2(treiber, id);
    zaehler.MB_ID = id;
    switch (ergebnis) {
    case 0:
        return 0;
    case -3:
        // Selected, but the data did not come, or came unusable.
        return treiber.APPReceiveTest() < 4 ? -3 : -2;
    default:
        // No meter (or several) answered the select: the driver holds no answer of this one.
        return -1;
    }
}

// By raw frames over the serial control; the driver only decodes the answer.
int RohLesen(SerielleSchnittstelle& comm, MBusRacX4& treiber, const MBZaehler& zaehler)
{
    // A meter read through the driver before leaves the driver's port open; it is the same
    // port, which opens only once.
    treiber.APPCloseCom();
    QString baud = QString::number(zaehler.MBBaud);
    if (ComPortOeffnen(comm, zaehler.MBComP, baud) != 0)
        return -4;
    const QByteArray selekt = HexToStr(zaehler.MB_SelectSec);
    QByteArray antwort;
    const int laenge = MBusRawREQUD2(comm, selekt, antwort, false, 0, 0, 0,
                                     kAntwortZeitlimitSekunden);
    comm.setPortOpen(false);
    if (laenge <= 0)
        return -1;
    treiber.APPInterpretTelegramHex(StrToHex(antwort, QString()));
    return treiber.APPReceiveTest() < 4 ? 0 : -2;
}

} // namespace

int MBusRawAuslesen(SerielleSchnittstelle& comm, MBusRacX4& treiber, MBZaehler& zaehler)
{
    const bool roh = !zaehler.MB_SelectSec.isEmpty();
    const int gelesen =
        roh ? RohLesen(comm, treiber, zaehler) : UeberTreiberLesen(treiber, zaehler);
    if (gelesen == -2)
        treiber.APPCloseCom();
    if (gelesen != 0)
        return gelesen;

    const UnixZeit zeit = DatumInUnixZeit(Jetzt());
    return TelegrammWerteLesen(treiber, zaehler, zeit) == 0 ? 0 : -3;
}
