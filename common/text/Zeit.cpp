#include "Zeit.h"

#include "platform/Uhr.h"

#include <limits>

namespace {

const QDate kNullDatum(1970, 1, 1);

constexpr qint64 kSekundenTag = 86400;

} // namespace

QDateTime UnixZeitInDatum(UnixZeit& sekunden)
{
    if (sekunden < 0)
        sekunden = 0;
    return Wandzeit(kNullDatum.addDays(sekunden / kSekundenTag),
                    QTime(0, 0).addSecs(static_cast<int>(sekunden % kSekundenTag)));
}

UnixZeit DatumInUnixZeit(const QDateTime& datum)
{
    // Only the wall-clock fields count: a time zone the value may carry is ignored.
    if (!datum.isValid() || !datum.date().isValid())
        return 0;
    const qint64 sekunden =
        kNullDatum.daysTo(datum.date()) * kSekundenTag + datum.time().msecsSinceStartOfDay() / 1000;
    if (sekunden < 0 || sekunden > std::numeric_limits<UnixZeit>::max())
        return 0;
    return static_cast<UnixZeit>(sekunden);
}

QString UnixZeitAlsText(UnixZeit& sekunden)
{
    return DatumMitWochentag(UnixZeitInDatum(sekunden));
}

QString DatumMitWochentag(const QDateTime& datum)
{
    if (!datum.isValid())
        return {};
    return GetWochentag(datum) + datum.date().toString(QStringLiteral("  dd.MM.yyyy")) +
           datum.time().toString(QStringLiteral("  hh:mm:ss"));
}

QString GetWochentag(const QDateTime& datum)
{
    // QDate counts Monday as 1 and Sunday as 7.
    static const QString kTage[] = {
        QStringLiteral("Mo"), QStringLiteral("Di"), QStringLiteral("Mi"), QStringLiteral("Do"),
        QStringLiteral("Fr"), QStringLiteral("Sa"), QStringLiteral("So"),
    };
    const int tag = datum.date().dayOfWeek();
    if (tag < 1 || tag > 7)
        return {};
    return kTage[tag - 1];
}

UnixZeit NaechsterIntervall(qint32 intervallSekunden)
{
    if (intervallSekunden <= 0)
        return 0;
    const qint64 jetzt = DatumInUnixZeit(Jetzt());
    const qint64 naechste = (jetzt / intervallSekunden) * intervallSekunden + intervallSekunden;
    // A boundary beyond the 32-bit range cannot be carried as a UnixZeit.
    if (naechste > std::numeric_limits<UnixZeit>::max())
        return 0;
    return static_cast<UnixZeit>(naechste);
}
