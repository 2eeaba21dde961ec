#include "botones.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class TeclasBoton : public QObject {
public:
    TeclasBoton(QAbstractButton* boton, std::function<void(int)> tecla)
        : QObject(boton), m_boton(boton), m_tecla(std::move(tecla))
    {
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto != m_boton)
            return false;
        if (evento->type() == QEvent::KeyRelease) {
            // The press was taken here; the button must not act on the release.
            const int k = static_cast<QKeyEvent*>(evento)->key();
            return k == Qt::Key_Space;
        }
        if (evento->type() != QEvent::KeyPress)
            return false;
        auto* tecla = static_cast<QKeyEvent*>(evento);
        const int k = tecla->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) {
            if (!tecla->isAutoRepeat())
                m_boton->click();
            return true;
        }
        if (k == Qt::Key_Tab || k == Qt::Key_Backtab || tecla->text().isEmpty())
            return false;
        if (m_tecla)
            m_tecla(tecla->text().at(0).unicode());
        return true;
    }

private:
    QAbstractButton* m_boton;
    std::function<void(int)> m_tecla;
};

} // namespace

void ConectarBoton(QAbstractButton* boton, std::function<void()> clic, std::function<void(int)> tecla)
{
    QObject::connect(boton, &QAbstractButton::clicked, boton, [clic = std::move(clic)] { clic(); });
    boton->installEventFilter(new TeclasBoton(boton, std::move(tecla)));
}
