#pragma once
// The two services of a window that ends the program: unloading every window and closing every
// database the services opened.

#include <functional>

// Registers how every window is unloaded (the widgets library registers closing every
// top-level window); an empty function removes it. Headless programs register nothing.
void AlleFormsEntladenSetzen(std::function<void()> entladen);

// Unloads every loaded window through the registered function; nothing when none is
// registered. A call made while the windows are being unloaded (a window that calls it again
// from its own closing) returns at once.
void MB_AlleFormsEntladen();

// Closes every database connection of the services in this thread, from the last opened to
// the first: the meter database Datenbank and every other connection opened for one
// operation (their owners keep closed connections, which report every later use). MB_Connection,
// which its opener closes, stays open. With nothing open it does nothing.
void MB_DAOAllesSchliessen();
