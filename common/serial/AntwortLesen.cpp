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

#include <cmath>

namespace {

constexpr double kStandardZeitlimit = 0.8;
constexpr int kErsteWarteMs = 15;
constexpr int kAbfrageMs = 2;

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

    QByteArray puffer;
    QByteArray letzterTeil;
    forever
    {
        if (!Warten(kAbfrageMs)) {
            FehlerText = kTextProgrammende;
            return LeseErgebnis(-1);
        }
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
        if (stille.elapsed() > zeitlimitMs || gesamt.elapsed() > gesamtfrist) {
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
    }

    if (protokollieren)
        LogSchreiben(QStringLiteral("Gelesen Hex   : \t") + StrToHex(puffer, QStringLiteral(";")));
    return LeseErgebnis(startzeichen == endzeichen ? 1 : static_cast<int>(antwort.size()));
}
