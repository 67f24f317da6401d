#include "zugang/Laufzeitfehler.h"

#include "platform/Global.h"
#include "support/TestUmgebung.h"

namespace {

using LaufzeitfehlerTest = TestUmgebung; // the test clock stands at 05.12.2026 12:00:00

TEST_F(LaufzeitfehlerTest, zeigtVierZeilenKritischUndSchreibtBeschreibungInsLog)
{
    ShowErrorMessage({70, "Zugriff verweigert", "WriteDefaultUserConfig", "hilfe.chm"});
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_EQ(m_meldungen.texte[0],
              "Fehler Nummer: 70\r\nFehlerbeschreibung: Zugriff verweigert\r\n"
              "Fehlerquelle: WriteDefaultUserConfig\r\nHilfe: hilfe.chm");
    EXPECT_EQ(lesen("261205ed.log"), "05.12.26 12:00:00 Zugriff verweigert\r\n");
}

} // namespace
