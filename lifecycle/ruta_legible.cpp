#include "ruta_legible.h"

#include <cstdint>

namespace {

// Length of the well-formed UTF-8 character at the start of the bytes, or 0
// when they do not start with one.
size_t largoUtf8(std::string_view b)
{
    const auto c0 = static_cast<std::uint8_t>(b[0]);
    if (c0 < 0x80)
        return 1;
    auto sig = [&](size_t i, std::uint8_t min = 0x80, std::uint8_t max = 0xBF) {
        if (i >= b.size())
            return false;
        const auto c = static_cast<std::uint8_t>(b[i]);
        return c >= min && c <= max;
    };
    // The second byte's range is what rules out overlong forms, surrogates
    // and code points past U+10FFFF.
    if (c0 >= 0xC2 && c0 <= 0xDF)
        return sig(1) ? 2 : 0;
    if (c0 == 0xE0)
        return sig(1, 0xA0) && sig(2) ? 3 : 0;
    if ((c0 >= 0xE1 && c0 <= 0xEC) || c0 == 0xEE || c0 == 0xEF)
        return sig(1) && sig(2) ? 3 : 0;
    if (c0 == 0xED)
        return sig(1, 0x80, 0x9F) && sig(2) ? 3 : 0;
    if (c0 == 0xF0)
        return sig(1, 0x90) && sig(2) && sig(3) ? 4 : 0;
    if (c0 >= 0xF1 && c0 <= 0xF3)
        return sig(1) && sig(2) && sig(3) ? 4 : 0;
    if (c0 == 0xF4)
        return sig(1, 0x80, 0x8F) && sig(2) && sig(3) ? 4 : 0;
    return 0;
}

} // namespace

bool EsUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        const size_t largo = largoUtf8(bytes);
        if (largo == 0)
            return false;
        bytes.remove_prefix(largo);
    }
    return true;
}

std::string TextoLegible(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string texto;
    texto.reserve(bytes.size());
    while (!bytes.empty()) {
        const size_t largo = largoUtf8(bytes);
        if (largo == 0) {
            const auto c = static_cast<std::uint8_t>(bytes[0]);
            texto += "\\x";
            texto += kHex[c >> 4];
            texto += kHex[c & 0xF];
            bytes.remove_prefix(1);
        } else {
            texto.append(bytes.substr(0, largo));
            bytes.remove_prefix(largo);
        }
    }
    return texto;
}
