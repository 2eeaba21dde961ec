#include "errores_campo.h"

#include "numerico.h"

#include <cmath>
#include <numbers>

namespace lente {

namespace {

constexpr double kMiradaForma = 30.0; // degrees from straight ahead
constexpr double kPasoBase = 0.25;
constexpr int kBases = 48; // 0.25 to 12.00 D
constexpr double kEmpate = 1e-6;

} // namespace

std::vector<Mirada> MiradasDelCampo()
{
    std::vector<Mirada> m;
    for (int v = 30; v >= -30; v -= 10)
        for (int h = -30; h <= 30; h += 10)
            m.push_back({double(h), double(v)});
    return m;
}

std::array<Mirada, 8> MiradasDeForma()
{
    std::array<Mirada, 8> m;
    for (int i = 0; i < 8; ++i) {
        const double phi = i * std::numbers::pi / 4.0;
        m[i] = {kMiradaForma * std::cos(phi), kMiradaForma * std::sin(phi)};
    }
    return m;
}

std::vector<std::optional<ErrorCampo>> ErroresCampo(const LenteOptica& lente, const Montaje& montaje,
                                                    const Receta& receta, std::span<const Mirada> miradas)
{
    std::vector<std::optional<ErrorCampo>> errores(miradas.size());
    try {
        const LenteEnUso enUso(lente, montaje);
        const vec::Mat2 p = MatrizDioptrica({receta.esfera, receta.cilindro, receta.eje});
        for (std::size_t i = 0; i < miradas.size(); ++i) {
            try {
                const vec::Mat2 e = enUso.Vergencia(miradas[i]) - p;
                errores[i] = ErrorCampo{(e.a + e.d) / 2.0, 2.0 * std::hypot((e.a - e.d) / 2.0, e.b)};
            } catch (const numerico::Falla&) {
            }
        }
    } catch (const numerico::Falla&) {
        // Faces that cannot be built leave every gaze without rays.
    }
    return errores;
}

std::optional<double> RmsAstigmatico(const LenteOptica& lente, const Montaje& montaje, const Receta& receta)
{
    const std::array<Mirada, 8> miradas = MiradasDeForma();
    double suma = 0.0;
    for (const auto& e : ErroresCampo(lente, montaje, receta, miradas)) {
        if (!e)
            return std::nullopt;
        suma += e->astigmatica * e->astigmatica;
    }
    return std::sqrt(suma / double(miradas.size()));
}

std::optional<MejorForma> BuscarMejorBase(const Pedido& pedido, std::span<const Punto> borde, const Montaje& montaje)
{
    std::optional<MejorForma> mejor;
    Pedido p = pedido;
    for (int i = 1; i <= kBases; ++i) {
        p.base = i * kPasoBase;
        SolucionEnUso uso = ResolverEnUso(p, borde, montaje);
        if (!uso.solucion.resultado)
            continue;
        const std::optional<double> rms = RmsAstigmatico(uso.optica, montaje, p.receta);
        if (rms && (!mejor || *rms < mejor->rms - kEmpate))
            mejor = MejorForma{p.base, *rms, std::move(uso)};
    }
    return mejor;
}

} // namespace lente
