#include "escritura_lote.h"

#include "motivos.h"

#include <cerrno>
#include <unistd.h>

EscrituraEnLote::EscrituraEnLote(std::function<void(const std::filesystem::path&, const std::string&)> fallo)
    : m_fallo(std::move(fallo))
{
    m_pendientes.reserve(kTanda);
}

EscrituraEnLote::~EscrituraEnLote() { Confirmar(); }

bool EscrituraEnLote::Agregar(const std::filesystem::path& destino, std::string_view contenido, std::string& error)
{
    auto archivo = std::make_unique<ArchivoTemporal>(destino);
    // One look through each folder for what a killed run left: a look for
    // every file would read the whole folder once per file.
    const bool nueva = m_carpetas.insert(destino.parent_path()).second;
    if (!archivo->Crear(error, nueva ? ArchivoTemporal::Restos::DeLaCarpeta : ArchivoTemporal::Restos::Dejar) ||
        !archivo->Escribir(contenido, error))
        return false;
    m_pendientes.push_back({destino, std::move(archivo)});
    if (m_pendientes.size() >= kTanda)
        Confirmar();
    return true;
}

void EscrituraEnLote::Confirmar()
{
    if (m_pendientes.empty())
        return;
    // One flush for the whole batch: every temporary is on the disk before
    // any of them takes its target's name.
    if (::syncfs(m_pendientes.front().archivo->descriptor()) != 0) {
        const std::string motivo = MotivoSistema(errno);
        for (const Pendiente& p : m_pendientes)
            m_fallo(p.destino, motivo);
        m_pendientes.clear();
        return;
    }
    for (Pendiente& p : m_pendientes) {
        std::string error;
        if (!p.archivo->ConfirmarVolcado(error))
            m_fallo(p.destino, error);
    }
    // And one more for the renames, which live in the folders.
    ::syncfs(m_pendientes.front().archivo->carpeta());
    m_pendientes.clear();
}
