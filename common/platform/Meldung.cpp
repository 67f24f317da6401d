#include "Meldung.h"

#include <cstdio>

namespace {

int ErsterKnopf(int stil)
{
    switch (stil & 7) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

class KonsolenSink : public MeldungSink
{
public:
    int msgBox(const QString& text, int stil, const QString& titel) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(titel), qPrintable(text));
        return ErsterKnopf(stil);
    }
    void beep() override {}
    void mauszeiger(int) override {}
};

KonsolenSink gKonsole;
MeldungSink* gSink = &gKonsole;

} // namespace

int MsgBox(const QString& text, int stil, const QString& titel)
{
    return gSink->msgBox(text, stil, titel);
}

void Beep()
{
    gSink->beep();
}

void MauszeigerSetzen(int zeiger)
{
    gSink->mauszeiger(zeiger);
}

void MeldungSinkSetzen(MeldungSink* sink)
{
    gSink = sink ? sink : &gKonsole;
}

MeldungSink& AktuelleMeldungSink()
{
    return *gSink;
}
