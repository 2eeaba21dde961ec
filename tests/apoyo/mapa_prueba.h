#pragma once

#include "apariencia_mapas.h"
#include "responder_trabajo.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <optional>
#include <string>
#include <vector>

// The job window's pictures as their tests read them: a job answered without
// a catalogue, painted at the smallest size the window gives them.
namespace mapa_prueba {

inline const QRectF kArea(0, 0, 700, 450);

inline trabajos::Contestacion responder(const std::string& texto)
{
    std::string error;
    const auto pedido = dcs::Pedido::Leer(texto, error);
    return pedido ? trabajos::Responder(*pedido, nullptr) : trabajos::Contestacion{};
}

template <typename Mapa>
QImage dibujar(const Mapa& mapa)
{
    QImage imagen(kArea.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&imagen);
    mapa.Dibujar(p, kArea);
    return imagen;
}

// The first text of a picture that is cut, outside it or over another, and
// why; nothing when every text is whole, inside and clear of the others.
inline std::optional<QString> textoFueraDeLugar(const std::vector<mapas::Rotulo>& rotulos)
{
    for (std::size_t i = 0; i < rotulos.size(); ++i) {
        const mapas::Rotulo& r = rotulos[i];
        if (!kArea.contains(r.caja))
            return r.texto + QStringLiteral(": fuera del dibujo");
        const QRectF ocupa = QFontMetricsF(r.letra).boundingRect(r.caja, r.alineacion, r.texto);
        if (!r.caja.adjusted(-0.5, -0.5, 0.5, 0.5).contains(ocupa))
            return r.texto + QStringLiteral(": cortado");
        for (std::size_t j = 0; j < i; ++j)
            if (r.caja.intersects(rotulos[j].caja))
                return r.texto + QStringLiteral(" / ") + rotulos[j].texto;
    }
    return std::nullopt;
}

} // namespace mapa_prueba
