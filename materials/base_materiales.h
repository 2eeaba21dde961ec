#pragma once

#include "ubicacion_catalogo.h"

#include <QSqlDatabase>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

class Dialogos;

// A message for the user about the catalogue: title and text.
struct Aviso {
    std::string titulo;
    std::string texto;
};

// The materials catalogue of this run: the SQLite file ("materiales.mdb" of
// the data folder unless another is chosen) or a database on a PostgreSQL
// server, opened once per program run and shared by every cursor on it.
//
// main() builds one BaseMateriales and calls Abrir() once, before any window:
//
//     BaseMateriales base(CatalogoDeArgumentos(argc, argv, carpeta, archivo));
//     base.Abrir(dialogos);                       // tells the user at most once
//     CatalogoSql catalogo(base);                 // Data_Materiales: the design's look-ups
//     Form1_BaseMateriales materiales(base, estado, dialogos);   // Data1: the window
//
// Abrir() creates a missing file, or the table missing from a server's
// database, with the starter catalogue; an existing table must have the nine
// fields. A catalogue that cannot be used is reported in one message and is
// never written, replaced or repaired, and no other catalogue is used in its
// place: every cursor made from this object then sees an empty table.
//
// Each cursor opens its own connection (ConexionMateriales); the
// BaseMateriales must outlive them all.
class BaseMateriales {
public:
    // What Preparar() does with a missing catalogue.
    enum class Alta { ConIniciales, Vacia, Ninguna };

    explicit BaseMateriales(UbicacionCatalogo ubicacion);
    explicit BaseMateriales(const std::filesystem::path& archivo);

    // Returns nothing when the catalogue can be used, else the message that
    // says why not. The folder of a file is expected to exist.
    std::optional<Aviso> Preparar(Alta alta = Alta::ConIniciales);
    // Preparar(), with its message shown; returns whether it can be used.
    bool Abrir(Dialogos& dialogos);

    bool disponible() const { return m_disponible; }
    const UbicacionCatalogo& ubicacion() const { return m_ubicacion; }
    // The file of a catalogue kept in a file; empty for a server.
    const QString& archivo() const { return m_ubicacion.archivo(); }
    // For messages, to follow "la Base de Datos de Materiales": the quoted
    // file name, or the database, server and user in parentheses; never the
    // password.
    const std::string& nombre() const { return m_nombre; }
    // Files made before the Abbe number could be left empty keep a table
    // that requires it.
    bool abbeObligatorio() const { return m_abbeObligatorio; }

    // A new connection of that name on the catalogue, set up but not opened.
    QSqlDatabase NuevaConexion(const QString& nombreConexion) const;

private:
    std::optional<Aviso> prepararArchivo(Alta alta);
    std::optional<Aviso> prepararServidor(Alta alta);
    std::optional<QString> crearArchivo(Alta alta) const;
    static void quitarCreacionesInterrumpidas(const std::filesystem::path& ruta);
    std::optional<Aviso> revisar(QSqlDatabase& bd);
    Aviso danada() const;

    UbicacionCatalogo m_ubicacion;
    std::string m_nombre;
    bool m_disponible = false;
    bool m_abbeObligatorio = false;
};
