// File numbers: every file the program opens holds one of the numbers 1..255 while it is open.
// The count shows at a glance when files are left open; above five open files the program log
// gets a warning.

#include "log/Log.h"
#include "log/LogIntern.h"
#include "platform/Global.h"

#include <array>
#include <mutex>

namespace {

constexpr int kHoechsteNummer = 255;
constexpr int kWarngrenze = 5;

std::mutex gSperre;
std::array<bool, kHoechsteNummer + 1> gBelegt{}; // index 0 unused

int NiedrigsteFreie()
{
    for (int n = 1; n <= kHoechsteNummer; ++n)
        if (!gBelegt[n])
            return n;
    return 0;
}

int Nehmen()
{
    const std::lock_guard<std::mutex> sperre(gSperre);
    const int n = NiedrigsteFreie();
    if (n > 0)
        gBelegt[n] = true;
    return n;
}

void Freigeben(int n)
{
    const std::lock_guard<std::mutex> sperre(gSperre);
    if (n > 0 && n <= kHoechsteNummer)
        gBelegt[n] = false;
}

void AlleBelegtMelden()
{
    FehlerText = QStringLiteral("Zu viele Dateien geöffnet");
}

void WarnenWennViele(int n)
{
    if (n > kWarngrenze)
        ProgrammlogZeileSchreiben(QStringLiteral("Freefile > 5"), false);
}

} // namespace

int GetFreeFile()
{
    int n = 0;
    {
        const std::lock_guard<std::mutex> sperre(gSperre);
        n = NiedrigsteFreie();
    }
    if (n == 0) {
        AlleBelegtMelden();
        return 0;
    }
    WarnenWennViele(n);
    return n;
}

int BelegteDateinummern()
{
    const std::lock_guard<std::mutex> sperre(gSperre);
    int anzahl = 0;
    for (int n = 1; n <= kHoechsteNummer; ++n)
        anzahl += gBelegt[n] ? 1 : 0;
    return anzahl;
}

Dateinummer::Dateinummer() : m_nummer(Nehmen())
{
    if (m_nummer == 0)
        AlleBelegtMelden();
    else
        WarnenWennViele(m_nummer);
}

Dateinummer::Dateinummer(OhnePruefung) : m_nummer(Nehmen()) {}

Dateinummer::~Dateinummer()
{
    Freigeben(m_nummer);
}
