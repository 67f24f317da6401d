#pragma once
// Building the controls of the test window in layouts. Each function creates one area, stores
// its controls in the elements and gives the area's widget, owned by eltern.

#include "TestfensterElemente.h"

class QMainWindow;

// Menu bar with its menus in order.
void MenueAufbauen(TestfensterElemente& e, QMainWindow& fenster);
// Title, picture, fixed texts, raw telegram boxes, checksum tool, test files and the close
// button: the column beside the views.
QWidget* KopfbereichAufbauen(TestfensterElemente& e, QWidget* eltern);
// The bus view (Frame4).
QGroupBox* BusAnsichtAufbauen(TestfensterElemente& e, QWidget* eltern);
// The meter view (Frame6).
QGroupBox* ZaehlerAnsichtAufbauen(TestfensterElemente& e, QWidget* eltern);
// Driver timing boxes first..first+3 with their labels, proZeile values a row, and the provider
// box under them, in a frame.
QGroupBox* TimingRahmenAufbauen(TestfensterElemente& e, int erster, QComboBox*& providerBox,
                                QWidget* eltern, int proZeile);
