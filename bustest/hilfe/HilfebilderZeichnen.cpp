// Renders the pictures of the help and about windows (hilfe/*.png). Not part of the build:
// after changing a drawing, build it once against Qt6::Gui and run it in this folder:
//   g++ -std=c++20 -fPIC HilfebilderZeichnen.cpp $(pkg-config --cflags --libs Qt6Gui) -o zeichnen
//   QT_QPA_PLATFORM=offscreen ./zeichnen

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kPapier(250, 250, 246);
const QColor kLinie(40, 60, 90);
const QColor kBus(200, 120, 20);
const QColor kKasten(225, 235, 245);
const QColor kMarke(255, 240, 200);

void kasten(QPainter& p, const QRectF& r, const QString& text, const QColor& fuellung = kKasten)
{
    p.setPen(QPen(kLinie, 2));
    p.setBrush(fuellung);
    p.drawRoundedRect(r, 6, 6);
    p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void nummer(QPainter& p, QPointF mitte, int n)
{
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(kBus);
    p.drawEllipse(mitte, 11, 11);
    p.drawText(QRectF(mitte.x() - 11, mitte.y() - 11, 22, 22), Qt::AlignCenter, QString::number(n));
}

void titel(QPainter& p, const QString& text)
{
    QFont f = p.font();
    f.setPointSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kLinie);
    p.drawText(QRectF(20, 10, 600, 30), Qt::AlignLeft | Qt::AlignVCenter, text);
    f.setPointSize(9);
    f.setBold(false);
    p.setFont(f);
}

// The bus view: port settings, scan over the bus, the list of meters found.
QImage busansicht()
{
    QImage bild(640, 400, QImage::Format_RGB32);
    bild.fill(kPapier);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    titel(p, QStringLiteral("Bus-Ansicht: Zähler am Bus suchen"));

    kasten(p, QRectF(20, 60, 150, 70), QStringLiteral("Com-Port\nBaudraten\nAdressen von ... bis"));
    nummer(p, QPointF(20, 60), 1);
    kasten(p, QRectF(20, 160, 150, 50), QStringLiteral("Primär Suchen\n(Stop bricht ab)"), kMarke);
    nummer(p, QPointF(20, 160), 2);

    kasten(p, QRectF(240, 60, 120, 60), QStringLiteral("Pegelwandler\nM-Bus"));
    p.setPen(QPen(kLinie, 2, Qt::DashLine));
    p.drawLine(QPointF(170, 95), QPointF(240, 90));

    // the two-wire bus with three meters
    p.setPen(QPen(kBus, 4));
    p.drawLine(QPointF(300, 120), QPointF(300, 150));
    p.drawLine(QPointF(300, 150), QPointF(620, 150));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 380 + i * 90;
        p.setPen(QPen(kBus, 3));
        p.drawLine(QPointF(x, 150), QPointF(x, 175));
        kasten(p, QRectF(x - 35, 175, 70, 45), QStringLiteral("Zähler\nAdr. %1").arg(i + 1));
    }

    // the list of meters found
    const QRectF liste(20, 250, 600, 130);
    p.setPen(QPen(kLinie, 2));
    p.setBrush(Qt::white);
    p.drawRect(liste);
    const QStringList koepfe{QStringLiteral("Primär"), QStringLiteral("ID"),
                             QStringLiteral("Herst."), QStringLiteral("Medium"),
                             QStringLiteral("Baud")};
    const qreal breite = liste.width() / koepfe.size();
    p.setBrush(kKasten);
    p.drawRect(QRectF(liste.left(), liste.top(), liste.width(), 24));
    for (int s = 0; s < koepfe.size(); ++s) {
        const qreal x = liste.left() + s * breite;
        p.drawLine(QPointF(x, liste.top()), QPointF(x, liste.bottom()));
        p.drawText(QRectF(x + 6, liste.top(), breite - 6, 24), Qt::AlignVCenter, koepfe[s]);
    }
    for (int z = 1; z <= 3; ++z) {
        const qreal y = liste.top() + 24 + (z - 1) * 26;
        p.drawLine(QPointF(liste.left(), y + 26), QPointF(liste.right(), y + 26));
        p.drawText(QRectF(liste.left() + 6, y, breite - 6, 26), Qt::AlignVCenter, QString::number(z));
    }
    nummer(p, QPointF(20, 250), 3);
    return bild;
}

// The meter view: one meter addressed, its records read and shown.
QImage zaehleransicht()
{
    QImage bild(640, 400, QImage::Format_RGB32);
    bild.fill(kPapier);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    titel(p, QStringLiteral("Zähler-Ansicht: einen Zähler auslesen"));

    kasten(p, QRectF(20, 60, 170, 70), QStringLiteral("Gerätenummer\nCom-Port, Baud"));
    nummer(p, QPointF(20, 60), 1);
    kasten(p, QRectF(20, 160, 170, 50), QStringLiteral("M-Bus lesen Primär"), kMarke);
    nummer(p, QPointF(20, 160), 2);

    kasten(p, QRectF(430, 60, 190, 110), QStringLiteral("Zähler\n\nHersteller, ID,\nMedium, Version"));

    p.setPen(QPen(kBus, 3));
    p.drawLine(QPointF(200, 90), QPointF(420, 90));
    p.drawLine(QPointF(410, 84), QPointF(420, 90));
    p.drawLine(QPointF(410, 96), QPointF(420, 90));
    p.drawText(QRectF(230, 66, 180, 20), Qt::AlignCenter, QStringLiteral("Anforderung"));
    p.drawLine(QPointF(420, 140), QPointF(200, 140));
    p.drawLine(QPointF(210, 134), QPointF(200, 140));
    p.drawLine(QPointF(210, 146), QPointF(200, 140));
    p.drawText(QRectF(230, 116, 180, 20), Qt::AlignCenter, QStringLiteral("Antwort mit Datensätzen"));

    const QRectF liste(20, 250, 600, 130);
    p.setPen(QPen(kLinie, 2));
    p.setBrush(Qt::white);
    p.drawRect(liste);
    const QStringList koepfe{QStringLiteral("Index"), QStringLiteral("Medium"),
                             QStringLiteral("Meßart"), QStringLiteral("Wert"),
                             QStringLiteral("Einh.")};
    const QStringList werte{QStringLiteral("1"), QStringLiteral("Wärme"),
                            QStringLiteral("Energie"), QStringLiteral("1234,5"),
                            QStringLiteral("kWh")};
    const qreal breite = liste.width() / koepfe.size();
    p.setBrush(kKasten);
    p.drawRect(QRectF(liste.left(), liste.top(), liste.width(), 24));
    for (int s = 0; s < koepfe.size(); ++s) {
        const qreal x = liste.left() + s * breite;
        p.drawLine(QPointF(x, liste.top()), QPointF(x, liste.bottom()));
        p.drawText(QRectF(x + 6, liste.top(), breite - 6, 24), Qt::AlignVCenter, koepfe[s]);
        p.drawText(QRectF(x + 6, liste.top() + 24, breite - 6, 26), Qt::AlignVCenter, werte[s]);
    }
    p.drawLine(QPointF(liste.left(), liste.top() + 50), QPointF(liste.right(), liste.top() + 50));
    nummer(p, QPointF(20, 250), 3);
    return bild;
}

// The about window's emblem: a meter on a two-wire bus.
QImage emblem()
{
    QImage bild(96, 96, QImage::Format_ARGB32);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBus, 5));
    p.drawLine(QPointF(6, 80), QPointF(90, 80));
    p.drawLine(QPointF(48, 80), QPointF(48, 64));
    p.setPen(QPen(kLinie, 3));
    p.setBrush(kKasten);
    p.drawRoundedRect(QRectF(18, 8, 60, 56), 8, 8);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(26, 18, 44, 16));
    p.setPen(QPen(kLinie, 1));
    QFont f = p.font();
    f.setPixelSize(12);
    p.setFont(f);
    p.drawText(QRectF(26, 18, 44, 16), Qt::AlignCenter, QStringLiteral("123,4"));
    p.setBrush(kMarke);
    p.drawEllipse(QPointF(48, 48), 7, 7);
    return bild;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const bool ok = busansicht().save(QStringLiteral("busansicht.png"))
                    && zaehleransicht().save(QStringLiteral("zaehleransicht.png"))
                    && emblem().save(QStringLiteral("emblem.png"));
    return ok ? 0 : 1;
}
