#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

// What the system reports about files and folders, told in Spanish and naming
// what is really there, for the messages the user reads.

// The reason behind an error number of the system, for any file operation.
std::string MotivoSistema(int numero);

// What stands at a name, from its file type: "una carpeta", "una tubería con
// nombre (FIFO)", "un enlace simbólico", ...
std::string DescribirTipo(mode_t modo);

enum class EstadoCarpeta { Lista, Falta, Inservible };

// Walks the folder's path from its root and stops at the first part that is
// not a folder. With `crear`, a missing part is made (and Falta never comes
// back). Otherwise the reason names the part: "falta «…»", "«…» es un
// archivo, no una carpeta", "no se pudo crear la carpeta «…»: …".
EstadoCarpeta RevisarCarpeta(const std::filesystem::path& carpeta, bool crear, std::string& motivo);
