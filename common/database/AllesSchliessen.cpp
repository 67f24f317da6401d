#include "AllesSchliessen.h"

#include "MBConnection.h"
#include "Verbindung.h"

#include <QThread>

namespace {

std::function<void()>& Entladen()
{
    static std::function<void()> entladen;
    return entladen;
}

bool gEntlaedt = false;

} // namespace

void AlleFormsEntladenSetzen(std::function<void()> entladen)
{
    Entladen() = std::move(entladen);
}

void MB_AlleFormsEntladen()
{
    if (gEntlaedt || !Entladen())
        return;
    gEntlaedt = true;
    // a copy: a window may register anew while it closes
    const std::function<void()> entladen = Entladen();
    entladen();
    gEntlaedt = false;
}

void MB_DAOAllesSchliessen()
{
    const QList<Verbindung*> offen = Verbindung::offeneVerbindungen();
    for (qsizetype i = offen.size() - 1; i >= 0; --i) {
        Verbindung* verbindung = offen[i];
        if (verbindung->faden() != QThread::currentThread())
            continue;
        if (MB_Connection && verbindung == MB_Connection.get())
            continue;
        verbindung->Close();
    }
}
