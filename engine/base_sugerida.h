#pragma once

// The base curve (D at 1.523) suggested for a plus power fv (D) on a
// diameter in mm, in quarter dioptres and never below one quarter. A
// diameter the prescription's own sphere cannot span is cut one millimetre
// smaller: diametroM is the diameter used, in metres. Impossible numbers
// (a zero power, a semi-diameter beyond a radius) throw numerico::Falla.
struct SugerenciaBase {
    double base = 0;
    double diametroM = 0;
    bool recortado = false;
};
SugerenciaBase SugerenciaBasePositiva(double fv, double n, double diametroMm);
