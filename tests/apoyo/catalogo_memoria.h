#pragma once

#include "catalogo.h"

#include <QString>
#include <vector>

// A few materials in table order, found by name with the catalogue's rule:
// the first whose name contains the text, letters compared without regard to case.
class CatalogoMemoria : public Catalogo {
public:
    struct Fila {
        std::string producto;
        double indice;
        double densidad;
    };
    explicit CatalogoMemoria(std::vector<Fila> filas) : m_filas(std::move(filas)) {}

    std::vector<std::string> Productos() override
    {
        std::vector<std::string> nombres;
        for (const Fila& f : m_filas)
            nombres.push_back(f.producto);
        return nombres;
    }
    std::optional<Material> BuscarPorNombre(std::string_view texto) override
    {
        const QString buscado = QString::fromUtf8(texto.data(), qsizetype(texto.size()));
        for (const Fila& f : m_filas)
            if (QString::fromStdString(f.producto).contains(buscado, Qt::CaseInsensitive))
                return Material{0, f.producto, "", "", f.indice, f.densidad, 0, false, true};
        return std::nullopt;
    }
    std::optional<Material> BuscarPorId(std::string_view) override { return std::nullopt; }
    long long Cantidad() override { return static_cast<long long>(m_filas.size()); }

private:
    std::vector<Fila> m_filas;
};
