#pragma once
// Faults a simulated meter shows on demand. The bus file sets them for the whole bus (the
// defaults of every meter) or per meter.

struct SimFehler
{
    bool stumm = false;             // answers nothing at all
    bool ohneNke = false;           // ignores SND_NKE
    bool ohneDaten = false;         // acknowledges, but never answers REQ_UD2
    bool ohneQuittung = false;      // acts on SND_NKE and SND_UD, but never sends E5
    bool aendernNurMitId = false;   // ignores change frames to 253 that lack its secondary address
    bool auswahlOhneQuittung = false; // takes a selection but never acknowledges it
    int antwortAb = 1;              // first frame it reacts to (2: the first one is ignored ...)
    double spaetMs = -1;            // answer delay in ms instead of the normal one (-1: normal)
    bool falschePruefsumme = false; // every RSP_UD leaves with a wrong checksum
    int teilungMs = 0;              // pause in the middle of every RSP_UD (answer in two pieces)
    int rauschenVor = 0;            // random bytes sent right before each answer
    int rauschenNach = 0;           // random bytes sent right after each answer
    bool zaehlt = false;            // the first record's value rises by one with every new answer
    bool fcbStreng = false; // a SND_UD (no selection) repeating the last FCB: E5, not carried out
};
