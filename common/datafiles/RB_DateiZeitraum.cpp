#include "datafiles/RB_DateiZeitraum.h"

#include "datafiles/IntervallSperre.h"
#include "datafiles/RB_Datei.h"
#include "datafiles/RB_DateiName.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"

namespace {

constexpr qint64 kSatzSlot1 = 20;

// Opens the file and reads a header that can be trusted. false with FehlerText set otherwise;
// fehlt is the text for a missing or empty file.
bool KopfOeffnen(RB_Datei& datei, const QString& name, const QString& fehlt, RB_Kopf& kopf)
{
    if (IntervallSperre::wirdAngelegt(datei.pfad())) {
        FehlerText = QStringLiteral("Datei wird gerade angelegt! ") + name;
        return false;
    }
    if (!datei.oeffnenLesen()) {
        if (datei.dateiFehlt() || datei.ordnerFehlt()) {
            FehlerText = fehlt;
        } else {
            FehlerText = datei.fehler();
            Beep();
        }
        return false;
    }
    const qint64 groesse = datei.groesse();
    if (groesse == 0) {
        datei.entfernen();
        FehlerText = fehlt;
        return false;
    }
    kopf = datei.kopfLesen();
    const QString grund = kopf.pruefen(groesse);
    if (!grund.isEmpty()) {
        datei.schliessen();
        FehlerText = QStringLiteral("Dateikopf ungültig (") + grund + QStringLiteral("): ") + name;
        LogSchreiben(FehlerText);
        Beep();
        return false;
    }
    return true;
}

} // namespace

int RB_DateiZeitraum(const QString& name, RB_Kopf& kopf, UnixZeit& neueste, UnixZeit& aelteste)
{
    if (RB_IstDateiName15p(name))
        return RB_DateiZeitraum15p(name, kopf, neueste, aelteste);
    FehlerText.clear();
    if (name.isEmpty())
        return -1;
    RB_Datei datei(name);
    RB_Kopf gelesen;
    if (!KopfOeffnen(datei, name, QStringLiteral("Datei nicht gefunden! ") + name, gelesen))
        return -1;
    datei.schliessen();
    kopf = gelesen;
    neueste = kopf.datum();
    const qint64 aelter = qint64(neueste) - qint64(kopf.h[0] - 1) * kopf.h[10] * 60;
    aelteste = static_cast<UnixZeit>(std::max<qint64>(aelter, 0));
    return 0;
}

int RB_DateiZeitraum15p(const QString& name, RB_Kopf& kopf, UnixZeit& letzte, UnixZeit& erste)
{
    FehlerText.clear();
    if (name.isEmpty())
        return -1;
    RB_Datei datei(name);
    RB_Kopf gelesen;
    if (!KopfOeffnen(datei, name, QStringLiteral("Datei existiert nicht!"), gelesen))
        return -1;
    const qint32 n = gelesen.h[0];
    const qint32 h1 = gelesen.h[1];
    UnixZeit neu = datei.satzLesen(gelesen.slotSatz(h1));
    // The slot after the one written last is the oldest once the ring has wrapped; after the
    // last slot that is slot 0.
    const qint64 folgender = qint64(h1) + 1 < qint64(n) ? qint64(h1) + 1 : 0;
    UnixZeit alt = datei.satzLesen(gelesen.slotSatz(folgender));
    if (alt <= 0) {
        const UnixZeit slot0 = datei.satzLesen(gelesen.slotSatz(0));
        if (slot0 != 0) {
            alt = slot0;
            gelesen.h[2] = 1;
        } else {
            alt = datei.satzLesen(kSatzSlot1);
            gelesen.h[2] = 0;
        }
    }
    datei.schliessen();
    if (neu == 0) {
        neu = gelesen.datum();
        alt = neu;
    }
    kopf = gelesen;
    letzte = neu;
    erste = alt;
    return 0;
}
