#pragma once

// A design value that may not have been given yet. An unset value takes part
// in arithmetic as 0 and is shown as an empty box, as the optician expects of
// a field never confirmed.
class Numero {
public:
    Numero() = default;
    Numero(double valor) : m_valor(valor), m_definido(true) {}

    Numero& operator=(double valor)
    {
        m_valor = valor;
        m_definido = true;
        return *this;
    }

    operator double() const { return m_valor; }
    double valor() const { return m_valor; }
    bool definido() const { return m_definido; }

    void borrar()
    {
        m_valor = 0.0;
        m_definido = false;
    }

private:
    double m_valor = 0.0;
    bool m_definido = false;
};
