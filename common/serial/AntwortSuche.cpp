#include "AntwortSuche.h"

namespace {

quint8 Byte(const QByteArray& bytes, qsizetype i)
{
    return static_cast<quint8>(bytes[i]);
}

enum class Rahmen { Keiner, Richtig, FalscheSumme };

Rahmen LangerRahmenBei(const QByteArray& bytes, qsizetype s, quint8 start, quint8 ende)
{
    if (s + 4 > bytes.size() || Byte(bytes, s + 3) != start ||
        Byte(bytes, s + 1) != Byte(bytes, s + 2))
        return Rahmen::Keiner;
    const qsizetype l = Byte(bytes, s + 1);
    const qsizetype endeBei = s + l + 5;
    if (endeBei >= bytes.size() || Byte(bytes, endeBei) != ende)
        return Rahmen::Keiner;
    quint8 summe = 0;
    for (qsizetype i = s + 4; i < s + 4 + l; ++i)
        summe = static_cast<quint8>(summe + Byte(bytes, i));
    return summe == Byte(bytes, s + 4 + l) ? Rahmen::Richtig : Rahmen::FalscheSumme;
}

std::optional<GefundeneAntwort> LangerRahmenSuchen(const QByteArray& bytes, quint8 start,
                                                   quint8 ende, Rahmen art)
{
    for (qsizetype s = bytes.indexOf(static_cast<char>(start)); s >= 0;
         s = bytes.indexOf(static_cast<char>(start), s + 1)) {
        if (LangerRahmenBei(bytes, s, start, ende) == art)
            return GefundeneAntwort{s, Byte(bytes, s + 1) + 6};
    }
    return std::nullopt;
}

} // namespace

std::optional<GefundeneAntwort> AntwortSuchen(const QByteArray& bytes, quint8 start, quint8 ende)
{
    if (start == ende) {
        const qsizetype i = bytes.indexOf(static_cast<char>(ende));
        if (i < 0)
            return std::nullopt;
        return GefundeneAntwort{i, 1};
    }
    return LangerRahmenSuchen(bytes, start, ende, Rahmen::Richtig);
}

std::optional<GefundeneAntwort> FalscheSummeSuchen(const QByteArray& bytes, quint8 start,
                                                   quint8 ende)
{
    if (start == ende)
        return std::nullopt;
    return LangerRahmenSuchen(bytes, start, ende, Rahmen::FalscheSumme);
}
