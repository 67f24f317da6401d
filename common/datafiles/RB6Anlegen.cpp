// Names and creation of value files.

#include "datafiles/RB6Intern.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "platform/Global.h"

#include <QFileInfo>

namespace {

// Most blocks a file may have: its capacity (100 a block) must fit the 32-bit time field.
constexpr qint32 kHoechsteBlockzahl = qint32(kRB6_HoechsterSatz / kRB6_KapazitaetJeBlock);

// A number with at least the given digits, the sign in front ("-000005").
QString MitNullen(qint32 zahl, int stellen)
{
    const QString ziffern = QString::number(qAbs(qint64(zahl))).rightJustified(stellen, u'0');
    return zahl < 0 ? QStringLiteral("-") + ziffern : ziffern;
}

} // namespace

qint64 RB6_MandantNummer()
{
    qint64 zahl = 0;
    bool negativ = false;
    bool ziffernBegonnen = false;
    for (const QChar zeichen : Mandant) {
        if (zeichen == u' ' || zeichen == u'\t')
            continue;
        if (!ziffernBegonnen && (zeichen == u'-' || zeichen == u'+')) {
            negativ = zeichen == u'-';
            ziffernBegonnen = true;
            continue;
        }
        if (zeichen < u'0' || zeichen > u'9')
            break;
        ziffernBegonnen = true;
        if (zahl < 100'000'000'000'000)
            zahl = zahl * 10 + (zeichen.unicode() - u'0');
    }
    return negativ ? -zahl : zahl;
}

QString RB6_DateiName(const QString& pfad, qint32 lznr, qint32 index)
{
    return pfad + QStringLiteral("Z") + QString::number(RB6_MandantNummer()) +
           QStringLiteral("\\") + MitNullen(lznr, 6) + MitNullen(index, 3) + QStringLiteral(".zep");
}

qint32 RB6_Bloecke(qint32 bloecke)
{
    if (bloecke != 0)
        return bloecke;
    return RB6_StandardGroesse > 0 ? RB6_StandardGroesse : kRB6_VorgabeBloecke;
}

void RB6_DateifehlerMelden(const Wertdatei& datei)
{
    FehlerText = datei.fehler();
}

int RB6_Anlegen(const QString& name, qint32 bloecke, double parameter1, double parameter2,
                double parameter3, double parameter4)
{
    if (bloecke < 1 || bloecke > kHoechsteBlockzahl) {
        FehlerText = QStringLiteral("Ungültige Blockzahl %1: ").arg(bloecke) + name;
        return -1;
    }
    Wertdatei datei(name);
    const QFileInfo info(datei.pfad());
    if (info.isFile() && info.size() > 0)
        return 0;
    if (!datei.anlegen()) {
        RB6_DateifehlerMelden(datei);
        return -1;
    }
    if (datei.groesse() > 0)
        return 0;

    // The header goes in first, in one write, so that no moment exists in which the file has
    // content but no valid header. Only then is the file extended to its full size; the new
    // bytes read as zero.
    const RB6_Kopf kopf = RB6_NeuerKopf(bloecke, parameter1, parameter2, parameter3, parameter4);
    if (!datei.bytesSchreiben(0, RB6_KopfBytes(kopf))) {
        RB6_DateifehlerMelden(datei);
        datei.loeschen();
        return -4;
    }
    if (!datei.groesseSetzen(qint64(bloecke) * kRB6_Blocklaenge)) {
        RB6_DateifehlerMelden(datei);
        datei.loeschen();
        return -2;
    }
    return 0;
}

int RB6_DateiAnlegen(const QString& pfad, qint32 lznr, qint32 index, qint32 bloecke,
                     double parameter1, double parameter2, double parameter3, double parameter4)
{
    FehlerText.clear();
    const QString name = RB6_DateiName(pfad, lznr, index);
    if (bloecke < 0) {
        FehlerText = QStringLiteral("Ungültige Blockzahl %1: ").arg(bloecke) + name;
        return -1;
    }
    return RB6_Anlegen(name, RB6_Bloecke(bloecke), parameter1, parameter2, parameter3, parameter4);
}
