#include "datafiles/RB_DateiAnlegen.h"

#include "datafiles/IntervallSperre.h"
#include "datafiles/RB_Datei.h"
#include "datafiles/RB_DateiName.h"
#include "datafiles/RB_Kopf.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Pfad.h"
#include "platform/Warten.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

constexpr qint32 kSlotsTag15p = 96;
constexpr qint32 kMinutenTag = 1440;
// Zeros are written in large blocks: a new 15-minute file (1,152,064 bytes) takes five
// writes and five passes of the event loop, not thousands.
constexpr int kBlock = 256 * 1024;
// Positions in these files are 32-bit numbers for every program that reads them.
constexpr qint64 kGroessteDatei = std::numeric_limits<qint32>::max();

struct Aufbau
{
    qint64 slotAnzahl = 0;
    qint32 zahlenProSlot = 0;
    qint32 intervall = 0;
};

void Laufzeitfehler(const QString& text)
{
    FehlerText = text;
    Beep();
}

// Opens the new file; a missing folder of the file is created and the file opened once more.
bool Oeffnen(RB_Datei& datei)
{
    if (datei.anlegen())
        return true;
    Laufzeitfehler(datei.fehler());
    if (!datei.ordnerFehlt())
        return false;
    const QString ordner = OrdnerVon(datei.pfad());
    if (!QDir().mkpath(ordner))
        return false;
    LogSchreiben(QStringLiteral("Ordner angelegt: ") + ordner);
    if (datei.anlegen())
        return true;
    Laufzeitfehler(datei.fehler());
    return false;
}

// Header first, then the zeros of the slots in large blocks, yielding after each block. Once
// the program is ending the file is still completed, just without yielding.
bool Fuellen(RB_Datei& datei, const RB_Kopf& kopf)
{
    if (!datei.anhaengen(kopf.alsBytes()))
        return false;
    qint64 rest = kopf.sollGroesse() - RB_Kopf::kBytes;
    const QByteArray block(static_cast<qsizetype>(std::min<qint64>(rest, kBlock)), '\0');
    while (rest > 0) {
        const qint64 teil = std::min<qint64>(rest, block.size());
        if (!datei.anhaengen(teil == block.size() ? block : block.left(teil)))
            return false;
        rest -= teil;
        if (!ProgrammEndet())
            DoEvents();
    }
    return true;
}

int Anlegen(const QString& name, UnixZeit start, qint32 tage, const Aufbau& aufbau, qint32 extra)
{
    if (start <= 0) {
        FehlerText = QStringLiteral("Startzeit ist kein Datum");
        return -1;
    }
    if (tage <= 0 || aufbau.slotAnzahl <= 0) {
        FehlerText = QStringLiteral("Keine Slots für die Datei");
        return -1;
    }
    const qint64 groesse = RB_Kopf::kBytes + 4 * aufbau.zahlenProSlot * aufbau.slotAnzahl;
    if (groesse > kGroessteDatei) {
        FehlerText = QStringLiteral("Datei wäre zu groß");
        return -1;
    }
    const RB_Kopf kopf = RB_Kopf::neu(start, static_cast<qint32>(aufbau.slotAnzahl), 0, 0,
                                      aufbau.intervall, aufbau.zahlenProSlot, extra);

    RB_Datei datei(name);
    const IntervallSperre sperre(datei.pfad(), IntervallSperre::Art::Anlegen);
    if (!sperre.gehalten() || QFileInfo(datei.pfad()).size() > 0)
        return -5;
    // The file is built under a name of its own and then renamed in one step, so that a
    // program killed while it fills the file leaves no half-built file under the name (only
    // the side file, which the next creation starts anew).
    RB_Datei neu(name + QStringLiteral(".neu"));
    if (!Oeffnen(neu))
        return -1;
    if (neu.groesse() > 0 && (!neu.entfernen() || !Oeffnen(neu)))
        return -1;
    if (!Fuellen(neu, kopf)) {
        Laufzeitfehler(neu.fehler());
        neu.entfernen();
        return -3;
    }
    neu.schliessen();
    const RB_Datei ziel(name);
    if (QFileInfo(ziel.pfad()).size() > 0) {
        neu.entfernen();
        return -5;
    }
    QFile::remove(ziel.pfad());
    if (!QFile::rename(neu.pfad(), ziel.pfad())) {
        Laufzeitfehler(QStringLiteral("Umbenennen fehlgeschlagen: ") + ziel.pfad());
        neu.entfernen();
        return -3;
    }
    return 0;
}

} // namespace

int RB_DateiAnlegen(const QString& name, UnixZeit start, qint32 tage, qint32 extra)
{
    FehlerText.clear();
    return Anlegen(name, start, tage, {qint64(tage) * kSlotsTag15p, 3, 0}, extra);
}

int RB_DateiAnlegenZaehler(qint32 station, qint32 zaehler, qint32 intervall, UnixZeit start,
                           qint32 tage, qint32 extra)
{
    FehlerText.clear();
    if (intervall < 0 || intervall > kMinutenTag) {
        FehlerText = QStringLiteral("Intervall außerhalb 0 bis 1440 Minuten");
        return -1;
    }
    const QString name = RB_DateiName(station, zaehler, intervall);
    if (intervall == 0)
        return Anlegen(name, start, tage, {qint64(tage) * kSlotsTag15p, 3, 0}, extra);
    return Anlegen(name, start, tage, {qint64(kMinutenTag / intervall) * tage, 1, intervall},
                   extra);
}

int RB_KopfSchreiben(const QString& name, UnixZeit& start, qint32 h0, qint32 h1, qint32 h2,
                     qint32 intervall, qint32 zahlenProSlot, qint32 extra)
{
    FehlerText.clear();
    if (start <= 0) {
        UnixZeitInDatum(start);
        FehlerText = QStringLiteral("Startzeit ist kein Datum");
        return -1;
    }
    if (zahlenProSlot != 1 && zahlenProSlot != 3) {
        FehlerText = QStringLiteral("Kopf passt nicht zur Datei: 1 oder 3 Zahlen je Slot");
        return -3;
    }
    const RB_Kopf kopf = RB_Kopf::neu(start, h0, h1, h2, intervall, zahlenProSlot, extra);
    RB_Datei datei(name);
    const IntervallSperre sperre(datei.pfad(), IntervallSperre::Art::Schreiben);
    if (!sperre.gehalten()) {
        FehlerText = QStringLiteral("Datei wird gerade bearbeitet! ") + name;
        return -3;
    }
    if (!datei.oeffnenSchreiben()) {
        Laufzeitfehler(datei.fehler());
        return -2;
    }
    const QString grund = kopf.pruefen(datei.groesse());
    if (!grund.isEmpty()) {
        FehlerText = QStringLiteral("Kopf passt nicht zur Datei: ") + grund;
        return -3;
    }
    if (!datei.kopfSchreiben(kopf)) {
        Laufzeitfehler(datei.fehler());
        return -2;
    }
    return 0;
}
