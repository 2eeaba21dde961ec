#pragma once

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Jobs in the laboratory industry's data-communication format: records
// "LABEL=value", one a line, a value per eye written "right;left". One table
// says what each label holds, and the same table drives the reading and the
// writing, so adding a label is adding a row.
namespace dcs {

enum class Forma {
    Par, // "right;left", or one field that holds for both eyes
    Unico, // one value for the job
    Registros, // one record per value (XSTATUS)
};

enum class Clase { Numero, Entero, Texto, Trazo };

// Which way a label travels: read from a request, written in an answer, or
// both. A label read from neither side is skipped like an unknown one.
enum Sentido : unsigned { kPedido = 1, kRespuesta = 2, kAmbos = 3 };

struct Etiqueta {
    std::string_view nombre;
    Forma forma;
    Clase clase;
    int decimales; // as the industry writes it; numbers only
    double minimo; // the range a value read must lie in; numbers only
    double maximo;
    Sentido sentido;
};

// Every label Vantora reads or writes, in the order an answer writes them.
std::span<const Etiqueta> Etiquetas();
const Etiqueta* BuscarEtiqueta(std::string_view nombre);

inline constexpr std::size_t kPedidoMaximo = 1 << 20;
// An answer record is at most this long, as standard readers take it.
inline constexpr std::size_t kRegistroMaximo = 80;

// The rules a text was written by. Jobs stored by the earlier release are
// read with its rules: ETYP and STATUS one value an eye, FRNT at the 1.523
// tool index, LMATTYPE a product name.
inline constexpr int kFormatoAnterior = 1;
inline constexpr int kFormato = 2;

enum class Lado { Derecho = 0, Izquierdo = 1 };

// The standard's status codes.
enum class Estado {
    Respondido = 0,
    NoEncontrado = 1, // job not found
    General = 3, // anything else: a catalogue that cannot be reached
    NoProcesable = 4, // the values are read but admit no lens
    NumeroNoValido = 6, // invalid job number
    FaltaRegistro = 7, // a record the eye needs is absent
    FueraDeRango = 10, // a number outside its label's range
    PedidoNoValido = 16, // invalid REQ
    TrazoNoAdmitido = 17, // a trace format that cannot be read
    Formato = 18, // not a number, or the wrong number of fields
};

// Why an eye cannot be made: its status, the label at fault and the reason,
// in Spanish, without the label.
struct Falla {
    Estado estado = Estado::Respondido;
    std::string etiqueta;
    std::string motivo;
    bool Hay() const { return estado != Estado::Respondido; }
    // "LABEL: reason".
    std::string Texto() const { return etiqueta + ": " + motivo; }
};

// A value of one eye: present, and checked against its row, or the reason it
// was refused.
struct Valor {
    std::string texto;
    std::optional<double> numero;
    std::string error; // "LABEL: reason" when the value is bad
};

// What kind of text is read, and by which rules.
struct Lectura {
    int formato = kFormato;
    bool respuesta = false; // an answer Vantora wrote, not a request
};

// A request read record by record. The labels it uses are checked against
// the table; any other label is kept as plain text and never stops the job.
class Pedido {
public:
    // Nothing, with the reason, for a request that is not a job at all: more
    // than a megabyte, bytes that are not text, no JOB.
    static std::optional<Pedido> Leer(std::string_view texto, std::string& error, Lectura lectura = {});

    const std::string& trabajo() const { return m_trabajo; }
    int formato() const { return m_formato; }
    // The values of a label for an eye (a single label gives the same for
    // both); empty when the label is absent or the eye's value is "?".
    const std::vector<Valor>* Valores(std::string_view etiqueta, Lado lado) const;
    // The first value, when present.
    const Valor* Primero(std::string_view etiqueta, Lado lado) const;
    // The label has a record, even one whose fields are all empty.
    bool Tiene(std::string_view etiqueta) const { return m_valores.contains(etiqueta); }
    // The values of a label written one record each (XSTATUS), in order.
    const std::vector<std::string>& Registros(std::string_view etiqueta) const;
    // The trace records of format 1 (TRCFMT and R) on their own lines, the
    // others left blank, for the trace reader; empty when the request has
    // none.
    const std::string& trazo() const { return m_trazo; }
    // The TRCFMT value of the eye's side in a format Vantora cannot read;
    // empty when there is none.
    const std::string& trazoNoLeido(Lado lado) const { return m_trazoNoLeido[static_cast<int>(lado)]; }
    // Labels Vantora does not read, each with its first text.
    const std::map<std::string, std::string, std::less<>>& desconocidas() const { return m_desconocidas; }
    // The first bad value of a label for an eye, "LABEL: reason".
    std::string errorDe(Lado lado) const;
    const Falla& fallaDe(Lado lado) const { return m_fallas[static_cast<int>(lado)]; }

private:
    std::string m_trabajo;
    int m_formato = kFormato;
    std::map<std::string, std::array<std::vector<Valor>, 2>, std::less<>> m_valores;
    std::map<std::string, std::vector<std::string>, std::less<>> m_registros;
    std::map<std::string, std::string, std::less<>> m_desconocidas;
    std::string m_trazo;
    std::array<std::string, 2> m_trazoNoLeido;
    std::array<Falla, 2> m_fallas;
};

// An answer (or a request Vantora writes) under construction: per label,
// each eye's numbers or texts. An eye's field not given is written empty, or
// "?", the format's mark for an unknown value, for an eye marked unknown.
class Respuesta {
public:
    void Poner(std::string_view etiqueta, Lado lado, std::vector<double> numeros);
    void PonerTexto(std::string_view etiqueta, Lado lado, std::string texto);
    void PonerUnico(std::string_view etiqueta, std::string texto);
    // One more record of a label written one record each.
    void Agregar(std::string_view etiqueta, std::string texto);
    // The eye was asked for and has no lens: its fields are unknown.
    void Desconocido(Lado lado) { m_desconocido[static_cast<int>(lado)] = true; }
    // The records in table order with the industry's decimals, lines ended
    // by CR LF: the same answer always gives the same bytes.
    std::string Escribir() const;

private:
    struct Celda {
        std::vector<double> numeros;
        std::optional<std::string> texto;
    };
    std::map<std::string, std::array<Celda, 2>, std::less<>> m_celdas;
    std::map<std::string, std::vector<std::string>, std::less<>> m_registros;
    std::array<bool, 2> m_desconocido = {false, false};
};

// A job number becomes a file name and a key in the job store: letters,
// digits and - _ . up to 40, never a path.
bool NumeroDeTrabajoValido(std::string_view s);

// A number with a fixed count of decimals, halves away from zero, never "-0".
std::string ConDecimales(double x, int cifras);

// A text as a standard reader takes it: Spanish letters without their
// accents, anything else outside printable ASCII as "?", and the format's
// separator ";" as ",".
std::string Ascii(std::string_view texto);

} // namespace dcs
