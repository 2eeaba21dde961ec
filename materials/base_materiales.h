#pragma once

#include <QString>
#include <filesystem>

class Dialogos;

// The materials database file ("materiales.mdb" of the data folder), opened
// once per program run and shared by every cursor on it.
//
// main() builds one BaseMateriales and calls Abrir() once, before any window:
//
//     BaseMateriales base(carpeta.Archivo(CarpetaDatos::kMateriales));
//     base.Abrir(dialogos);                       // tells the user at most once
//     CatalogoSqlite catalogo(base);              // Data_Materiales: the design's look-ups
//     Form1_BaseMateriales materiales(base, estado, dialogos);   // Data1: the window
//
// Abrir() creates a missing file with the starter catalogue; an existing file
// must hold the materials table with its nine fields. A file that is not such
// a database is reported in one message box and is never written, replaced or
// repaired: every cursor made from this object then sees an empty table.
//
// Each cursor opens its own connection (ConexionMateriales) on the file; the
// BaseMateriales must outlive them all.
class BaseMateriales {
public:
    explicit BaseMateriales(const std::filesystem::path& archivo);

    // Returns whether the file can be used. The folder is expected to exist;
    // when it does not, the user is told and the table stays empty.
    bool Abrir(Dialogos& dialogos);

    bool disponible() const { return m_disponible; }
    const QString& archivo() const { return m_archivo; }

private:
    bool crear() const;
    bool esBaseDeMateriales() const;

    QString m_archivo;
    bool m_disponible = false;
};
