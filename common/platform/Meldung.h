#pragma once
// Message boxes, the beep and the mouse pointer go through one sink, so that services and
// windows run headless in tests. The widgets library installs the on-screen sink at start.

#include <QString>

// Buttons and icons of a message box, and its answers, as fixed numbers: a style is the sum of
// one button set, one icon and one default button.
enum MsgBoxStil : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxAntwort : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// Mouse pointers the windows use.
enum Mauszeiger : int {
    vbDefault = 0,
    vbHourglass = 11,
    vbArrowHourglass = 13,
};

class MeldungSink
{
public:
    virtual ~MeldungSink() = default;
    virtual int msgBox(const QString& text, int stil, const QString& titel) = 0;
    virtual void beep() = 0;
    virtual void mauszeiger(int zeiger) = 0;
};

// Shows a message box and returns the button pressed.
int MsgBox(const QString& text, int stil = vbOKOnly, const QString& titel = QString());
// The button a box answers with when Enter is pressed: the first one, or the second or third
// with 256 or 512 in the style.
int StandardKnopf(int stil);
void Beep();
void MauszeigerSetzen(int zeiger);

// The hourglass for the time of one handler.
class Sanduhr
{
public:
    Sanduhr() { MauszeigerSetzen(vbHourglass); }
    ~Sanduhr() { MauszeigerSetzen(vbDefault); }
    Sanduhr(const Sanduhr&) = delete;
    Sanduhr& operator=(const Sanduhr&) = delete;
};

// Installs a sink (nullptr: the headless one, which writes to stderr and answers with the
// first button). The caller keeps ownership.
void MeldungSinkSetzen(MeldungSink* sink);
MeldungSink& AktuelleMeldungSink();
