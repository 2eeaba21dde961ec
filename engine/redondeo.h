#pragma once

// Rounding to two (one) decimals with halves away from zero, computed as the
// laboratory tables do: Fix(x · 100 + Sgn(x) · 0.5) / 100.
double Redondear2(double x);
double Redondear1(double x);
