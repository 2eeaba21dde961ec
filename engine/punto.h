#pragma once

// Points of a lens in the standard frame (ISO 8429): the lens seen from the
// front, x to the right, y up, z along the optical axis from the front toward
// the eye, lengths in mm.
namespace lente {

struct Punto {
    double x = 0;
    double y = 0;
};

// A point or a direction in space.
struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator*(double k, const Vector3& a) { return {k * a.x, k * a.y, k * a.z}; }
// The dot product.
inline double Escalar(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

} // namespace lente
