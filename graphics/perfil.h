#pragma once

#include "carpeta_datos.h"
#include "dialogos.h"
#include "estado_diseno.h"
#include "geometria_perfil.h"
#include "lienzo.h"
#include "pantalla.h"
#include "registro_diseno.h"

#include <filesystem>
#include <optional>

// The lens in cross-section and front view on the graphics window: the
// design saved in DATA.DAT, drawn with its weight, thickness and diameter,
// and a design varied on the window, redrawn from its values. Both write the
// graphics window's boxes through its Pantalla and draw on its Lienzo; a
// drawing that cannot be made sends the user back to the design window.
class Perfil {
public:
    // The box beside Text1 that gives the varied design's back radius in
    // millimetres: Text1 gives it in the drawing's units.
    static constexpr std::string_view kRadioPosterior = "Text_RadioPosterior";

    Perfil(EstadoDiseno& estado, Lienzo& lienzo, Pantalla& frmGraficos, Pantalla& frmVantora, Dialogos& dialogos,
           const CarpetaDatos& carpeta);

    // Draws another file of design records instead of DATA.DAT; with a
    // record number, only that record, as if it were the first.
    void UsarArchivo(std::filesystem::path archivo, std::optional<int> registro = std::nullopt);

    // The saved design: at most two records, the first filled. The
    // calibration comes from MONITOR.DAT into the three arguments. Returns
    // whether a lens was drawn.
    bool DibujarPerfil(Numero& EscalaHorizontal, Numero& EscalaVertical, Numero& AspectoPantalla);

    // A design varied with the scroll bars, from its values. Zero scales take
    // the defaults 1.5 and 1.62 and are written back.
    bool RedibujarPerfil(Numero& PoderExterno, Numero& PoderInterno, Numero& IndiceMaterial, Numero& EspesorCentral,
                         Numero& PoderVertice, Numero& Diametro, Numero& Densidad, Numero& EscalaHorizontal,
                         Numero& EscalaVertical, Numero& AspectoPantalla);

    // The lens the last drawing left on the surface: its diameter, how its
    // faces were drawn, and its record when it came from a file. Nothing
    // while the surface shows no lens.
    struct Dibujo {
        double diametro = 0;
        Pisos pisos = Pisos::Guardado;
        std::optional<RegistroDiseno> registro;
    };
    const std::optional<Dibujo>& UltimoDibujo() const { return m_ultimo; }
    // Whether the last drawing refused a file (a damaged record, an unusable
    // calibration) and told the user so.
    bool Rechazo() const { return m_rechazo; }

private:
    struct Lectura;
    Lectura leerDiseno() const;
    void recuperarDibujo();
    bool revisarArchivos();
    void rechazar(std::string_view titulo, const std::string& texto);
    void arcosFrontales(const Trazado& z, Color c, double aspecto);
    void arcosPosteriores(const Trazado& z, Color c, double aspecto);
    void caras(const Trazado& z, double aspecto, Color c);
    void rellenar(int x, Color borde);
    void vistaFrontal(const Trazado& z, Color c, double ex, double ey, double aspecto);

    EstadoDiseno& m_estado;
    Lienzo& m_lienzo;
    Pantalla& m_graficos;
    Pantalla& m_diseno;
    Dialogos& m_dialogos;
    const CarpetaDatos& m_carpeta;
    std::optional<std::filesystem::path> m_archivo;
    std::optional<int> m_registro;
    std::optional<Dibujo> m_ultimo;
    bool m_rechazo = false;
};
