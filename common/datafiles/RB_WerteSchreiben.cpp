#include "datafiles/RB_WerteSchreiben.h"

#include "datafiles/IntervallSperre.h"
#include "datafiles/RB_Datei.h"
#include "datafiles/RB_DateiZeitraum.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"

namespace {

constexpr qint32 kBytesSlot15p = 12;

int Nichtgespeichert(const QString& name, const QString& grund)
{
    FehlerText = grund;
    LogSchreiben(QStringLiteral("Werte nicht gespeichert: ") + name + QStringLiteral(" ") + grund);
    return -3;
}

int Schreibfehler(const RB_Datei& datei)
{
    FehlerText = datei.fehler();
    Beep();
    return -2;
}

} // namespace

int RB_WerteSchreiben(const QString& name, const QList<RB_Zeile>& zeilen, bool differenz)
{
    FehlerText.clear();
    RB_Datei datei(name);
    const IntervallSperre sperre(datei.pfad(), IntervallSperre::Art::Schreiben);
    if (!sperre.gehalten()) {
        FehlerText = QStringLiteral("Datei wird gerade bearbeitet! ") + name;
        return -4;
    }

    RB_Kopf kopf;
    UnixZeit letzte = 0;
    UnixZeit erste = 0;
    const int rc = RB_DateiZeitraum(name, kopf, letzte, erste);
    if (rc != 0)
        return rc;
    if (kopf.h[9] != kBytesSlot15p)
        return Nichtgespeichert(name, QStringLiteral("keine Datei mit drei Zahlen je Slot"));

    const RB_Schreibplan plan = RB_SchreibplanErstellen(kopf, letzte, zeilen, differenz);
    if (!plan.fehler.isEmpty())
        return Nichtgespeichert(name, plan.fehler);
    if (plan.slotwerte.isEmpty())
        return 0;

    if (!datei.oeffnenSchreiben())
        return Schreibfehler(datei);
    // The header must still be the one the plan was made from.
    RB_Kopf neu = datei.kopfLesen();
    if (!neu.pruefen(datei.groesse()).isEmpty() || neu.h[0] != kopf.h[0] || neu.h[1] != kopf.h[1] ||
        neu.h[9] != kopf.h[9]) {
        FehlerText = QStringLiteral("Dateikopf hat sich geändert: ") + name;
        return -2;
    }
    for (const RB_Slotwert& slot : plan.slotwerte) {
        if (!datei.saetzeSchreiben(kopf.slotSatz(slot.slot), {slot.zeit, slot.sekunden, slot.wert}))
            return Schreibfehler(datei);
        if (!ProgrammEndet())
            DoEvents();
    }

    neu.h[1] = plan.letzterSlot;
    neu.h[2] = RB_KopfSpiegelindex(neu.h[1], neu.h[0]);
    neu.datumSetzen(plan.letzteZeit);
    neu.h[11] = plan.zaehlerstand;
    neu.h[12] = plan.letzteZeit;
    if (!datei.kopfSchreiben(neu))
        return Schreibfehler(datei);
    for (const QString& sprung : plan.spruenge)
        LogSchreiben(sprung + QStringLiteral(": ") + name);
    return 0;
}
