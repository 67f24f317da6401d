#include "SerielleDienste.h"

#include "frames/TelegrammText.h"
#include "log/Log.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "serial/AntwortSuche.h"
#include "serial/Austausch.h"
#include "serial/SerielleFristen.h"
#include "text/Texte.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStandardZeitlimit = 0.8;
constexpr int kErsteWarteMs = 15;

// Whole milliseconds from the elapsed time to the limit, at least 1 (the limit is "more than").
int MsBis(double grenzeMs, qint64 vergangenMs)
{
    const double rest = grenzeMs - static_cast<double>(vergangenMs);
    return rest < 1 ? 1 : static_cast<int>(std::min(std::ceil(rest), 86'400'000.0));
}

} // namespace

LeseErgebnis V3CommReadMsg(SerielleSchnittstelle& comm, quint8 startzeichen, quint8 endzeichen,
                           double& zeitlimitSekunden, QByteArray& antwort, bool protokollieren)
{
    FehlerText.clear();
    QElapsedTimer stille;
    stille.start();
    QElapsedTimer gesamt;
    gesamt.start();
    const Austauschsperre sperre(comm);
    if (!sperre.erhalten()) {
        FehlerText = kTextBeschaeftigt;
        return LeseErgebnis(-1);
    }
    if (!Warten(kErsteWarteMs)) {
        FehlerText = kTextProgrammende;
        return LeseErgebnis(-1);
    }
    if (!std::isfinite(zeitlimitSekunden) || zeitlimitSekunden <= 0)
        zeitlimitSekunden = kStandardZeitlimit;
    antwort.clear();
    const qint64 gesamtfrist = LeseGesamtfristMs(zeitlimitSekunden, comm.baud());
    const double zeitlimitMs = std::min(zeitlimitSekunden, 86400.0) * 1000.0;
    // Until the first byte the wait is at least the answer window: at 300 baud a meter may
    // start its answer 1.15 s after the frame, later than the usual 0.8 s of silence.
    const double ersteAntwortMs =
        std::max(zeitlimitMs, static_cast<double>(AntwortfristMs(comm.baud())));

    QByteArray puffer;
    QByteArray letzterTeil;
    forever
    {
        const QByteArray teil = comm.Input();
        if (comm.fehlerNummer()) {
            FehlerText = comm.fehlerBeschreibung();
            return LeseErgebnis(-1);
        }
        if (!teil.isEmpty()) {
            puffer += teil;
            letzterTeil = teil;
            stille.restart();
            if (const auto fund = AntwortSuchen(puffer, startzeichen, endzeichen)) {
                antwort = puffer.mid(fund->anfang, fund->laenge);
                if (startzeichen != endzeichen) {
                    comm.setInBufferCount(0);
                    comm.setOutBufferCount(0);
                }
                break;
            }
        }
        const double grenzeMs = puffer.isEmpty() ? ersteAntwortMs : zeitlimitMs;
        const bool stumm = stille.elapsed() > grenzeMs;
        if (stumm || gesamt.elapsed() > gesamtfrist) {
            // The line fell silent behind a frame whose checksum is wrong: it is the answer, and
            // the caller's decoding reports the fault.
            if (const auto fund = stumm && startzeichen != endzeichen
                                      ? FalscheSummeSuchen(puffer, startzeichen, endzeichen)
                                      : std::nullopt) {
                antwort = puffer.mid(fund->anfang, fund->laenge);
                comm.setInBufferCount(0);
                comm.setOutBufferCount(0);
                break;
            }
            const QString sekunden = ZahlAlsText(static_cast<double>(stille.elapsed()) / 1000.0);
            if (protokollieren) {
                const QString empfangen = Cp1252ZuText(puffer);
                LogSchreiben(QStringLiteral("Timeout V3CommReadMsg : ") + empfangen +
                             QStringLiteral("  ") + sekunden + QStringLiteral("  ") + empfangen +
                             QStringLiteral("TmOut=") + ZahlAlsText(zeitlimitSekunden));
            }
            return LeseErgebnis::Zeitueberschreitung(QStringLiteral("Timeout : ") +
                                                     Cp1252ZuText(letzterTeil) +
                                                     QStringLiteral("  ") + sekunden);
        }
        // Sleeps until bytes come or the silence or the whole read has lasted long enough.
        const int ms = std::min(MsBis(grenzeMs, stille.elapsed()),
                                MsBis(static_cast<double>(gesamtfrist), gesamt.elapsed()));
        if (!comm.warten(ms)) {
            FehlerText = kTextProgrammende;
            return LeseErgebnis(-1);
        }
    }

    if (protokollieren)
        LogSchreiben(QStringLiteral("Gelesen Hex   : \t") + StrToHex(puffer, QStringLiteral(";")));
    return LeseErgebnis(startzeichen == endzeichen ? 1 : static_cast<int>(antwort.size()));
}
