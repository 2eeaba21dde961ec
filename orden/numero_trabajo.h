#pragma once

#include <QDateTime>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The job number that travels with the lens through the laboratory, printed
// on its ticket as text and as a Code 128 barcode.

// A reader scans a barcode of this many characters from a ticket's corner.
inline constexpr std::size_t kLargoMaximoTrabajo = 20;

// Why a job number (UTF-8) cannot go on a ticket, in Spanish and naming the
// first character at fault; nothing when it can. A number of blanks only
// would print no number at all. Code 128 carries ASCII; a
// control character would not read back from the paper either.
std::optional<std::string> ProblemaNumeroTrabajo(std::string_view numero);

// The number a ticket gets from the moment it is made: "VT-20261206-2130".
std::string NumeroTrabajoPorFecha(const QDateTime& momento);

// The date and time printed on a ticket: "06/12/2026 21:30".
std::string FechaHoraOrden(const QDateTime& momento);
