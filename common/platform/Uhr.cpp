#include "Uhr.h"

#include <QTimeZone>

namespace {

class Systemuhr : public Uhr
{
public:
    QDateTime jetzt() const override
    {
        const QDateTime lokal = QDateTime::currentDateTime();
        return Wandzeit(lokal.date(), lokal.time());
    }
};

const Systemuhr kSystemuhr;
const Uhr* gUhr = &kSystemuhr;

} // namespace

QDateTime Jetzt()
{
    return gUhr->jetzt();
}

void UhrSetzen(const Uhr* uhr)
{
    gUhr = uhr ? uhr : &kSystemuhr;
}

QDateTime Wandzeit(QDate datum, QTime zeit)
{
    return QDateTime(datum, zeit, QTimeZone::utc());
}
