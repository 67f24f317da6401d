// libFuzzer target of the frame readers: the judgement of a whole answer after a request
// (mbus::PruefeAntwort), the search for a complete answer in the bytes received so far
// (AntwortSuchen), and one exchange fed with the bytes in pieces (mbus::Austausch). Besides
// crashes and sanitizer reports it stops on answers that contradict the bytes: a found frame
// outside the buffer or without its start, stop or checksum, an outcome that is still running,
// a decoded telegram reported invalid.

#include "driver/engine/Antwortpruefung.h"
#include "driver/engine/Austausch.h"
#include "driver/engine/Rahmenbau.h"
#include "serial/AntwortSuche.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <variant>

namespace {

void Pruefen(bool bedingung)
{
    if (!bedingung)
        std::abort();
}

quint8 Byte(const QByteArray& bytes, qsizetype i)
{
    return static_cast<quint8>(bytes[i]);
}

void UrteilPruefen(const mbus::Ereignis& e, const QByteArray& antwort)
{
    using mbus::Ereignisart;
    Pruefen(e.antwort == antwort);
    Pruefen(e.art != Ereignisart::Laeuft && e.art != Ereignisart::Gesendet);
    switch (e.art) {
    case Ereignisart::Quittung:
        Pruefen(e.empfangsfehler == 0 && !e.dekodiert);
        break;
    case Ereignisart::Telegramm:
        Pruefen(e.empfangsfehler == 0 && e.dekodiert &&
                !std::holds_alternative<mbus::DekodierFehler>(*e.dekodiert));
        break;
    case Ereignisart::Zeitueberschreitung:
        Pruefen(e.empfangsfehler == mbus::kFehlerZeitueberschreitung);
        break;
    case Ereignisart::Ungueltig:
        Pruefen(e.empfangsfehler != 0 || e.dekodiert);
        break;
    default:
        break;
    }
}

void SuchePruefen(const QByteArray& bytes, quint8 start, quint8 ende)
{
    const std::optional<GefundeneAntwort> g = AntwortSuchen(bytes, start, ende);
    if (!g)
        return;
    Pruefen(g->anfang >= 0 && g->laenge >= 1 && g->anfang + g->laenge <= bytes.size());
    Pruefen(Byte(bytes, g->anfang) == start);
    Pruefen(Byte(bytes, g->anfang + g->laenge - 1) == ende);
    if (start == ende) {
        Pruefen(g->laenge == 1);
        return;
    }
    const QByteArray rahmen = bytes.mid(g->anfang, g->laenge);
    Pruefen(rahmen.size() >= 6 && rahmen[1] == rahmen[2] && Byte(rahmen, 3) == start);
    const qsizetype l = Byte(rahmen, 1);
    Pruefen(rahmen.size() == l + 6);
    Pruefen(Byte(rahmen, l + 4) == mbus::Pruefsumme(QByteArrayView(rahmen).sliced(4, l)));
}

// The input in pieces whose lengths come from its own bytes, one millisecond apart.
void StueckweisePruefen(const QByteArray& bytes)
{
    using namespace std::chrono_literals;
    mbus::Austausch austausch(QByteArray::fromHex("107B058016"), true, mbus::kStandardZeiten);
    mbus::Buszeit t{1'000'000};
    austausch.beginne(t);
    QByteArray gegeben;
    qsizetype i = 0;
    while (i < bytes.size() && austausch.laeuft()) {
        const qsizetype n = std::min<qsizetype>(1 + Byte(bytes, i) % 17, bytes.size() - i);
        t += 1ms;
        austausch.empfange(QByteArrayView(bytes).sliced(i, n), t);
        gegeben += bytes.mid(i, n);
        i += n;
    }
    // A deadline reached inside an incomplete long frame moves on once; the exchange still ends
    // by its hard limit.
    for (int versuch = 0; versuch < 3 && !austausch.beendet(); ++versuch)
        austausch.zeitAbgelaufen(austausch.frist());
    Pruefen(austausch.beendet());
    const mbus::Ereignis& e = austausch.ereignis();
    UrteilPruefen(e, gegeben);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QByteArray bytes(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    UrteilPruefen(mbus::PruefeAntwort(bytes), bytes);

    SuchePruefen(bytes, mbus::kQuittung, mbus::kQuittung);
    SuchePruefen(bytes, mbus::kStartLang, mbus::kStopp);
    if (groesse >= 2)
        SuchePruefen(bytes, daten[0], daten[1]);

    StueckweisePruefen(bytes);
    return 0;
}
