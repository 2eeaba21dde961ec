#pragma once

#include "etiquetas_dcs.h"
#include "responder_trabajo.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// What the job window holds, without the window: each box's confirmed value,
// checked as it is confirmed, and the job those values make, written as the
// laboratory's systems write a request so that the same solver, store and
// ticket serve it as they serve a job that came from outside.
namespace trabajos {

enum class Campo {
    Numero, // the job
    Esfera, // each eye
    Cilindro,
    Eje,
    Prisma,
    BasePrisma,
    Dp,
    Altura,
    Material, // the job
    Curva,
    Montura,
    Seguridad,
    A,
    B,
    Dbl,
    Vertice, // how the frame holds the lenses: the same for both eyes
    Pantoscopico,
    Envolvente,
};

// An eye's own box, as opposed to one for the whole job.
bool EsDeOjo(Campo c);

class FormularioTrabajo {
public:
    // A frame's usual vertex distance, mm, when the job gives none.
    static constexpr double kVertice = 12.0;
    static constexpr std::array<std::string_view, 3> kMonturas = {"Completa", "Ranurada", "Perforada"};
    static constexpr std::array<std::string_view, 3> kSeguridades = {"Ninguna", "Básica", "Alto impacto"};

    // Takes what a box holds. Nothing when the value is kept; otherwise the
    // advice, in Spanish, and the box keeps its last good value. An empty
    // number box clears its value (an eye without a sphere is not made).
    std::optional<std::string> Confirmar(Campo c, dcs::Lado lado, std::string_view texto);
    // The confirmed value as the box shows it: the figures written the same
    // way whatever was typed.
    std::string Texto(Campo c, dcs::Lado lado = dcs::Lado::Derecho) const;

    // A frame trace in the data-communication format (other records are
    // ignored). Its box fills A and B. Nothing, or the reason it was refused.
    std::optional<std::string> CargarTrazado(std::string_view texto);
    bool TieneTrazado() const { return !m_trazado.empty(); }
    // Back to the box's ellipse: A and B stay as the trace left them.
    void QuitarTrazado();

    // The job as a request; the same values always give the same bytes. The
    // base curve goes as MBASE at the house's 1.523 tool index (TIND), the
    // material as _MATERIAL, or as LIND for an index alone, and the frame's
    // vertex distance, tilt and wrap as BVD, PANTO and ZTILT.
    std::string Pedido() const;
    // Replaces every value with a request's (a stored job, read by the rules
    // of `formato`). Nothing when it was read; otherwise the reason, and the
    // values are left as they were. A value the request holds but no box
    // accepts is left empty and named in `avisos`. The catalogue names the
    // material a request gives by its class and index; without it, or when
    // no material is found, the request's index alone is kept.
    std::optional<std::string> Cargar(std::string_view pedido, std::string& avisos,
                                      MaterialesTrabajo* materiales = nullptr, int formato = dcs::kFormato);
    // The values a request brings that no box holds (the addition, the
    // segment height, the lens type, the thinning prism), one line each;
    // kept and written back with the job. Empty when there are none.
    std::string Conservados() const;

    // Some eye has a sphere: there is something to solve.
    bool TieneOjos() const;
    const std::string& Numero() const { return m_numero; }

    // Changed since it was loaded, stored or made anew.
    bool Cambiado() const { return m_cambiado; }
    void MarcarGuardado() { m_cambiado = false; }

private:
    using Valor = std::optional<double>;
    Valor* numero(Campo c, dcs::Lado lado);
    void conservar(const dcs::Pedido& p, std::string_view etiqueta, dcs::Lado lado);
    const Valor* numero(Campo c, dcs::Lado lado) const;

    struct Ojo {
        Valor esfera, cilindro, eje, prisma, basePrisma, dp, altura;
    };
    std::string m_numero;
    std::array<Ojo, 2> m_ojos;
    std::string m_material;
    std::optional<double> m_indiceSolo;
    // One base for the pair, or each eye's when they differ ("4.00 / 6.50").
    std::array<Valor, 2> m_curva;
    // The vertex distance, the pantoscopic tilt and the wrap, never empty.
    Valor m_vertice = kVertice, m_pantoscopico = 0.0, m_envolvente = 0.0;
    int m_montura = 0; // index into kMonturas
    int m_seguridad = 0;
    Valor m_a, m_b, m_dbl;
    std::string m_trazado; // the TRCFMT and R records, a line each
    // A request's values without a box, by label: one text an eye, or the
    // job's in the right eye's place.
    std::map<std::string, std::array<std::string, 2>, std::less<>> m_conservados;
    bool m_cambiado = false;
};

// A prism base typed as the prescription says it: "adentro" (toward the
// nose), "afuera", "arriba", "abajo", or degrees 0–360 in the standard frame.
// Nothing when the text is none of those.
std::optional<double> LeerBasePrisma(std::string_view texto, dcs::Lado lado);

} // namespace trabajos
