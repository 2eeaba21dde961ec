#pragma once

// A 24-bit colour, valued red + 256·green + 65536·blue.
struct Color {
    int r = 0;
    int g = 0;
    int b = 0;

    constexpr int valor() const { return r + 256 * g + 65536 * b; }
    static constexpr Color DeValor(int v) { return {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF}; }
    friend constexpr bool operator==(Color, Color) = default;
};

inline constexpr Color kRojo{255, 0, 0};
