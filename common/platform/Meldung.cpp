#include "Meldung.h"

#include <cstdio>

namespace {

class KonsolenSink : public MeldungSink
{
public:
    int msgBox(const QString& text, int stil, const QString& titel) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(titel), qPrintable(text));
        return StandardKnopf(stil & 7);
    }
    void beep() override {}
    void mauszeiger(int) override {}
};

KonsolenSink gKonsole;
MeldungSink* gSink = &gKonsole;

} // namespace

int StandardKnopf(int stil)
{
    static constexpr int keine = 0;
    static constexpr int knoepfe[6][3] = {
        {vbOK, keine, keine},    {vbOK, vbCancel, keine}, {vbAbort, vbRetry, vbIgnore},
        {vbYes, vbNo, vbCancel}, {vbYes, vbNo, keine},    {vbRetry, vbCancel, keine},
    };
    const int art = stil & 7;
    if (art > vbRetryCancel)
        return vbOK;
    // 256 and 512 make the second or third button the default one.
    const int standard = (stil >> 8) & 3;
    const int knopf = standard < 3 ? knoepfe[art][standard] : keine;
    return knopf != keine ? knopf : knoepfe[art][0];
}

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
