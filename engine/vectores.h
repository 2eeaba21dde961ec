#pragma once

#include "punto.h"

#include <cmath>

// Small fixed-size vectors and matrices for tracing rays through a lens: a
// point or direction in space (the lens model's own), a rotation, and the
// 2 × 2 matrices of a bundle's derivatives and of a dioptric power.
namespace vec {

using Vec3 = lente::Vector3;

inline double Dot(const Vec3& a, const Vec3& b) { return lente::Escalar(a, b); }
inline Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const Vec3& a) { return std::sqrt(Dot(a, a)); }

// A 3 × 3 matrix by rows.
struct Mat3 {
    Vec3 f[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Vec3 operator*(const Mat3& m, const Vec3& a) { return {Dot(m.f[0], a), Dot(m.f[1], a), Dot(m.f[2], a)}; }
inline Mat3 Transpose(const Mat3& m)
{
    return {{{m.f[0].x, m.f[1].x, m.f[2].x}, {m.f[0].y, m.f[1].y, m.f[2].y}, {m.f[0].z, m.f[1].z, m.f[2].z}}};
}
inline Mat3 operator*(const Mat3& a, const Mat3& b)
{
    const Mat3 bt = Transpose(b);
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        r.f[i] = {Dot(a.f[i], bt.f[0]), Dot(a.f[i], bt.f[1]), Dot(a.f[i], bt.f[2])};
    return r;
}

// A 2 × 2 matrix [[a, b], [c, d]].
struct Mat2 {
    double a = 0, b = 0, c = 0, d = 0;
};

inline Mat2 operator+(const Mat2& m, const Mat2& n) { return {m.a + n.a, m.b + n.b, m.c + n.c, m.d + n.d}; }
inline Mat2 operator-(const Mat2& m, const Mat2& n) { return {m.a - n.a, m.b - n.b, m.c - n.c, m.d - n.d}; }
inline Mat2 operator*(double k, const Mat2& m) { return {k * m.a, k * m.b, k * m.c, k * m.d}; }
inline Mat2 operator*(const Mat2& m, const Mat2& n)
{
    return {m.a * n.a + m.b * n.c, m.a * n.b + m.b * n.d, m.c * n.a + m.d * n.c, m.c * n.b + m.d * n.d};
}
inline double Det(const Mat2& m) { return m.a * m.d - m.b * m.c; }
inline Mat2 Symmetric(const Mat2& m)
{
    const double e = (m.b + m.c) / 2.0;
    return {m.a, e, e, m.d};
}

} // namespace vec
