#pragma once

#include "dialogos.h"

#include <deque>
#include <string>
#include <vector>

// Records every box instead of showing it, and answers from queues, so that a
// test never waits on a modal box.
class DialogosPrueba : public Dialogos {
public:
    struct Caja {
        std::string titulo;
        std::string texto;
        Icono icono;
        Botones botones;
    };

    Respuesta Mensaje(std::string_view titulo, std::string_view texto, Icono icono,
                      Botones botones = Botones::Aceptar) override
    {
        cajas.push_back({std::string(titulo), std::string(texto), icono, botones});
        if (botones == Botones::Aceptar)
            return Respuesta::Aceptar;
        if (respuestas.empty())
            return Respuesta::No;
        const Respuesta r = respuestas.front();
        respuestas.pop_front();
        return r;
    }

    std::optional<std::string> PedirTexto(std::string_view, std::string_view = {}) override
    {
        if (textos.empty())
            return std::nullopt;
        std::optional<std::string> t = textos.front();
        textos.pop_front();
        return t;
    }

    void Beep() override { ++beeps; }

    std::vector<std::string> titulos() const
    {
        std::vector<std::string> t;
        for (const Caja& c : cajas)
            t.push_back(c.titulo);
        return t;
    }

    std::vector<Caja> cajas;
    std::deque<Respuesta> respuestas;
    std::deque<std::optional<std::string>> textos;
    int beeps = 0;
};
