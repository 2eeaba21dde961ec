#include "formulario_trabajo.h"

#include "bordes.h"
#include "trazo_dcs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

namespace trabajos {

namespace {

using dcs::Lado;

// Each number box: the label whose range it keeps, what it is called in its
// advice, its unit and the decimals it shows.
struct Caja {
    Campo campo;
    std::string_view etiqueta;
    std::string_view nombre;
    std::string_view unidad;
    int decimales;
    bool conSigno; // powers are written with their sign
};

constexpr Caja kCajas[] = {
    {Campo::Esfera, "SPH", "La esfera", "D", 2, true},
    {Campo::Cilindro, "CYL", "El cilindro", "D", 2, true},
    {Campo::Eje, "AX", "El eje", "grados", 0, false},
    {Campo::Prisma, "PRVM", "El prisma", "dioptrías prismáticas", 2, false},
    {Campo::BasePrisma, "PRVA", "La base del prisma", "grados", 0, false},
    {Campo::Dp, "IPD", "La DP monocular", "mm", 1, false},
    {Campo::Altura, "OCHT", "La altura", "mm", 1, false},
    {Campo::Curva, "MBASE", "La curva base", "D", 2, false},
    {Campo::A, "HBOX", "A, el ancho de la caja,", "mm", 1, false},
    {Campo::B, "VBOX", "B, el alto de la caja,", "mm", 1, false},
    {Campo::Dbl, "DBL", "El puente (DBL)", "mm", 1, false},
    {Campo::Vertice, "BVD", "La distancia al vértice", "mm", 1, false},
    {Campo::Pantoscopico, "PANTO", "El ángulo pantoscópico", "grados", 1, false},
    {Campo::Envolvente, "ZTILT", "La envolvente", "grados", 1, false},
};

const Caja* caja(Campo c)
{
    const auto it = std::find_if(std::begin(kCajas), std::end(kCajas), [c](const Caja& k) { return k.campo == c; });
    return it == std::end(kCajas) ? nullptr : &*it;
}

std::string_view recortar(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A plain decimal number written with ".", as every box of the house takes it.
std::optional<double> leerNumero(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.size() > 20 || s.find_first_not_of("-0123456789.") != std::string_view::npos)
        return std::nullopt;
    double v = 0;
    const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || fin != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string escribir(double v, const Caja& k);

// A box's text checked against its label's range: the advice, or nothing
// with the value (none for an empty text) kept as the box shows it, so that
// what is solved, stored and printed is what the optician reads.
std::optional<std::string> valorDe(const Caja& k, Lado lado, std::string_view texto, std::optional<double>& valor)
{
    valor.reset();
    if (texto.empty())
        return std::nullopt;
    const dcs::Etiqueta& e = *dcs::BuscarEtiqueta(k.etiqueta);
    const std::optional<double> v = k.campo == Campo::BasePrisma ? LeerBasePrisma(texto, lado) : leerNumero(texto);
    const std::string rango = std::string(k.nombre) + " va de " + dcs::ConDecimales(e.minimo, k.decimales) + " a " +
                              dcs::ConDecimales(e.maximo, k.decimales) + " " + std::string(k.unidad) + ".";
    if (!v)
        return k.campo == Campo::BasePrisma
                   ? "Escriba la base del prisma: adentro, afuera, arriba, abajo o los grados (de 0 a 360)."
                   : "Escriba un número con punto decimal, por ejemplo 2.50. " + rango;
    if (*v < e.minimo || *v > e.maximo)
        return rango;
    const double mostrado = leerNumero(escribir(*v, k)).value_or(*v);
    valor = mostrado == 0.0 ? 0.0 : mostrado;
    return std::nullopt;
}

std::string escribir(double v, const Caja& k)
{
    std::string t = dcs::ConDecimales(v, k.decimales);
    if (k.conSigno && t.front() != '-')
        t.insert(t.begin(), '+');
    return t;
}

// The values a request brings that no box holds, kept with the job; those
// with a name are shown to the optician.
struct Conservado {
    std::string_view etiqueta;
    std::string_view nombre;
    std::string_view unidad;
};
constexpr Conservado kConservados[] = {
    {"ADD", "Adición", " D"},
    {"SEGHT", "Altura del segmento", " mm"},
    {"LTYP", "Tipo de lente", ""},
    {"PTPRVM", "Prisma de adelgazamiento", " Δ"},
    {"PTPRVA", "Base del prisma de adelgazamiento", "°"},
    {"PTOK", "", ""},
    {"MINEDG", "Borde mínimo pedido", " mm"},
    {"MINCTR", "Espesor central mínimo pedido", " mm"},
    {"FED", "", ""},
    {"FTYP", "", ""},
};

// The boxes of the frame's placement and the labels they are read from.
constexpr std::pair<Campo, std::string_view> kPosicion[] = {
    {Campo::Vertice, "BVD"}, {Campo::Pantoscopico, "PANTO"}, {Campo::Envolvente, "ZTILT"}};

// The house's base curves are nominal at the 1.523 tool index.
constexpr double kIndiceMolde = 1.523;

std::optional<int> indiceDe(std::span<const std::string_view> opciones, std::string_view texto)
{
    for (std::size_t i = 0; i < opciones.size(); ++i)
        if (opciones[i] == texto)
            return static_cast<int>(i);
    return std::nullopt;
}

// The format's edge types for the mounts, in the order of kMonturas.
constexpr int kEtyp[] = {1, 3, 2};

} // namespace

bool EsDeOjo(Campo c) { return c >= Campo::Esfera && c <= Campo::Altura; }

std::optional<double> LeerBasePrisma(std::string_view texto, Lado lado)
{
    // Seen from the front the right eye's nose is to the right (0°) and the
    // left eye's to the left (180°).
    const bool derecho = lado == Lado::Derecho;
    if (texto == "adentro")
        return derecho ? 0.0 : 180.0;
    if (texto == "afuera")
        return derecho ? 180.0 : 0.0;
    if (texto == "arriba")
        return 90.0;
    if (texto == "abajo")
        return 270.0;
    return leerNumero(texto);
}

FormularioTrabajo::Valor* FormularioTrabajo::numero(Campo c, Lado lado)
{
    return const_cast<Valor*>(std::as_const(*this).numero(c, lado));
}

const FormularioTrabajo::Valor* FormularioTrabajo::numero(Campo c, Lado lado) const
{
    const Ojo& o = m_ojos[static_cast<int>(lado)];
    switch (c) {
    case Campo::Esfera:
        return &o.esfera;
    case Campo::Cilindro:
        return &o.cilindro;
    case Campo::Eje:
        return &o.eje;
    case Campo::Prisma:
        return &o.prisma;
    case Campo::BasePrisma:
        return &o.basePrisma;
    case Campo::Dp:
        return &o.dp;
    case Campo::Altura:
        return &o.altura;
    case Campo::Curva:
        return &m_curva[static_cast<int>(lado)];
    case Campo::A:
        return &m_a;
    case Campo::B:
        return &m_b;
    case Campo::Dbl:
        return &m_dbl;
    case Campo::Vertice:
        return &m_vertice;
    case Campo::Pantoscopico:
        return &m_pantoscopico;
    case Campo::Envolvente:
        return &m_envolvente;
    default:
        return nullptr;
    }
}

std::optional<std::string> FormularioTrabajo::Confirmar(Campo c, Lado lado, std::string_view texto)
{
    texto = recortar(texto);
    const auto poner = [this](auto& destino, auto valor) {
        if (destino != valor)
            m_cambiado = true;
        destino = std::move(valor);
        return std::nullopt;
    };
    switch (c) {
    case Campo::Numero:
        if (!texto.empty() && !dcs::NumeroDeTrabajoValido(texto))
            return "El número de trabajo lleva letras, cifras, - _ . y hasta 40 caracteres, y no empieza por . "
                   "ni por -.";
        return poner(m_numero, std::string(texto));
    case Campo::Material:
        if (texto.empty())
            return "Seleccione un material de la lista para continuar";
        if (m_indiceSolo && texto == Texto(Campo::Material))
            return std::nullopt;
        m_cambiado = m_cambiado || m_indiceSolo.has_value();
        m_indiceSolo.reset();
        return poner(m_material, std::string(texto));
    case Campo::Montura:
    case Campo::Seguridad: {
        const bool montura = c == Campo::Montura;
        const auto i = montura ? indiceDe(kMonturas, texto) : indiceDe(kSeguridades, texto);
        if (!i)
            return montura ? "Elija la montura: completa, ranurada o perforada."
                           : "Elija la seguridad: ninguna, básica o alto impacto.";
        return poner(montura ? m_montura : m_seguridad, *i);
    }
    default:
        break;
    }
    const Caja& k = *caja(c);
    if (c == Campo::Curva) {
        // One curve for the pair, or "right / left" for each eye its own.
        std::array<Valor, 2> curvas;
        const std::size_t barra = texto.find('/');
        for (int i = 0; i < (barra == std::string_view::npos ? 1 : 2); ++i) {
            const std::string_view parte = barra == std::string_view::npos
                                               ? texto
                                               : recortar(i == 0 ? texto.substr(0, barra) : texto.substr(barra + 1));
            if (parte.empty() && barra != std::string_view::npos)
                return std::string("Escriba una curva para cada ojo, derecho / izquierdo: por ejemplo 4.00 / 6.50.");
            if (auto consejo = valorDe(k, lado, parte, curvas[i]))
                return consejo;
        }
        if (barra == std::string_view::npos)
            curvas[1] = curvas[0];
        return poner(m_curva, curvas);
    }
    Valor& destino = *numero(c, lado);
    Valor v;
    if (auto consejo = valorDe(k, lado, texto, v))
        return consejo;
    // A sphere, a size or a curve left empty is a value not given; the
    // frame's placement goes back to the usual one.
    if (!v && c == Campo::Vertice)
        v = kVertice;
    else if (!v && (c == Campo::Pantoscopico || c == Campo::Envolvente))
        v = 0.0;
    return poner(destino, v);
}

std::string FormularioTrabajo::Texto(Campo c, Lado lado) const
{
    switch (c) {
    case Campo::Numero:
        return m_numero;
    case Campo::Material:
        return m_indiceSolo ? "Índice " + dcs::ConDecimales(*m_indiceSolo, 3) + " (sin material del catálogo)"
                            : m_material;
    case Campo::Montura:
        return std::string(kMonturas[static_cast<std::size_t>(m_montura)]);
    case Campo::Seguridad:
        return std::string(kSeguridades[static_cast<std::size_t>(m_seguridad)]);
    default:
        break;
    }
    if (c == Campo::Curva && m_curva[0] && m_curva[1] && *m_curva[0] != *m_curva[1])
        return escribir(*m_curva[0], *caja(c)) + " / " + escribir(*m_curva[1], *caja(c));
    const Valor& v = *numero(c, c == Campo::Curva ? Lado::Derecho : lado);
    return v ? escribir(*v, *caja(c)) : std::string();
}

std::optional<std::string> FormularioTrabajo::CargarTrazado(std::string_view texto)
{
    const std::string trazado = dcs::RegistrosDeTrazo(texto);
    if (trazado.empty())
        return "El archivo no contiene un trazado.";
    std::string error, palabras;
    const auto trazos = dcs::LeerTrazos(trazado, error, &palabras);
    if (!trazos)
        return "El trazado no se puede usar: " + palabras;
    // The box of the traced side; a frame's two sides are mirror images.
    const lente::Caja c = lente::CajaDe(dcs::PuntosDelOjo(*trazos, lente::Ojo::Derecho));
    const dcs::Etiqueta& a = *dcs::BuscarEtiqueta("HBOX");
    if (c.ancho < a.minimo || c.ancho > a.maximo || c.alto < a.minimo || c.alto > a.maximo)
        return "El trazado no se puede usar: su caja de " + dcs::ConDecimales(c.ancho, 1) + " × " +
               dcs::ConDecimales(c.alto, 1) + " mm no es la de una lente.";
    m_trazado = trazado;
    m_a = std::round(c.ancho * 10) / 10;
    m_b = std::round(c.alto * 10) / 10;
    m_cambiado = true;
    return std::nullopt;
}

void FormularioTrabajo::QuitarTrazado()
{
    m_cambiado = m_cambiado || !m_trazado.empty();
    m_trazado.clear();
}

bool FormularioTrabajo::TieneOjos() const { return m_ojos[0].esfera || m_ojos[1].esfera; }

std::string FormularioTrabajo::Pedido() const
{
    dcs::Respuesta r;
    // A job not yet numbered is solved all the same; it is numbered before
    // it is stored, printed or sent.
    r.PonerUnico("JOB", m_numero.empty() ? "0" : m_numero);
    const bool derecho = m_ojos[0].esfera.has_value(), izquierdo = m_ojos[1].esfera.has_value();
    r.PonerUnico("DO", derecho && izquierdo ? "B" : derecho ? "R" : izquierdo ? "L" : "B");
    const auto ambos = [&](std::string_view etiqueta, const Valor& v) {
        for (const Lado lado : {Lado::Derecho, Lado::Izquierdo})
            if (v && m_ojos[static_cast<int>(lado)].esfera)
                r.Poner(etiqueta, lado, {*v});
    };
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo}) {
        const Ojo& o = m_ojos[static_cast<int>(lado)];
        if (!o.esfera)
            continue;
        const std::pair<std::string_view, const Valor&> valores[] = {
            {"SPH", o.esfera},      {"CYL", o.cilindro}, {"AX", o.eje},      {"PRVM", o.prisma},
            {"PRVA", o.basePrisma}, {"IPD", o.dp},       {"OCHT", o.altura},
        };
        for (const auto& [etiqueta, v] : valores)
            if (v)
                r.Poner(etiqueta, lado, {*v});
        if (m_indiceSolo)
            r.Poner("LIND", lado, {*m_indiceSolo});
        else if (!m_material.empty())
            r.PonerTexto("_MATERIAL", lado, m_material);
        r.Poner("_SEGURIDAD", lado, {static_cast<double>(m_seguridad)});
        r.Poner("TIND", lado, {kIndiceMolde});
        if (const Valor& curva = m_curva[static_cast<int>(lado)])
            r.Poner("MBASE", lado, {*curva});
        r.Poner("BVD", lado, {*m_vertice});
        r.Poner("PANTO", lado, {*m_pantoscopico});
        r.Poner("ZTILT", lado, {*m_envolvente});
        for (const auto& [etiqueta, textos] : m_conservados)
            if (dcs::BuscarEtiqueta(etiqueta)->forma != dcs::Forma::Unico && !textos[static_cast<int>(lado)].empty())
                r.PonerTexto(etiqueta, lado, textos[static_cast<int>(lado)]);
    }
    for (const auto& [etiqueta, textos] : m_conservados)
        if (dcs::BuscarEtiqueta(etiqueta)->forma == dcs::Forma::Unico && !textos[0].empty())
            r.PonerUnico(etiqueta, textos[0]);
    r.PonerUnico("ETYP", std::to_string(kEtyp[m_montura]));
    ambos("HBOX", m_a);
    ambos("VBOX", m_b);
    if (m_dbl)
        r.PonerUnico("DBL", dcs::ConDecimales(*m_dbl, 2));
    return r.Escribir() + m_trazado;
}

std::optional<std::string> FormularioTrabajo::Cargar(std::string_view texto, std::string& avisos,
                                                     MaterialesTrabajo* materiales, int formato)
{
    std::string error;
    const auto p = dcs::Pedido::Leer(texto, error, {formato, false});
    if (!p)
        return error;
    FormularioTrabajo nuevo;
    const auto aviso = [&](const std::string& a) {
        if (!a.empty() && avisos.find(a) == std::string::npos)
            avisos.append(avisos.empty() ? "" : "; ").append(a);
    };
    avisos.clear();
    std::array<std::string, 2> curvas;
    std::map<std::string_view, double> posicion;
    nuevo.m_numero = p->trabajo() == "0" ? std::string() : p->trabajo();
    const std::pair<Campo, std::string_view> deOjo[] = {
        {Campo::Esfera, "SPH"},      {Campo::Cilindro, "CYL"}, {Campo::Eje, "AX"},      {Campo::Prisma, "PRVM"},
        {Campo::BasePrisma, "PRVA"}, {Campo::Dp, "IPD"},       {Campo::Altura, "OCHT"},
    };
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo}) {
        aviso(p->errorDe(lado));
        if (!PideOjo(*p, lado))
            continue;
        for (const auto& [campo, etiqueta] : deOjo) {
            const dcs::Valor* v = p->Primero(etiqueta, lado);
            if (!v && campo == Campo::Dp)
                v = p->Primero("NPD", lado);
            if (v && v->numero)
                aviso(nuevo.Confirmar(campo, lado, dcs::ConDecimales(*v->numero, 2)).value_or(""));
        }
        const auto numeroDe = [&](std::string_view etiqueta) -> std::optional<double> {
            const dcs::Valor* v = p->Primero(etiqueta, lado);
            return v ? v->numero : std::nullopt;
        };
        // The material as the answerer finds it: by name, by class and index,
        // or the index alone; a name the catalogue lacks is kept as written.
        std::optional<double> indice = numeroDe("LIND");
        if (nuevo.m_material.empty() && !nuevo.m_indiceSolo) {
            FallaOjo falla;
            if (const auto m = MaterialDe(*p, lado, materiales, falla)) {
                indice = m->indice;
                if (m->material)
                    nuevo.m_material = m->material->nombre;
                else
                    nuevo.m_indiceSolo = m->indice;
            } else {
                const dcs::Valor* nombre = p->Primero("_MATERIAL", lado);
                nuevo.m_material = nombre ? nombre->texto : std::string();
                // A class code is no name to show.
                const dcs::Valor* tipo = p->Primero("LMATTYPE", lado);
                if (nuevo.m_material.empty() && tipo &&
                    (formato == dcs::kFormatoAnterior || !ClaseDeMaterial(tipo->texto)))
                    nuevo.m_material = tipo->texto;
                // Without a catalogue to ask, a name is kept as it is.
                if (materiales || nuevo.m_material.empty())
                    aviso(falla.mensaje);
            }
        }
        if (const auto etyp = numeroDe("ETYP")) {
            const auto it = std::find(std::begin(kEtyp), std::end(kEtyp), static_cast<int>(*etyp));
            if (it != std::end(kEtyp))
                nuevo.m_montura = static_cast<int>(it - std::begin(kEtyp));
            else
                aviso("La montura " + std::to_string(static_cast<int>(*etyp)) +
                      " no es completa, ranurada ni perforada; se deja completa");
        }
        if (const auto s = numeroDe("_SEGURIDAD"))
            nuevo.m_seguridad = static_cast<int>(*s);
        if (const auto base = BaseDelPedido(*p, lado, indice.value_or(0)))
            curvas[static_cast<int>(lado)] = dcs::ConDecimales(*base, 2);
        else if (numeroDe("FRNT"))
            aviso("La curva base del trabajo no se puede leer sin el índice del material");
        // One placement for the pair: the first eye's, and a word when the
        // other eye's differs.
        for (const auto& [campo, etiqueta] : kPosicion) {
            const auto v = numeroDe(etiqueta);
            if (!v)
                continue;
            if (!posicion.contains(etiqueta)) {
                posicion[etiqueta] = *v;
                aviso(nuevo.Confirmar(campo, lado, dcs::ConDecimales(*v, 2)).value_or(""));
            } else if (std::abs(posicion[etiqueta] - *v) > 1e-9) {
                aviso(std::string(caja(campo)->nombre) + " del ojo izquierdo (" + dcs::ConDecimales(*v, 2) +
                      ") no es la del derecho: se usa la del derecho");
            }
        }
        for (const auto& [campo, etiqueta] : {std::pair{Campo::A, "HBOX"}, {Campo::B, "VBOX"}})
            if (const auto v = numeroDe(etiqueta); v && !*nuevo.numero(campo, lado))
                aviso(nuevo.Confirmar(campo, lado, dcs::ConDecimales(*v, 2)).value_or(""));
        for (const Conservado& c : kConservados)
            if (dcs::BuscarEtiqueta(c.etiqueta)->forma != dcs::Forma::Unico)
                nuevo.conservar(*p, c.etiqueta, lado);
    }
    for (const Conservado& c : kConservados)
        if (dcs::BuscarEtiqueta(c.etiqueta)->forma == dcs::Forma::Unico)
            nuevo.conservar(*p, c.etiqueta, Lado::Derecho);
    if (!curvas[0].empty() || !curvas[1].empty()) {
        const std::string& d = curvas[0].empty() ? curvas[1] : curvas[0];
        const std::string& i = curvas[1].empty() ? curvas[0] : curvas[1];
        aviso(nuevo.Confirmar(Campo::Curva, Lado::Derecho, d == i ? d : d + " / " + i).value_or(""));
    }
    if (const dcs::Valor* dbl = p->Primero("DBL", Lado::Derecho); dbl && dbl->numero)
        aviso(nuevo.Confirmar(Campo::Dbl, Lado::Derecho, dcs::ConDecimales(*dbl->numero, 2)).value_or(""));
    if (!p->trazo().empty()) {
        const auto a = nuevo.m_a, b = nuevo.m_b;
        if (const auto problema = nuevo.CargarTrazado(p->trazo()))
            aviso(*problema);
        else if (a && b) {
            // The stored box is the job's own; the trace only fills it when
            // the job gave none.
            nuevo.m_a = a;
            nuevo.m_b = b;
        }
    }
    nuevo.m_cambiado = false;
    *this = std::move(nuevo);
    return std::nullopt;
}

// Keeps a request's value that no box holds, as the table writes it.
void FormularioTrabajo::conservar(const dcs::Pedido& p, std::string_view etiqueta, Lado lado)
{
    const dcs::Etiqueta& e = *dcs::BuscarEtiqueta(etiqueta);
    const dcs::Valor* v = p.Primero(etiqueta, lado);
    if (v && v->error.empty())
        m_conservados[std::string(etiqueta)][static_cast<int>(lado)] =
            v->numero ? dcs::ConDecimales(*v->numero, e.decimales) : v->texto;
}

std::string FormularioTrabajo::Conservados() const
{
    std::string texto;
    for (const Conservado& c : kConservados) {
        const auto it = m_conservados.find(c.etiqueta);
        if (c.nombre.empty() || it == m_conservados.end())
            continue;
        const auto& [derecho, izquierdo] = it->second;
        const bool unico = dcs::BuscarEtiqueta(c.etiqueta)->forma == dcs::Forma::Unico;
        const auto con = [&](const std::string& v) { return v.empty() ? std::string("—") : v + std::string(c.unidad); };
        texto.append(texto.empty() ? "" : "\n")
            .append(c.nombre)
            .append(": ")
            .append(unico ? con(derecho) : con(derecho) + " / " + con(izquierdo));
    }
    return texto;
}

} // namespace trabajos
