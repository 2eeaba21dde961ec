#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Icono { Ninguno, Critico, Exclamacion, Informacion };
enum class Botones { Aceptar, SiNo, SiNoCancelar };
enum class Respuesta { Aceptar, Si, No, Cancelar };

// Modal boxes, the input box and the beep. The windows implement it with Qt,
// the command-line calculator by printing, the tests by recording and
// answering from a queue. The engine only announces things through it and
// never depends on an answer.
class Dialogos {
public:
    virtual ~Dialogos() = default;

    virtual Respuesta Mensaje(std::string_view titulo, std::string_view texto, Icono icono,
                              Botones botones = Botones::Aceptar) = 0;

    // Returns the typed text, or nothing when the user cancels.
    virtual std::optional<std::string> PedirTexto(std::string_view pregunta, std::string_view titulo = {}) = 0;

    virtual void Beep() = 0;
};
