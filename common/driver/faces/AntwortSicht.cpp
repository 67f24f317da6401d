#include "AntwortSicht.h"

namespace {

constexpr char kStartLang = 0x68;
constexpr int kRahmenZusatz = 6; // 68 L L 68 in front, checksum and 16 behind

} // namespace

const mbus::Telegramm* AntwortSicht::telegramm() const
{
    if (m_ereignis.art != mbus::Ereignisart::Telegramm || !m_ereignis.dekodiert)
        return nullptr;
    return std::get_if<mbus::Telegramm>(&*m_ereignis.dekodiert);
}

const mbus::Kopf* AntwortSicht::kopf() const
{
    if (const mbus::Telegramm* t = telegramm())
        return &t->kopf;
    if (m_ereignis.art != mbus::Ereignisart::Telegramm || !m_ereignis.dekodiert)
        return nullptr;
    if (const auto* fehler = std::get_if<mbus::Anwendungsfehler>(&*m_ereignis.dekodiert))
        return &fehler->kopf;
    return nullptr;
}

int AntwortSicht::anzahl() const
{
    const mbus::Telegramm* t = telegramm();
    return t ? static_cast<int>(t->datensaetze.size()) : 0;
}

const mbus::Datensatz* AntwortSicht::satz(int index) const
{
    const mbus::Telegramm* t = telegramm();
    if (!t || index < 0 || index >= t->datensaetze.size())
        return nullptr;
    return &t->datensaetze[index];
}

QByteArray AntwortSicht::rahmen() const
{
    const QByteArray& bytes = m_ereignis.antwort;
    if (m_ereignis.art != mbus::Ereignisart::Telegramm)
        return bytes;
    const qsizetype anfang = bytes.indexOf(kStartLang);
    if (anfang < 0 || anfang + 1 >= bytes.size())
        return bytes;
    const int laenge = static_cast<unsigned char>(bytes[anfang + 1]) + kRahmenZusatz;
    return bytes.mid(anfang, laenge);
}
