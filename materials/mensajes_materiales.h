#pragma once

#include <string_view>

// Texts of the materials window and of the materials catalogue.
namespace mensajes_materiales {

inline constexpr std::string_view kTextoFaltanDatos =
    "Para indexar, modificar o editar los registros deben ingresarse los datos solicitados en cada "
    "uno de los campos del formulario. \n\r";
inline constexpr std::string_view kTituloFaltaNombre = "Falta nombre del producto.";
inline constexpr std::string_view kTituloSinMaterial = "No indica material";
inline constexpr std::string_view kTextoSinMaterial = "Debe seleccionar el material del producto. \n\r";
inline constexpr std::string_view kTituloAmbosMateriales = "Selección de material ambigua.";
inline constexpr std::string_view kTextoAmbosMateriales =
    "No puede seleccionar ambos materiales, opte por el correspondiente al producto seleccionado.\n\r";
inline constexpr std::string_view kTituloFaltaDescripcion = "Falta descripción del producto.";
inline constexpr std::string_view kTextoFaltaDescripcion = "Debe proporcionar la descripción técnica del producto.\n\r";
inline constexpr std::string_view kTituloFaltaUnDato = "Falta uno o mas datos";

inline constexpr std::string_view kTituloBorrar = "Atención.";
inline constexpr std::string_view kTextoBorrar = "   ¿Desea borrar el registro?";
inline constexpr std::string_view kTituloError = "Se ha producido un error.";

inline constexpr std::string_view kPreguntaBuscar = "¿Que producto desea buscar?";
inline constexpr std::string_view kTextoNoEncontrado = "No encuentro el nombre solicitado";

inline constexpr std::string_view kTituloSinProductos = "No hay productos";
inline constexpr std::string_view kTextoSinProductos =
    "La Base de Datos de Materiales no tiene productos. Agregue uno con \"Nuevo Producto\" antes de "
    "seleccionar.";
inline constexpr std::string_view kTituloDatosIncompletos = "Datos del producto incompletos";
inline constexpr std::string_view kTextoDatosIncompletos =
    "El producto mostrado no tiene nombre, índice de refracción y densidad válidos. Corríjalo con "
    "\"Edita Producto\" antes de seleccionarlo.";

inline constexpr std::string_view kTituloNombreLargo = "Nombre del producto demasiado largo";
inline constexpr std::string_view kTituloBusquedaLarga = "Texto de búsqueda demasiado largo";
inline constexpr std::string_view kTituloFaltaAbbe = "Falta el número de Abbe";
inline constexpr std::string_view kTituloBorradoEnOtroPuesto = "Producto borrado en otro puesto";

inline constexpr std::string_view kTituloBaseNoDisponible = "Base de Datos de Materiales no disponible";
inline constexpr std::string_view kTituloBaseDanada = "Base de Datos de Materiales dañada";

inline constexpr std::string_view kTituloEspesorMinimo = "Espesor central mínimo no válido";
inline constexpr std::string_view kTextoEspesorMinimo =
    "El espesor central mínimo debe ser un número mayor que 0 y menor que 20 mm.";

} // namespace mensajes_materiales
