#include "archivos_diseno.h"
#include "controles.h"
#include "formatos.h"
#include "modificacion_diseno.h"
#include "registro_diseno.h"

#include <cerrno>
#include <cmath>
#include <sys/stat.h>

namespace {

std::string textoDanado(const std::filesystem::path& archivo, double registros)
{
    return "El archivo de fotos " + archivo.string() + " no está formado por registros enteros de 43 bytes (" +
           TextoPlano(registros) +
           " registros): está dañado. La foto no se grabó, para no sobrescribir parte del último registro.";
}

} // namespace

void ModificacionDiseno::SSCommand_Foto_Click()
{
    EstadoDiseno& e = m_estado;
    GrabarFoto(e.PoderExterno, e.PoderInterno, e.IndiceMaterial, e.DiametroModificado, e.EspesorBorde, e.EspesorCentral,
               e.PoderVertice, e.Densidad, e.NombreMaterial);
}

void ModificacionDiseno::GrabarFoto(Numero& PoderExterno, Numero& PoderInterno, Numero& IndiceMaterial,
                                    Numero& Diametro, Numero& EspesorBorde, Numero& EspesorCentral,
                                    Numero& PoderVertice, Numero& Densidad, std::string& NombreMaterial)
{
    const std::filesystem::path archivo = m_carpeta.Archivo(CarpetaDatos::kFotos);
    // The count comes from the file's length at every press.
    struct stat st {};
    const double largo = ::stat(archivo.c_str(), &st) == 0 ? static_cast<double>(st.st_size) : 0.0;
    const double registros = largo / RegistroDiseno::kLargo;
    const std::string cuenta = TextoPlano(registros);
    m_graficos.PonerTexto(ctlg::Text_DiamNroFoto, cuenta);
    m_graficos.PonerTexto(ctlg::Text_NNroFoto, cuenta);
    m_graficos.PonerTexto(ctlg::Text_BaseNroFoto, cuenta);

    // A file that is not whole records has lost bytes: writing at the
    // nearest record would overwrite part of the last snapshot.
    if (registros != std::floor(registros)) {
        m_dialogos.Mensaje(FallaArchivo::kTitulo, textoDanado(archivo, registros), Icono::Exclamacion);
        return;
    }
    const RegistroDiseno registro{PoderExterno,   PoderInterno, IndiceMaterial, Diametro,      EspesorBorde,
                                  EspesorCentral, PoderVertice, Densidad,       NombreMaterial};
    std::string error;
    if (!GrabarRegistro(archivo, registro, error)) {
        m_dialogos.Mensaje(FallaArchivo::kTitulo, FallaArchivo{archivo, error}.Texto(), Icono::Critico);
        return;
    }
    if (registros == 1)
        m_dialogos.Beep();
}
