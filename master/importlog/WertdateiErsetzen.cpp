#include "WertdateiErsetzen.h"

#include "datafiles/RB6Intern.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "platform/Global.h"
#include "platform/Pfad.h"
#include "text/Texte.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

struct AlteDatei
{
    bool vorhanden = false;
    qint32 bloecke = 0;
    RB6_Kopf kopf;
    QList<RB6_Satz> werte;
};

// The master logs a reading after it stored it in the value file, with its own (later) time:
// at most this many seconds later.
constexpr UnixZeit kProtokollVerzug = 60;

// The times of one day that its log covers for a file: its first to its last reading there
// (erster: the first reading's place in the readings).
struct Spanne
{
    qint64 tag = 0;
    UnixZeit von = 0;
    UnixZeit bis = 0;
    qsizetype erster = 0;
};

// The old file's values, block count and header; false when it exists but cannot be trusted.
bool AlteDateiLesen(const QString& name, AlteDatei& alt)
{
    const QFileInfo info(PfadAufloesen(name));
    if (!info.exists() || (info.isFile() && info.size() == 0))
        return true;
    Wertdatei datei(name);
    if (!datei.oeffnenLesen()) {
        RB6_DateifehlerMelden(datei);
        return false;
    }
    if (!RB6_GeprueftenKopfLesen(datei, alt.kopf))
        return false;
    const qint64 letzter = RB6_LetzterSatz(alt.kopf);
    if (letzter >= kRB6_ErsterWertsatz &&
        !datei.saetzeLesen(kRB6_ErsterWertsatz, letzter - kRB6_ErsterWertsatz + 1, alt.werte)) {
        RB6_DateifehlerMelden(datei);
        return false;
    }
    alt.vorhanden = true;
    alt.bloecke = qint32(qMin<qint64>(datei.groesse() / kRB6_Blocklaenge, 1'000'000));
    return true;
}

// The readings up to jetzt as the append rule takes them; verworfen counts the later ones.
QList<RB6_Satz> NachAnhaengeRegel(const QList<RB6_Satz>& werte, UnixZeit jetzt, qint64& verworfen)
{
    QList<RB6_Satz> ergebnis;
    ergebnis.reserve(werte.size());
    for (const RB6_Satz& satz : werte) {
        if (satz.Tm <= 0)
            continue;
        if (satz.Tm > jetzt)
            ++verworfen;
        else if (ergebnis.isEmpty() || satz.Tm > ergebnis.back().Tm)
            ergebnis.append(satz);
        else if (satz.Tm == ergebnis.back().Tm)
            ergebnis.back() = satz;
    }
    return ergebnis;
}

} // namespace

WertdateiErsetzenErgebnis WertdateiErsetzen(qint32 lznr, qint32 index, const QList<RB6_Satz>& werte,
                                            const WertdateiNeuaufbau& neuaufbau)
{
    FehlerText.clear();
    WertdateiErsetzenErgebnis ergebnis;
    const QString name = RB6_DateiName(DBPath, lznr, index);
    AlteDatei alt;
    if (!AlteDateiLesen(name, alt)) {
        ergebnis.status = -1;
        return ergebnis;
    }
    qint64 verworfen = 0;
    const QList<RB6_Satz> neu = NachAnhaengeRegel(werte, neuaufbau.jetzt, verworfen);
    if (neu.isEmpty()) {
        ergebnis.verworfen = verworfen;
        return ergebnis;
    }

    // The spans rebuilt in this file: per day whose log gave it readings, from the first to the
    // last of them. A day whose log holds none for it (its lines were not written or could not
    // be assigned) has nothing to rebuild from and keeps its values; so do the times of a day
    // before and after the span its log covers (the log was switched on or off during the day).
    QList<Spanne> spannen;
    for (qsizetype i = 0; i < neu.size(); ++i) {
        const qint64 tag = WertdateiTag(neu[i].Tm);
        if (!neuaufbau.tage.contains(tag))
            continue;
        if (!spannen.isEmpty() && spannen.back().tag == tag)
            spannen.back().bis = neu[i].Tm;
        else
            spannen.append(Spanne{tag, neu[i].Tm, neu[i].Tm, i});
    }

    // Old and new in time order; at a time both hold, the new reading wins. Old values inside a
    // rebuilt span go, those outside stay.
    QList<RB6_Satz> geordnet;
    geordnet.reserve(alt.werte.size());
    UnixZeit altNeuester = 0;
    for (const RB6_Satz& satz : alt.werte) {
        if (satz.Tm <= altNeuester)
            continue; // the old file's own order rule: nothing older than its newest
        altNeuester = satz.Tm;
        if (satz.Tm > neuaufbau.jetzt) {
            ++verworfen;
            continue;
        }
        geordnet.append(satz);
    }
    QList<bool> weg(geordnet.size(), false);
    qsizetype a = 0;
    for (const Spanne& spanne : spannen) {
        while (a < geordnet.size() && geordnet[a].Tm < spanne.von)
            ++a;
        // The master stores a value a moment before it logs it: the old value just before the
        // span's first reading, with the same value and nothing else between, is that reading,
        // unless the file holds that reading at its logged time already (stored and logged in
        // one second): then the value before is a reading of its own.
        const bool amAnfang = a < geordnet.size() && geordnet[a].Tm == spanne.von;
        if (a > 0 && !amAnfang) {
            const RB6_Satz& davor = geordnet[a - 1];
            const RB6_Satz& erster = neu[spanne.erster];
            if (erster.Tm - davor.Tm <= kProtokollVerzug &&
                (spanne.erster == 0 || neu[spanne.erster - 1].Tm < davor.Tm) &&
                ZahlAlsText(davor.Wert) == ZahlAlsText(erster.Wert))
                weg[a - 1] = true;
        }
        for (; a < geordnet.size() && geordnet[a].Tm <= spanne.bis; ++a)
            weg[a] = true;
    }

    QList<RB6_Satz> alles;
    alles.reserve(geordnet.size() + neu.size());
    qsizetype n = 0;
    for (qsizetype i = 0; i < geordnet.size(); ++i) {
        if (weg[i])
            continue;
        const RB6_Satz& satz = geordnet[i];
        while (n < neu.size() && neu[n].Tm < satz.Tm)
            alles.append(neu[n++]);
        if (n < neu.size() && neu[n].Tm == satz.Tm)
            continue;
        alles.append(satz);
        ++ergebnis.behalten;
    }
    while (n < neu.size())
        alles.append(neu[n++]);

    const QString ziel = PfadAufloesen(name);
    QString neuName = ziel + QStringLiteral(".import");
    QFile::remove(neuName);
    const qint32 bloecke = qMax(alt.bloecke, RB6_Bloecke(0));
    const RB6_Kopf& k = alt.kopf;
    const int angelegt = alt.vorhanden
                             ? RB6_Anlegen(neuName, bloecke, k.Wert3, k.Wert4, k.Wert5, k.Wert6)
                             : RB6_Anlegen(neuName, bloecke, 1.0, 1.0, 0.0, 0.0);
    auto misslungen = [&] {
        const QString grund = FehlerText;
        QFile::remove(neuName);
        FehlerText = grund;
        ergebnis.status = -2;
        ergebnis.geschrieben = 0;
        return ergebnis;
    };
    if (angelegt != 0)
        return misslungen();
    for (const RB6_Satz& satz : alles)
        if (RB6_WertSchreiben(DBPath, lznr, satz.Tm, satz.Wert, index, neuName) != 0)
            return misslungen();
    if (std::rename(QFile::encodeName(neuName).constData(), QFile::encodeName(ziel).constData()) !=
        0) {
        FehlerText = QStringLiteral("Umbenennen misslungen: ") + ziel;
        return misslungen();
    }
    ergebnis.geschrieben = neu.size();
    ergebnis.verworfen = verworfen;
    return ergebnis;
}
