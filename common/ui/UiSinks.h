#pragma once
// The on-screen side of the message sink: message boxes, the beep and the mouse pointer.

#include "platform/Meldung.h"

class BildschirmMeldungen : public MeldungSink
{
public:
    int msgBox(const QString& text, int stil, const QString& titel) override;
    void beep() override;
    void mauszeiger(int zeiger) override;
};

// Installs the on-screen sink for the whole program (call once after QApplication exists).
void BildschirmMeldungenEinrichten();

// Everything a start window's main needs once the QApplication exists: the application name,
// on-screen message boxes, the window-title register of this process, and closing every window
// when the services unload all windows.
void OberflaecheEinrichten(const QString& programmName);
