#include "formatos.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A finite double as 15 significant decimal digits: value = d0.d1d2… × 10^exponente.
struct Decimal {
    bool negativo = false;
    std::string digitos; // exactly 15 digits, d0 non-zero unless the value is 0
    int exponente = 0;
};

Decimal descomponer(double valor)
{
    Decimal d;
    d.negativo = std::signbit(valor) && valor != 0.0;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(valor));
    // buf: "d.dddddddddddddde±XX"
    d.digitos.reserve(15);
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digitos.push_back(*p);
    if (*p == 'e')
        d.exponente = std::atoi(p + 1);
    return d;
}

// |valor| × 10^decimales rounded half away from zero on its 15-digit decimal
// form, as a string of digits.
std::string escalarYRedondear(const Decimal& d, int decimales)
{
    const int conservar = d.exponente + decimales + 1;
    if (conservar < 0)
        return "0";
    if (conservar == 0)
        return d.digitos[0] >= '5' ? "1" : "0";
    std::string m;
    if (conservar <= static_cast<int>(d.digitos.size())) {
        m = d.digitos.substr(0, conservar);
        if (conservar < static_cast<int>(d.digitos.size()) && d.digitos[conservar] >= '5') {
            int i = static_cast<int>(m.size()) - 1;
            for (; i >= 0 && m[i] == '9'; --i)
                m[i] = '0';
            if (i < 0)
                m.insert(m.begin(), '1');
            else
                ++m[i];
        }
    } else {
        m = d.digitos + std::string(conservar - d.digitos.size(), '0');
    }
    return m;
}

std::string agrupar(const std::string& entero)
{
    std::string out;
    const int n = static_cast<int>(entero.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.push_back(',');
        out.push_back(entero[i]);
    }
    return out;
}

// Fixed-point text with the given decimals; the sign is "-" for a negative
// value that does not round to zero, or forced to "+" when asked.
std::string fijo(double valor, int decimales, bool miles, bool signoMas)
{
    if (!std::isfinite(valor))
        return {};
    const Decimal d = descomponer(valor);
    std::string m = escalarYRedondear(d, decimales);
    if (static_cast<int>(m.size()) < decimales + 1)
        m.insert(0, decimales + 1 - m.size(), '0');
    const bool cero = m.find_first_not_of('0') == std::string::npos;
    std::string entero = m.substr(0, m.size() - decimales);
    std::string texto;
    if (d.negativo && !cero)
        texto = "-";
    else if (signoMas)
        texto = "+";
    texto += miles ? agrupar(entero) : entero;
    if (decimales > 0)
        texto += "." + m.substr(m.size() - decimales);
    return texto;
}

} // namespace

double LeerNumero(std::string_view texto)
{
    size_t i = 0;
    while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t'))
        ++i;
    std::string numero;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) {
        if (texto[i] == '-')
            numero.push_back('-');
        ++i;
    }
    bool hayDigitos = false;
    bool hayPunto = false;
    for (; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c >= '0' && c <= '9') {
            numero.push_back(c);
            hayDigitos = true;
        } else if (c == '.' && !hayPunto) {
            numero.push_back(c);
            hayPunto = true;
        } else {
            break;
        }
    }
    if (!hayDigitos)
        return 0.0;
    double valor = 0.0;
    const auto [fin, error] = std::from_chars(numero.data(), numero.data() + numero.size(), valor);
    (void)fin;
    if (error != std::errc() || !std::isfinite(valor))
        return 0.0;
    return valor;
}

namespace {

// Plain decimal text of ±0.digitos × 10^(exponente+1), trailing zeros dropped.
std::string componer(bool negativo, std::string digitos, int e)
{
    digitos.erase(digitos.find_last_not_of('0') + 1);
    std::string texto = negativo ? "-" : "";
    const int n = static_cast<int>(digitos.size());
    if (e >= 15 || e < -5) {
        texto += digitos.substr(0, 1);
        if (n > 1)
            texto += "." + digitos.substr(1);
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        return texto + exp;
    }
    if (e < 0)
        return texto + "0." + std::string(-e - 1, '0') + digitos;
    if (n <= e + 1)
        return texto + digitos + std::string(e + 1 - n, '0');
    return texto + digitos.substr(0, e + 1) + "." + digitos.substr(e + 1);
}

} // namespace

std::string TextoPlano(double valor)
{
    if (!std::isfinite(valor))
        return {};
    if (valor == 0.0)
        return "0";
    const Decimal d = descomponer(valor);
    return componer(d.negativo, d.digitos, d.exponente);
}

std::string TextoPlanoSimple(float valor)
{
    if (!std::isfinite(valor))
        return {};
    if (valor == 0.0f)
        return "0";
    // The shortest digits that read back as the same single.
    char buf[32];
    const auto [fin, error] = std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::scientific);
    if (error != std::errc())
        return {};
    const std::string_view texto(buf, static_cast<size_t>(fin - buf));
    const size_t e = texto.find('e');
    std::string digitos;
    for (const char c : texto.substr(0, e))
        if (c != '.')
            digitos.push_back(c);
    return componer(valor < 0.0f, digitos, std::atoi(std::string(texto.substr(e + 1)).c_str()));
}

std::string TextoPlano(const Numero& valor) { return valor.definido() ? TextoPlano(valor.valor()) : std::string(); }

std::string Formato3(double valor) { return fijo(valor, 3, false, false); }

std::string FormatoMiles(double valor) { return fijo(valor, 2, true, false); }

// A negative value that rounds to zero shows as +0.00, as the box then holds zero.
std::string FormatoPoder(double valor) { return fijo(valor, 2, false, true); }

std::string FormatearPoder(std::string_view texto) { return FormatoPoder(LeerNumero(texto)); }
