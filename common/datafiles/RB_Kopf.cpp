#include "datafiles/RB_Kopf.h"

#include "platform/Uhr.h"

#include <QtEndian>

namespace {

constexpr qint32 kLaengsterIntervall = 1440;
constexpr qint64 kSpiegelAbstand = 513;

} // namespace

RB_Kopf RB_Kopf::neu(UnixZeit start, qint32 h0, qint32 h1, qint32 h2, qint32 intervall,
                     qint32 zahlenProSlot, qint32 extra)
{
    RB_Kopf kopf;
    kopf.h[0] = h0;
    kopf.h[1] = h1;
    kopf.h[2] = h2;
    kopf.datumSetzen(start);
    kopf.h[9] = 4 * zahlenProSlot;
    kopf.h[10] = intervall;
    kopf.h[11] = extra;
    return kopf;
}

QByteArray RB_Kopf::alsBytes() const
{
    QByteArray bytes(kBytes, '\0');
    for (int i = 0; i < kFelder; ++i)
        qToLittleEndian<qint32>(h[i], bytes.data() + 4 * i);
    return bytes;
}

RB_Kopf RB_Kopf::ausBytes(const QByteArray& bytes)
{
    RB_Kopf kopf;
    if (bytes.size() < kBytes)
        return kopf;
    for (int i = 0; i < kFelder; ++i)
        kopf.h[i] = qFromLittleEndian<qint32>(bytes.constData() + 4 * i);
    return kopf;
}

qint64 RB_Kopf::sollGroesse() const
{
    return kBytes + qint64(h[9]) * h[0];
}

UnixZeit RB_Kopf::datum() const
{
    const QDate tag(h[5], h[4], h[3]);
    if (!tag.isValid() || !QTime::isValid(h[6], h[7], h[8], 0))
        return 0;
    return DatumInUnixZeit(Wandzeit(tag, QTime(h[6], h[7], h[8])));
}

void RB_Kopf::datumSetzen(UnixZeit zeit)
{
    const QDateTime datum = UnixZeitInDatum(zeit);
    h[3] = datum.date().day();
    h[4] = datum.date().month();
    h[5] = datum.date().year();
    h[6] = datum.time().hour();
    h[7] = datum.time().minute();
    h[8] = datum.time().second();
}

QString RB_Kopf::pruefen(qint64 dateiGroesse) const
{
    if (dateiGroesse < kBytes)
        return QStringLiteral("Datei kürzer als ihr Kopf");
    if (h[0] <= 0)
        return QStringLiteral("keine Slots im Kopf");
    if (h[9] != 4 && h[9] != 12)
        return QStringLiteral("unbekannte Slotgröße im Kopf");
    if (h[1] < 0 || h[1] >= h[0])
        return QStringLiteral("letzter Slot außerhalb des Rings");
    if (h[10] < 0 || h[10] > kLaengsterIntervall)
        return QStringLiteral("unbekannter Intervall im Kopf");
    if (datum() <= 0)
        return QStringLiteral("kein Datum im Kopf");
    if (dateiGroesse != sollGroesse())
        return QStringLiteral("Dateigröße passt nicht zum Kopf");
    return {};
}

qint32 RB_KopfSpiegelindex(qint32 h1, qint32 n)
{
    qint64 h2 = qint64(h1) + kSpiegelAbstand;
    if (h2 > n)
        h2 = qint64(n) - (h2 - n);
    if (h2 < 1)
        h2 = 1;
    return static_cast<qint32>(h2);
}
