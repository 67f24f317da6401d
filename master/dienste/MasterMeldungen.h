#pragma once
// Message boxes of a master that runs unattended (started with "Auto"): nobody is there to
// answer them, and a box that waits for its answer would stop the start-up and every cycle while
// the master keeps its port. Each such box becomes one line in the program log and one in the
// daily mb.log, and the call answers with the box's default button, so the master goes on.
// A box of a handler that the user started (a click, a menu) still comes up on the screen: the
// user is there.

#include "platform/Meldung.h"

// The line that stands for a box in both logs: "Meldung im Automatikbetrieb: " & the title in
// brackets when there is one & the text, line breaks as blanks.
QString UnbeaufsichtigteMeldungText(const QString& text, const QString& titel);

class UnbeaufsichtigteMeldungen : public MeldungSink
{
public:
    // The boxes the user starts go to bildschirm (kept by the caller).
    explicit UnbeaufsichtigteMeldungen(MeldungSink& bildschirm) : m_bildschirm(bildschirm) {}

    int msgBox(const QString& text, int stil, const QString& titel) override;
    void beep() override;
    void mauszeiger(int zeiger) override;

private:
    MeldungSink& m_bildschirm;
};

// While one lives, boxes come up on the screen: the user started what runs now.
class BedienteMeldungen
{
public:
    BedienteMeldungen() { ++s_tiefe; }
    ~BedienteMeldungen() { --s_tiefe; }
    BedienteMeldungen(const BedienteMeldungen&) = delete;
    BedienteMeldungen& operator=(const BedienteMeldungen&) = delete;

    static bool aktiv() { return s_tiefe > 0; }

private:
    static inline int s_tiefe = 0;
};
