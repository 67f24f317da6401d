// The test window's layout on the screens it is made for (1280x800 and 1024x768) and at its
// minimum size, on a simulated bus: every visible control lies inside the window with room for
// its text, the telegram dump shows its 16-byte lines unbroken, the records grid shows every
// column and the whole timing line, and the search controls stand still while a secondary search
// runs. TELVARIN_BILDORDNER names a folder for pictures of the window.

#include "SimulatorFensterUmgebung.h"

#include "ui/FlexGridWidget.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QtMath>

// Sizes by name in the test output.
void PrintTo(const QSize& groesse, std::ostream* os)
{
    if (groesse.isEmpty())
        *os << "Minimum";
    else
        *os << groesse.width() << 'x' << groesse.height();
}

namespace {

// Window sizes; an empty size stands for the window's own minimum size.
const QSize kGross(1280, 800);
const QSize kKlein(1024, 768);

QString GroessenName(const QSize& groesse)
{
    return groesse.isEmpty() ? QStringLiteral("Minimum")
                             : QStringLiteral("%1x%2").arg(groesse.width()).arg(groesse.height());
}

// Two heat meters with long telegrams (a dump of many 16-byte lines and of decimals that wrap):
// at 5 the first meter of the example bus, whose kinds of value are long ("Return temperature"),
// at 6 a common one with energy and volume only.
QString ZweiZaehler()
{
    const QString fuellung =
        QStringLiteral("satz 0406 A0860100\nsatz 0C13 45230100\n").repeated(16);
    return QStringLiteral("zaehler adresse=5 id=50000005 hersteller=LUG version=07 medium=04 "
                          "baud=9600\n"
                          "satz 0B2B 501200\nsatz 0A5A 4506\nsatz 0A5E 1204\nsatz 02FD17 0000\n") +
           fuellung +
           QStringLiteral("zaehler adresse=6 id=50000006 hersteller=LUG version=07 medium=04 "
                          "baud=9600\n") +
           fuellung;
}

void Auffrischen()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
}

QString Name(const QWidget* element)
{
    QString text = element->property("text").toString();
    if (const auto* rahmen = qobject_cast<const QGroupBox*>(element))
        text = rahmen->title();
    return QString::fromLatin1(element->metaObject()->className()) + QLatin1Char(' ') + text;
}

QRect Lage(const QWidget& fenster, const QWidget* element)
{
    return {element->mapTo(&fenster, QPoint(0, 0)), element->size()};
}

// Width a line edit needs to show the text whole, without scrolling it: the text, the box's own
// frame and margins (its size hint less the 17 characters it is made for) and the cursor.
int FeldBedarf(const QLineEdit& feld, const QString& text)
{
    const QFontMetrics fm = feld.fontMetrics();
    return fm.horizontalAdvance(text) + feld.sizeHint().width() -
           17 * fm.horizontalAdvance(QLatin1Char('x')) + 2;
}

// Every visible control lies inside the window and has the room its text needs; a text box
// without wrapping shows its longest line.
void UnbeschnittenPruefen(const QWidget& fenster, const QWidget* ausser = nullptr)
{
    const QRect flaeche = fenster.rect();
    int geprueft = 0;
    for (const QWidget* element : fenster.findChildren<QWidget*>()) {
        if (!element->isVisibleTo(&fenster) || element == ausser)
            continue;
        const auto* feld = qobject_cast<const QLineEdit*>(element);
        const auto* text = qobject_cast<const QPlainTextEdit*>(element);
        if (!feld && !text && !qobject_cast<const QAbstractButton*>(element) &&
            !qobject_cast<const QLabel*>(element) && !qobject_cast<const QComboBox*>(element) &&
            !qobject_cast<const QGroupBox*>(element))
            continue;
        if (qobject_cast<const QComboBox*>(element->parentWidget()))
            continue; // the edit line of a combo box is the box's own business
        const std::string name = Name(element).toStdString();
        ++geprueft;
        EXPECT_TRUE(flaeche.contains(Lage(fenster, element))) << name;
        EXPECT_GE(element->width(), element->minimumSizeHint().width()) << name;
        EXPECT_GE(element->height(), element->minimumSizeHint().height()) << name;
        if (feld) {
            EXPECT_GE(feld->width(), FeldBedarf(*feld, feld->text())) << name;
        }
        const auto* zeilen = qobject_cast<const QLabel*>(element);
        if (zeilen && zeilen->wordWrap()) {
            EXPECT_LE(zeilen->heightForWidth(zeilen->width()), zeilen->height()) << name;
        }
        if (text && text->lineWrapMode() == QPlainTextEdit::NoWrap) {
            EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0) << name;
        }
    }
    EXPECT_GT(geprueft, 40);
}

// Height of a text box's text: its laid-out blocks and the document's margins.
int TextHoehe(const QPlainTextEdit& feld)
{
    const QTextDocument& dokument = *feld.document();
    qreal hoehe = 2 * dokument.documentMargin();
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next())
        hoehe += dokument.documentLayout()->blockBoundingRect(block).height();
    return qCeil(hoehe);
}

// The longest texts the result lines of the bus view show.
void ErgebnisseFuellen(const TestfensterElemente& e)
{
    for (QLabel* zeile : e.Label4)
        zeile->setText(
            QStringLiteral("250 Zähler in 999,99 sec. gefunden. Suche abgebrochen bei Adr. 250"));
    e.Label11->setText(QStringLiteral("250 Zähler gefunden  in 9999,99 Sekunden"));
    e.Label9->setText(QStringLiteral("9600"));
}

class TestfensterLayout : public SimulatorFensterUmgebung
{
protected:
    frmMBustest& starten(const QString& bus, bool dienst)
    {
        if (dienst)
            KommandozeileSetzen(QStringLiteral("vomak"));
        return simulatorStarten(bus);
    }

    void groesseSetzen(const QSize& groesse)
    {
        Auffrischen();
        // The window fits on the smaller screen in either view.
        EXPECT_LE(m_fenster->minimumSizeHint().width(), kKlein.width());
        EXPECT_LE(m_fenster->minimumSizeHint().height(), kKlein.height());
        const QSize ziel = groesse.isEmpty() ? m_fenster->minimumSizeHint() : groesse;
        m_fenster->resize(ziel);
        Auffrischen();
        ASSERT_EQ(m_fenster->size(), ziel);
    }

    void bildSpeichern(const QString& name)
    {
        const QByteArray ordner = qgetenv("TELVARIN_BILDORDNER");
        if (!ordner.isEmpty())
            m_fenster->grab().save(QString::fromLocal8Bit(ordner) + QLatin1Char('/') + name);
    }

    // Reads the meter at the address in the meter view through the window's driver.
    void zaehlerLesen(int adresse)
    {
        m_fenster->Text1Setzen(1, QString::number(kPort));
        m_fenster->Text1Setzen(2, QStringLiteral("9600"));
        m_fenster->Text1Setzen(0, QString::number(adresse));
        m_fenster->ui().cmdstartAuslesen->click();
        Auffrischen();
    }
};

class JeGroesse : public TestfensterLayout,
                  public ::testing::WithParamInterface<std::tuple<QSize, bool>>
{
};

INSTANTIATE_TEST_SUITE_P(Bildschirme, JeGroesse,
                         ::testing::Combine(::testing::Values(kGross, kKlein, QSize()),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<QSize, bool>>& info) {
                             return GroessenName(std::get<0>(info.param)).toStdString() +
                                    (std::get<1>(info.param) ? "_Dienst" : "_Normal");
                         });

TEST_P(JeGroesse, everyControlHasRoomForItsTextInBothViews)
{
    const auto [groesse, dienst] = GetParam();
    frmMBustest& fenster = starten(ZweiZaehler(), dienst);
    const TestfensterElemente& e = fenster.ui();
    ErgebnisseFuellen(e);
    groesseSetzen(groesse);
    UnbeschnittenPruefen(fenster);
    const QString name = QStringLiteral("frmMBustest-") + GroessenName(groesse) +
                         (dienst ? QStringLiteral("-dienst") : QString());
    bildSpeichern(name + QStringLiteral("-bus.png"));

    // At its smallest the window keeps room for a common meter's records whole; on the smaller
    // screen also for the long kinds of value.
    e.mnuZaehlerLesen->trigger();
    const int adresse = groesse.isEmpty() ? 6 : 5;
    zaehlerLesen(adresse);
    ASSERT_EQ(e.Text2[4]->text(), QStringLiteral("5000000%1").arg(adresse));
    groesseSetzen(groesse);
    // The raw answer box holds the whole telegram in one line and scrolls.
    UnbeschnittenPruefen(fenster, e.Text11);
    bildSpeichern(name + QStringLiteral("-zaehler.png"));

    // Records grid: every column to the unit whole, the timing line not cut short.
    FlexGridWidget* grid = e.Grid1;
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
    const int rand = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int spalte = 0; spalte < grid->Cols(); ++spalte)
        for (int zeile = 0; zeile < grid->Rows(); ++zeile)
            EXPECT_GE(grid->columnWidth(spalte),
                      grid->fontMetrics().horizontalAdvance(grid->TextMatrix(zeile, spalte)) + rand)
                << qPrintable(grid->TextMatrix(zeile, spalte));
    ASSERT_EQ(grid->TextMatrix(1, 0), QStringLiteral("Gelesen in "));

    // Telegram dump: fixed pitch, every hex line of 16 bytes on one line, with a scroll bar once
    // the text is taller than the box. How many lines the box shows depends on the view and the
    // fonts (one telegram fills the box only in some views), so the telegram is repeated until
    // it is taller than the box; the hex lines then stay whole beside the scroll bar.
    QPlainTextEdit* dump = e.Text12;
    const QFontMetrics schrift = dump->fontMetrics();
    for (const QChar zeichen : QStringLiteral("123456789ABCDEF "))
        EXPECT_EQ(schrift.horizontalAdvance(zeichen), schrift.horizontalAdvance(u'0'))
            << QString(zeichen).toStdString();
    const QString telegramm = dump->toPlainText();
    ASSERT_FALSE(telegramm.trimmed().isEmpty());
    for (int i = 0; i < 20 && TextHoehe(*dump) <= dump->viewport()->height(); ++i)
        dump->appendPlainText(telegramm);
    Auffrischen();
    ASSERT_GT(TextHoehe(*dump), dump->viewport()->height());
    EXPECT_GT(dump->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(dump->verticalScrollBar()->isVisibleTo(dump)) << "no scroll bar";
    int volleZeilen = 0;
    for (QTextBlock block = dump->document()->begin(); block.isValid(); block = block.next()) {
        dump->document()->documentLayout()->blockBoundingRect(block);
        if (block.text().trimmed().split(QLatin1Char(' ')).size() != 16 ||
            block.text().contains(QStringLiteral("Dezimal")))
            continue;
        ++volleZeilen;
        EXPECT_EQ(block.layout()->lineCount(), 1) << qPrintable(block.text());
    }
    EXPECT_GE(volleZeilen, 10);
}

// Where the controls of the search column and the rate boxes stand in the window.
QStringList SuchSpalte(const frmMBustest& fenster)
{
    const TestfensterElemente& e = fenster.ui();
    const QPushButton* sekundaer =
        e.cmdSekSuchenAlle->isHidden() ? e.cmdSekSuchenAlleAbbrechen : e.cmdSekSuchenAlle;
    QList<const QWidget*> elemente = {e.Label8->parentWidget(), e.cmdSecPrimSuchen, sekundaer};
    elemente << e.Label8 << e.Combo3 << e.Label9 << e.Label3 << e.Label11 << e.Frame9
             << e.MSFlexGrid1;
    for (const QCheckBox* rate : e.Check1)
        elemente << rate;
    QStringList lagen;
    for (const QWidget* element : elemente) {
        const QRect lage = Lage(fenster, element);
        lagen << QStringLiteral("%1 %2,%3 %4x%5")
                     .arg(QString::fromLatin1(element->metaObject()->className()))
                     .arg(lage.x())
                     .arg(lage.y())
                     .arg(lage.width())
                     .arg(lage.height());
    }
    return lagen;
}

QList<QImage> Raten(const frmMBustest& fenster)
{
    QList<QImage> bilder;
    for (QCheckBox* rate : fenster.ui().Check1)
        bilder << rate->grab().toImage();
    return bilder;
}

class WaehrendDerSuche : public TestfensterLayout, public ::testing::WithParamInterface<QSize>
{
};

INSTANTIATE_TEST_SUITE_P(Bildschirme, WaehrendDerSuche, ::testing::Values(kGross, kKlein),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return GroessenName(info.param).toStdString();
                         });

TEST_P(WaehrendDerSuche, searchColumnAndRateBoxesStayAsTheyWere)
{
    frmMBustest& fenster = starten(QStringLiteral("zaehler id=12345678 baud=9600\n"
                                                  "satz 0C13 45230100\n"),
                                   true);
    suchPortSetzen();
    const TestfensterElemente& e = fenster.ui();
    e.Check1[0]->setChecked(true);
    e.Check1[2]->setChecked(true);
    groesseSetzen(GetParam());
    const QStringList vorher = SuchSpalte(fenster);
    const QList<QImage> ratenVorher = Raten(fenster);

    QStringList waehrend;
    sobald(
        [&e] {
            return e.Label9->text() == QStringLiteral("2400") &&
                   e.Label8->text() != QStringLiteral("ffffffff");
        },
        [&] {
            Auffrischen();
            waehrend = SuchSpalte(fenster);
            bildSpeichern(QStringLiteral("frmMBustest-") + GroessenName(GetParam()) +
                          QStringLiteral("-suche.png"));
        },
        0);
    e.cmdSekSuchenAlle->click();
    Auffrischen();

    ASSERT_FALSE(waehrend.isEmpty());
    EXPECT_EQ(waehrend, vorher);
    EXPECT_EQ(SuchSpalte(fenster), vorher);
    EXPECT_TRUE(e.Label11->text().startsWith(QStringLiteral("1 Zähler gefunden")));
    EXPECT_EQ(Raten(fenster), ratenVorher);
}

} // namespace
