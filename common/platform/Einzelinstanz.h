#pragma once
// The one instance of a window that a menu shows: created on first use, shown again (brought
// forward) afterwards, created anew once it is gone (closed with delete-on-close, or deleted).
// What "show" means is up to the caller, so that the registry itself runs headless.

#include <QObject>
#include <QPointer>

#include <functional>

template <class T> class Einzelinstanz
{
public:
    using Fabrik = std::function<T*()>;

    explicit Einzelinstanz(Fabrik fabrik) : m_fabrik(std::move(fabrik)) {}
    // An instance still there goes with its registry.
    ~Einzelinstanz() { delete m_objekt.data(); }
    Einzelinstanz(const Einzelinstanz&) = delete;
    Einzelinstanz& operator=(const Einzelinstanz&) = delete;

    // The instance, created when there is none (nullptr when the factory gives none).
    T* holen()
    {
        if (!m_objekt) {
            m_objekt = m_fabrik();
            if (m_objekt)
                ++m_erzeugt;
        }
        return m_objekt.data();
    }
    // The instance when there is one; never creates it.
    T* vorhanden() const { return m_objekt.data(); }
    // How many instances were created so far.
    int erzeugt() const { return m_erzeugt; }

private:
    Fabrik m_fabrik;
    QPointer<T> m_objekt;
    int m_erzeugt = 0;
};
