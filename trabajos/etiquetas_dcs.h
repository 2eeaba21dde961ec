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
    Par, // "right;left"; a record with several values per eye lists the right eye's first
    Unico, // one value for the job
};

enum class Clase { Numero, Entero, Texto, Trazo };

struct Etiqueta {
    std::string_view nombre;
    Forma forma;
    Clase clase;
    int decimales; // as the industry writes it; numbers only
    double minimo; // the range a value read must lie in; numbers only
    double maximo;
};

// Every label Vantora reads or writes, in the order an answer writes them.
std::span<const Etiqueta> Etiquetas();
const Etiqueta* BuscarEtiqueta(std::string_view nombre);

inline constexpr std::size_t kPedidoMaximo = 1 << 20;

enum class Lado { Derecho = 0, Izquierdo = 1 };

// A value of one eye: present, and checked against its row, or the reason it
// was refused.
struct Valor {
    std::string texto;
    std::optional<double> numero;
    std::string error; // "LABEL: reason" when the value is bad
};

// A request read record by record. Known labels are checked against the
// table; an unknown label is kept as plain text and never stops the job.
class Pedido {
public:
    // Nothing, with the reason, for a request that is not a job at all: more
    // than a megabyte, bytes that are not text, no JOB.
    static std::optional<Pedido> Leer(std::string_view texto, std::string& error);

    const std::string& trabajo() const { return m_trabajo; }
    // The values of a label for an eye (a single label gives the same for
    // both); empty when the label is absent or the eye's value is "?".
    const std::vector<Valor>* Valores(std::string_view etiqueta, Lado lado) const;
    // The first value, when present.
    const Valor* Primero(std::string_view etiqueta, Lado lado) const;
    // The trace records (TRCFMT and R) on their own lines, the others left
    // blank, for the trace reader; empty when the request has none.
    const std::string& trazo() const { return m_trazo; }
    // Labels outside the table, each with its text.
    const std::map<std::string, std::string, std::less<>>& desconocidas() const { return m_desconocidas; }
    // The first bad value of a label for an eye, "LABEL: reason".
    const std::string& errorDe(Lado lado) const { return m_errores[static_cast<int>(lado)]; }

private:
    std::string m_trabajo;
    std::map<std::string, std::array<std::vector<Valor>, 2>, std::less<>> m_valores;
    std::map<std::string, std::string, std::less<>> m_desconocidas;
    std::string m_trazo;
    std::array<std::string, 2> m_errores;
};

// An answer under construction: per label, each eye's numbers or texts. A
// missing eye is written "?", the format's mark for an unknown value.
class Respuesta {
public:
    void Poner(std::string_view etiqueta, Lado lado, std::vector<double> numeros);
    void PonerTexto(std::string_view etiqueta, Lado lado, std::string texto);
    void PonerUnico(std::string_view etiqueta, std::string texto);
    // The records in table order with the industry's decimals, lines ended
    // by CR LF: the same answer always gives the same bytes.
    std::string Escribir() const;

private:
    struct Celda {
        std::vector<double> numeros;
        std::optional<std::string> texto;
    };
    std::map<std::string, std::array<Celda, 2>, std::less<>> m_celdas;
};

// A job number becomes a file name and a key in the job store: letters,
// digits and - _ . up to 40, never a path.
bool NumeroDeTrabajoValido(std::string_view s);

// A number with a fixed count of decimals, halves away from zero, never "-0".
std::string ConDecimales(double x, int cifras);

} // namespace dcs
