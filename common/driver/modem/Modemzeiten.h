#pragma once
// How long the modem dialogue waits for each thing. Every wait of the dialogue has one of these
// as its deadline; none is endless.

#include <chrono>

namespace mbus {

struct Modemzeiten
{
    // Answer ("OK", "ERROR") to one command line.
    std::chrono::milliseconds befehlsfrist{2000};
    // From the dial command to "CONNECT" or a failure ("BUSY", "NO CARRIER" ...).
    std::chrono::milliseconds waehlfrist{60000};
    // The modem's guard time for "+++" (register S12, usually one second): the silence it needs
    // before and after the three characters to leave data mode.
    std::chrono::milliseconds schutzzeit{1000};
    // Added to each guard silence, since the modem measures the silence on its side of the line.
    std::chrono::milliseconds schutzreserve{100};
    // Between the modem's "OK" and the next command line (some modems drop characters that follow
    // a result at once, most of all after ATZ).
    std::chrono::milliseconds befehlspause{100};
    // How long DTR stays off when the modem is forced on-hook.
    std::chrono::milliseconds dtrAbfall{500};

    // Bus exchanges through a connection. The two modems hold data back (error correction and
    // compression work in blocks, 50 to 300 ms each way on a telephone line, more on a mobile
    // one), and the remote bus may run slower than this line, so its answers come late and in
    // pieces.
    // Added to every answer window.
    std::chrono::milliseconds antwortZuschlag{1000};
    // The least silence that ends an answer.
    std::chrono::milliseconds antwortPause{100};
    // The least silence that ends an answer while a long frame is still incomplete.
    std::chrono::milliseconds pauseImRahmen{500};
};

inline constexpr Modemzeiten kStandardModemzeiten{};

} // namespace mbus
