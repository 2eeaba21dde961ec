// Mutates the example jobs (ours and real laboratory files) many thousands of
// times and runs each through the reader and the solver: every run must end
// in an answer a standard reader takes (ASCII records of at most 80
// characters, one STATUS, finite numbers or "?") or a refusal with a reason,
// within a time bound; the same request must always give the same bytes,
// whether its records end in CR LF, LF or CR.

#include "apoyo/material_trabajo_prueba.h"
#include "etiquetas_dcs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Pieces that hit the reader's edges: separators, unknown marks, numbers out
// of every range, words the format reserves; a blank separates them.
using namespace std::literals;
constexpr std::string_view kPiezas =
    "; ? = \n \r \" nan inf - 1e308 99999 0 -0.00 180 360.1 JOB= R= TRCFMT=1;3;E;L;F TRCFMT=4;3;E;R;F \0 .. "
    "ETYP= DO=L DO=N FED= LIND=1.2;2.5 CYL=-20;20 STHKFMT=1;3;E;R T= ZFMT= XSTATUS=R;1;x;W _MATERIAL=CR-39 "
    "LMATTYPE=1 LMATTYPE=3 MBASE=6 TIND=1.53 PTPRVM=1;2 PTPRVA=270 PTOK=0 FRNT=85.68 ADD=2 ZTILT=8"sv;

// One of the pieces, picked at random.
std::string_view pieza(std::mt19937& azar)
{
    std::vector<std::string_view> piezas;
    for (std::size_t desde = 0, fin = 0; fin != std::string_view::npos; desde = fin + 1)
        piezas.push_back(kPiezas.substr(desde, (fin = kPiezas.find(' ', desde)) - desde));
    return piezas[azar() % piezas.size()];
}

std::string mutar(std::string s, std::mt19937& azar)
{
    const int cambios = 1 + static_cast<int>(azar() % 4);
    for (int c = 0; c < cambios; ++c) {
        const std::size_t p = s.empty() ? 0 : azar() % s.size();
        switch (azar() % 6) {
        case 0:
            if (!s.empty())
                s[p] = static_cast<char>(azar() % 256);
            break;
        case 1:
            s.insert(p, pieza(azar));
            break;
        case 2:
            s.erase(p, azar() % 40);
            break;
        case 3: { // a line repeated elsewhere
            const std::size_t fin = s.find('\n', p);
            s.insert(azar() % (s.size() + 1), s.substr(p, fin == std::string::npos ? 0 : fin - p + 1));
            break;
        }
        case 4:
            if (!s.empty())
                s[p] = static_cast<char>('0' + azar() % 10);
            break;
        default: // a very long line
            s.insert(p, std::string(azar() % 5000, static_cast<char>('0' + azar() % 10)));
        }
    }
    return s;
}

// JOB, then one STATUS of digits; XSTATUS records are printable ASCII text;
// the figures are finite numbers or "?"; every record fits 80 characters.
bool respuestaSana(const std::string& r)
{
    if (!r.starts_with("JOB=") || r.find("\r\nSTATUS=") == std::string::npos)
        return false;
    for (std::size_t desde = 0; desde < r.size();) {
        const std::size_t fin = r.find("\r\n", desde);
        if (fin == std::string::npos || fin - desde > 80)
            return false;
        const std::string_view linea(r.data() + desde, fin - desde);
        const bool texto = linea.starts_with("JOB=") || linea.starts_with("XSTATUS=");
        if (texto
                ? std::any_of(linea.begin(), linea.end(), [](char c) { return c < 0x20 || c > 0x7e; })
                : linea.find_first_not_of(linea.starts_with("STATUS=")
                                              ? "STAU=0123456789"
                                              : "ABCDEFGHIJKLMNOPQRSTUVWXYZ_=0123456789.-;?") != std::string_view::npos)
            return false;
        desde = fin + 2;
    }
    return true;
}

// The same records ended otherwise: each CR LF as LF, or as CR.
std::string sinCrLf(std::string s, char fin)
{
    for (std::size_t p = 0; (p = s.find("\r\n", p)) != std::string::npos; ++p)
        s.replace(p, 2, 1, fin);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::vector<std::string> ejemplos;
    for (const auto& e : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream f(e.path(), std::ios::binary);
        std::ostringstream t;
        t << f.rdbuf();
        ejemplos.push_back(t.str());
    }
    if (ejemplos.empty())
        return 2;
    constexpr int kRondas = 20000;
    // Enough for the sanitizer build on a busy machine; the rounds done are
    // reported, so a slow run is seen, not hidden.
    constexpr auto kLimite = std::chrono::seconds(60);
    const auto inicio = std::chrono::steady_clock::now();
    std::mt19937 azar(20261207);
    UnMaterial materiales;
    int respuestas = 0, rechazos = 0, ronda = 0;
    for (; ronda < kRondas && std::chrono::steady_clock::now() - inicio < kLimite; ++ronda) {
        const std::string pedido = mutar(ejemplos[azar() % ejemplos.size()], azar);
        std::string error;
        const auto leido = dcs::Pedido::Leer(pedido, error);
        if (!leido) {
            if (error.empty()) {
                std::fprintf(stderr, "ronda %d: rechazo sin motivo\n", ronda);
                return 1;
            }
            ++rechazos;
            continue;
        }
        const std::string r = trabajos::Responder(*leido, &materiales).texto;
        const auto otraVez = [&](const std::string& texto) {
            const auto p = dcs::Pedido::Leer(texto, error);
            return p ? trabajos::Responder(*p, &materiales).texto : std::string();
        };
        // Only a request whose every record ends in CR LF is framed alike
        // the other ways: a lone CR before a CR LF would join the LF left.
        const auto n = [&](std::string_view x) {
            std::size_t veces = 0;
            for (std::size_t p = 0; (p = pedido.find(x, p)) != std::string::npos; p += x.size())
                ++veces;
            return veces;
        };
        const bool crlf = n("\r\n") == n("\r") && n("\r\n") == n("\n");
        if (!respuestaSana(r) || otraVez(pedido) != r ||
            (crlf && (otraVez(sinCrLf(pedido, '\n')) != r || otraVez(sinCrLf(pedido, '\r')) != r))) {
            std::fprintf(stderr, "ronda %d: respuesta no válida o distinta:\n%s\n", ronda, r.c_str());
            return 1;
        }
        ++respuestas;
    }
    std::printf("%d pedidos: %d respuestas, %d rechazos\n", ronda, respuestas, rechazos);
    return ronda >= 1000 ? 0 : 1;
}
