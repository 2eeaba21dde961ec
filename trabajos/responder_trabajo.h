#pragma once

#include "compensacion.h"
#include "etiquetas_dcs.h"
#include "lente_en_uso.h"
#include "receta.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A job answered the way a surfacing bench answers it: each eye solved with
// the laboratory's thickness rules, over the frame's shape, its thinnest lens
// written back in the same format.
namespace trabajos {

// What a job needs of a material: its index and density, and the thinnest
// centre it may be made with.
struct MaterialTrabajo {
    std::string nombre;
    double indice = 0;
    double densidad = 0;
    std::optional<double> centroMin;
};

// The materials catalogue as the jobs see it.
class MaterialesTrabajo {
public:
    virtual ~MaterialesTrabajo() = default;
    // The material of that product name, matched whole and without regard to
    // case: never a material whose name merely contains it.
    virtual std::optional<MaterialTrabajo> Buscar(std::string_view nombre) = 0;
    // The materials of the standard's class (LMATTYPE: 1 plastic,
    // 2 polycarbonate, 3 glass, 5 high index, 6 Trivex) whose index lies
    // within kToleranciaIndice of the one given.
    virtual std::vector<MaterialTrabajo> PorCodigo(int codigo, double indice)
    {
        (void)codigo;
        (void)indice;
        return {};
    }
    // Why the catalogue could not be asked at all; empty while it answers.
    // Nothing found is then no sign that a material is missing.
    virtual std::string Inaccesible() const { return {}; }
};

// The tool index of the generator's curves (TIND) when a request gives none.
inline constexpr double kTindPorOmision = 1.530;

// A class code and an index name a material when the index is within this
// of the catalogue's: 1.50 finds 1.498 and 1.53 finds 1.532.
inline constexpr double kToleranciaIndice = 0.005;

// A warning, for the answer (naming the label) and for the optician.
struct Aviso {
    std::string texto;
    std::string mensaje;
};

// Why an eye has no lens: for the answer its status, label and reason, and
// for the optician the same in plain words without the exchange's labels.
struct FallaOjo {
    dcs::Falla dcs;
    std::string mensaje;
};

// One eye of a job: its solved lens and outline, or why it has none.
struct OjoResuelto {
    bool pedido = false; // the job asks for this eye
    std::optional<lente::Resultado> resultado;
    std::vector<lente::Punto> borde; // mm about the optical centre
    double base = 0; // the front curve used, D at 1.523
    double indice = 0;
    double tind = 1.530; // the generator's tool index of the answer's back curves
    std::optional<double> bloque; // the standard blank, mm
    double bloqueMinimo = 0; // the smallest round blank the outline needs, mm
    int seguridad = 0; // laboratorio::Seguridad
    lente::Pedido lente; // what was solved: the lens's faces are rebuilt from it
    // How the frame holds the lens (BVD, PANTO, ZTILT); `enUso` when the
    // request gives any of them, and the errors across the field are then
    // answered.
    lente::Montaje montaje;
    bool enUso = false;
    // The axis of the resultado's back meridian internaEje: the
    // prescription's, or the compensated back's own.
    double ejeReverso = 0;
    // What a lensmeter reads on a lens compensated for tilt or wrap; none
    // when the lens is the prescription's own.
    std::optional<lente::EsferoCilindro> frontofocometro;
    // The RMS astigmatic error over the eight gazes 30° off the line of
    // sight, D.
    std::optional<double> campo;
    std::vector<std::string> avisos; // for the optician: each value a rule raised, each warning
    std::vector<std::string> avisosDcs; // the same for the answer, naming the labels
    std::string material; // the catalogue's name; empty for an index alone
    std::string falla; // for the optician, when the eye has no lens
    dcs::Falla error; // the same for the answer
};

struct Contestacion {
    std::string numero; // JOB
    std::string texto; // the answer's bytes
    std::array<OjoResuelto, 2> ojos;
    // Every eye the job asks for has its lens (a job that asks for none, DO=N,
    // included).
    bool Completa() const;
    // The material of the first eye that names one.
    std::string Material() const;
};

Contestacion Responder(const dcs::Pedido& pedido, MaterialesTrabajo* materiales);

// The material an eye's request names, looked up in this order, never by a
// part of a name: _MATERIAL, the product name; LMATTYPE, the standard's class
// with LIND (or a product name in a request of the earlier release, or one
// that is not a number); else LIND alone, the lens made at that index
// without a weight. The index the lens is made with, and warnings.
struct MaterialDelOjo {
    std::optional<MaterialTrabajo> material;
    double indice = 0;
    std::vector<Aviso> avisos;
};
// Nothing, with the failure, when no material can be found or none is named.
std::optional<MaterialDelOjo> MaterialDe(const dcs::Pedido& pedido, dcs::Lado lado, MaterialesTrabajo* materiales,
                                         FallaOjo& falla);

// The standard's class of material that an LMATTYPE value gives, a small
// whole number; none for anything else, which is a product's name.
std::optional<int> ClaseDeMaterial(std::string_view lmattype);

// The front curve an eye's request gives, as D at the 1.523 tool index the
// program keeps: FRNT, the true power at the request's index (a value above
// 30 is a radius in mm), else MBASE at the tool index TIND. Nothing when the
// request leaves the curve to be suggested. `indice` is the lens's, for a
// request without LIND; `aviso` is set when FRNT held a radius.
std::optional<double> BaseDelPedido(const dcs::Pedido& pedido, dcs::Lado lado, double indice, Aviso* aviso = nullptr);

// The prescription of an eye's request, with the laboratory's prism for
// thinning (PTPRVM at PTPRVA) added to the prescribed one as a vector, unless
// PTOK=0 says it was not asked for.
std::optional<lente::Receta> RecetaDelPedido(const dcs::Pedido& pedido, dcs::Lado lado, FallaOjo& falla);

// The outline an eye's request gives, about its optical centre: the traced
// shape, else the box's ellipse, else a round lens of the effective
// diameter.
std::optional<std::vector<lente::Punto>> BordeDelPedido(const dcs::Pedido& pedido, dcs::Lado lado, FallaOjo& falla);

// The eye is asked for: DO names it (B both, R, L, N none), or without DO it
// has a sphere, or neither eye has one (both then lack it).
bool PideOjo(const dcs::Pedido& pedido, dcs::Lado lado);

// How the frame holds an eye's lens: BVD (12 mm when absent), PANTO and
// ZTILT, the wrap. `dado` tells whether the request gives any of them.
lente::Montaje MontajeDelPedido(const dcs::Pedido& pedido, dcs::Lado lado, bool* dado = nullptr);

// A pair is made on one base, the stronger eye's: the eye (0 right, 1 left)
// whose spherical equivalent is larger in absolute value, the right on a
// tie. None when they differ by more than 2.00 D: each eye then needs its
// own.
std::optional<int> OjoGuiaDelPar(double equivalenteDerecho, double equivalenteIzquierdo);

// The best-form base (lente::BuscarMejorBase) of a job's eyes as worn, by the
// pair rule: the guiding eye's base for both when they are of one material,
// each eye's own otherwise. An eye's base is none, with its reason in
// `falla`, when it cannot be made at any base.
struct BasesDelPar {
    std::array<std::optional<double>, 2> base; // D at 1.523
    std::optional<int> guia; // the eye whose base the pair takes
    bool anisometropia = false;
    std::array<std::string, 2> falla;
};
BasesDelPar MejorBaseDelPar(const dcs::Pedido& pedido, MaterialesTrabajo* materiales);

// The first eye, right then left, that the design window can make: a plus
// sphere with neither cylinder nor prism, asked for and free of bad values,
// its material named by product name (or not at all). Only what the job
// gives is filled; the rest stays as the window has it.
struct OjoDeDiseno {
    dcs::Lado lado = dcs::Lado::Derecho;
    double esfera = 0;
    std::string material;
    std::optional<double> base; // D at 1.523
    std::optional<double> diametro; // FED
    std::optional<double> borde; // MINEDG
};
std::optional<OjoDeDiseno> PrimerOjoEsferico(const dcs::Pedido& pedido);

} // namespace trabajos
