#pragma once
// Talking to the M-Bus level converter straight over the serial control: opening the port,
// sending one frame with direction control (RTS), reading one answer, the raw select-then-REQ_UD2
// exchange, and the list of COM ports.
//
// Frames are raw bytes. Every wait sleeps in the event loop until the port has something or its
// time is up (SerielleSchnittstelle::warten), so windows stay responsive while the process uses
// no CPU; it measures with a monotonic timer and has a deadline; when the program is ending the
// wait stops at once and the service returns its failure status. A second exchange on a control
// whose exchange is still waiting (started from a window while the first one yields) is turned away
// with its failure status; FehlerText says so. The services clear FehlerText on entry and leave
// the text of a failure in it. The control must outlive the call: a window that closes while an
// exchange waits sets its stop flag or closes the port (the exchange then ends) and goes only
// after the service has returned.

#include "serial/ComboSchnittstelle.h"
#include "serial/LeseErgebnis.h"
#include "serial/SerielleSchnittstelle.h"

#include <QByteArray>
#include <QString>

// Opens port n at the baud given, even parity, 8 data bits, 1 stop bit, buffers of 8000 bytes,
// DTR on and RTS off. A baud whose number value is 0 (also "" or a text that is no number)
// becomes "9600", also in the caller's variable; the number value is the leading number of the
// text ("2400x" reads 2400), but the text goes into Settings as written, so a text the control
// does not accept fails. An open port of the control is closed first.
// Returns 0 open, -1 failed before the open (bad port number, bad baud text), -2 the open failed
// (no such device, busy). FehlerText holds the control's error text of every step that failed,
// also of "not open" when closing the closed port at the start (which is passed over).
int ComPortOeffnen(SerielleSchnittstelle& comm, int port, QString& baud);

// Sends one frame:
// 1. drops what waits to be sent and what was received, then reads the line empty until it has
//    been silent for one character time, or for four behind bytes that came meanwhile (a meter
//    answering too late must not be talked into); on a line that keeps chattering at most one
//    second plus the longest frame's time on the wire, then it sends anyway;
// 2. raises RTS and waits more than the pre-delay;
// 3. sends the frame and waits until every byte has left (see OutBufferCount), at most the send
//    time-out, or, for a send time-out of 0, the bytes' time on the wire (11 bits a byte at the
//    port's baud rate) plus one second; then until the frame's time on the wire and a meter's
//    least answer delay (11 bit times) have passed since it was handed over, dropping what
//    arrives meanwhile: those bytes were under way before any meter could answer the frame;
// 4. waits more than the post-delay and then drops RTS; with a post-delay of 0 RTS stays raised.
// Delays and time-outs in seconds. Bytes dropped in 1 and 3 give one program-log line
// "Verspätete Bytes verworfen : " & TAB & the bytes as hex text with ";" behind every byte. With
// the log flag the program log gets "Send Hex   : " & TAB & the frame as hex text likewise.
// Returns 0 sent, -1 port not open, -9 failure (bytes not gone within the deadline, device lost,
// program ending, control busy): FehlerText says why, RTS dropped when the post-delay is above 0.
int V3CommSendMsg(SerielleSchnittstelle& comm, const QByteArray& rahmen, double vorlaufSekunden,
                  double sendeZeitlimitSekunden, double nachlaufSekunden, bool protokollieren);

// Reads one answer: after 15 ms it collects what comes, sleeping in between until the next
// bytes arrive or the time is up. A time-out of 0 (or below, or no number) becomes 0.8 seconds,
// also in the caller's variable. The time-out counts silence: every chunk that comes starts it
// anew.
// - Equal start and end character (E5): as soon as one such byte has come, the answer is that
//   byte and the result 1.
// - Otherwise a long frame (see AntwortSuchen): the answer is the frame, the result its length,
//   and both buffers of the control are emptied. Bytes before and behind the frame are ignored.
// - Silence longer than the time-out behind a long frame whose checksum alone is wrong
//   (FalscheSummeSuchen): that frame is the answer as above, so that the caller's decoding
//   reports the checksum fault instead of a meter that did not answer.
// - Otherwise silence longer than the time-out, or a line that never falls silent for longer than
//   LeseGesamtfristMs: the time-out text "Timeout : " & last chunk & "  " & seconds of silence,
//   the answer ""; with the log flag the program log gets "Timeout V3CommReadMsg : " & buffer &
//   "  " & seconds & "  " & buffer & "TmOut=" & time-out.
// - A failing control (port closed, device lost), the program ending or a busy control: -1 and
//   FehlerText.
// On success with the log flag the program log gets "Gelesen Hex   : " & TAB & everything
// received as hex text with ";" behind every byte.
LeseErgebnis V3CommReadMsg(SerielleSchnittstelle& comm, quint8 startzeichen, quint8 endzeichen,
                           double& zeitlimitSekunden, QByteArray& antwort, bool protokollieren);

// Reads one meter by raw frames: sends the select frame (logged), waits for its E5, sends the
// application reset to address 253 (68 03 03 68 73 FD 50 C0 16, FCB 1: a meter that answers in
// several telegrams starts again at its first) and waits for its E5 for the answer window only
// (without it the meter is asked all the same), sends the select frame again and waits for its
// E5, sends REQ_UD2 to address 253 (10 7B FD 78 16) and reads the long frame. Delays and
// time-outs as for V3CommSendMsg and V3CommReadMsg; the receive-log flag is the log flag of the
// reads, of the reset and of the REQ_UD2.
// Returns the answer's length with the frame in the answer, 0 with an empty answer when the meter
// acknowledged but sent no frame within the time-out, -1 port closed (or the reset or the REQ_UD2
// could not be sent), -2 a select not sent, -3 no acknowledgement of a select (FehlerText then
// names the time-out), -4 the read of the frame failed.
int MBusRawREQUD2(SerielleSchnittstelle& comm, const QByteArray& selektRahmen, QByteArray& antwort,
                  bool empfangsLog, double vorlaufSekunden, double sendeZeitlimitSekunden,
                  double nachlaufSekunden, double zeitlimitSekunden);

// Fills the combo box with the COM ports 1 to 16: "n" for a port that opens, "(n)" for one that
// is busy (open in this program or another one); ports whose device does not exist are not
// tried, ports that fail otherwise are left out. The box's text becomes the first free port.
// Probing opens and closes each existing device once, with a control of its own: the caller's
// control is left as it is (an open port of it is listed as busy). Nothing is reported.
void ListComPorts(SerielleSchnittstelle& comm, ComboBox& box);
