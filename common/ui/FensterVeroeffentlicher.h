#pragma once
// Keeps this process's list in the window-title register (platform/FensterRegister.h) up to
// date, so that other processes of the program find its windows by their titles.

#include <QObject>

class QEvent;
class QWidget;

class FensterVeroeffentlicher : public QObject
{
    Q_OBJECT

public:
    // Watches the top-level windows of the running QApplication (an event filter on it) and
    // publishes them once now.
    explicit FensterVeroeffentlicher(QObject* parent = nullptr);
    // Removes this process's list from the register.
    ~FensterVeroeffentlicher() override;

    // One publisher for the whole program, owned by the application, removed at its end. Call
    // once after the QApplication exists.
    static FensterVeroeffentlicher* einrichten();

    // The register handle of a top-level window (given once, kept for its life).
    static qint64 handleVon(QWidget* fenster);

    // Writes the current list of top-level windows now.
    void veroeffentlichen();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    // Publishes once the current events are handled, so that a burst of changes (a window
    // being built, shown and titled) writes the file once.
    void einplanen();

    bool m_eingeplant = false;
};
