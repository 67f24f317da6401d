#include "datafiles/RB6Kopf.h"

#include <cmath>

namespace {

void SatzEinsetzen(QByteArray& bytes, qint64 satz, qint32 tm, double wert)
{
    bytes.replace(RB6_SatzOffset(satz), kRB6_Satzlaenge, RB6_SatzBytes({tm, wert}));
}

} // namespace

QByteArray RB6_KopfBytes(const RB6_Kopf& kopf)
{
    QByteArray bytes(kRB6_Kopfsaetze * kRB6_Satzlaenge, '\0');
    SatzEinsetzen(bytes, 1, kopf.Tm1, kopf.Wert1);
    SatzEinsetzen(bytes, 2, kopf.Tm2, kopf.Wert2);
    SatzEinsetzen(bytes, 3, kopf.Tm3, kopf.Wert3);
    SatzEinsetzen(bytes, 4, kopf.Tm4, kopf.Wert4);
    SatzEinsetzen(bytes, 5, kopf.Tm5, kopf.Wert5);
    SatzEinsetzen(bytes, 6, 0, kopf.Wert6);
    return bytes;
}

RB6_Kopf RB6_KopfAusBytes(const QByteArray& bytes)
{
    const auto satz = [&bytes](qint64 n) {
        const qint64 offset = RB6_SatzOffset(n);
        if (offset + kRB6_Satzlaenge > bytes.size())
            return RB6_Satz{};
        return RB6_SatzAusBytes(bytes.constData() + offset);
    };
    RB6_Kopf kopf;
    const RB6_Satz s1 = satz(1), s2 = satz(2), s3 = satz(3), s4 = satz(4), s5 = satz(5);
    kopf.Tm1 = s1.Tm;
    kopf.Wert1 = s1.Wert;
    kopf.Tm2 = s2.Tm;
    kopf.Wert2 = s2.Wert;
    kopf.Tm3 = s3.Tm;
    kopf.Wert3 = s3.Wert;
    kopf.Tm4 = s4.Tm;
    kopf.Wert4 = s4.Wert;
    kopf.Tm5 = s5.Tm;
    kopf.Wert5 = s5.Wert;
    kopf.Wert6 = satz(6).Wert;
    const RB6_Satz s10 = satz(kRB6_ErsterWertsatz);
    kopf.Tm10 = s10.Tm;
    kopf.Wert10 = s10.Wert;
    return kopf;
}

RB6_Kopf RB6_NeuerKopf(qint32 bloecke, double parameter1, double parameter2, double parameter3,
                       double parameter4)
{
    RB6_Kopf kopf;
    kopf.Tm1 = 1;
    kopf.Wert1 = 1.0;
    kopf.Tm2 = 0;
    kopf.Wert2 = double(kRB6_Kopfsaetze);
    kopf.Wert3 = parameter1;
    kopf.Wert4 = parameter2;
    kopf.Tm5 = qint32(kRB6_KapazitaetJeBlock * bloecke);
    kopf.Wert5 = parameter3;
    kopf.Wert6 = parameter4;
    return kopf;
}

qint64 RB6_LetzterSatz(const RB6_Kopf& kopf)
{
    const double letzter = kopf.Wert2;
    if (!std::isfinite(letzter) || letzter != std::floor(letzter) || letzter < 0.0 ||
        letzter > 9.0e15)
        return -1;
    return qint64(letzter);
}

bool RB6_KopfGueltig(const RB6_Kopf& kopf, qint64 saetzeInDatei, QString& grund)
{
    if (kopf.Tm1 != 1 || kopf.Wert1 != 1.0) {
        grund = QStringLiteral("Satz 1 ist nicht (1; 1)");
        return false;
    }
    if (kopf.Tm2 < 0) {
        grund = QStringLiteral("Zeit des neuesten Wertes negativ");
        return false;
    }
    const qint64 letzter = RB6_LetzterSatz(kopf);
    if (letzter < kRB6_Kopfsaetze || letzter > saetzeInDatei || letzter > kRB6_HoechsterSatz) {
        grund =
            QStringLiteral("letzter Satz %1 außerhalb 9 bis %2").arg(kopf.Wert2).arg(saetzeInDatei);
        return false;
    }
    return true;
}
