#pragma once
// Yielding from long loops on the one GUI thread.
//
// Every bus loop calls DoEvents or Warten between steps, so that windows stay responsive and
// stop buttons are seen. Both report false once the program is shutting down; loops then stop,
// close what they opened and return.

// Processes pending events. Returns false when the program is shutting down.
bool DoEvents();

// Processes pending events, then sleeps ms milliseconds (0: only the events).
// Returns false when the program is shutting down.
bool Warten(int ms);

// Marks the program as shutting down (set by the window that ends the program).
void ProgrammEndeMelden();
bool ProgrammEndet();
// Tests only: a fresh program state.
void ProgrammEndeZuruecksetzen();
