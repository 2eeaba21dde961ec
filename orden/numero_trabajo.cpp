#include "numero_trabajo.h"

#include "texto_qt.h"

#include <QString>

std::optional<std::string> ProblemaNumeroTrabajo(std::string_view numero)
{
    if (numero.find_first_not_of(' ') == std::string_view::npos)
        return "El número de trabajo no puede estar vacío ni ser solo espacios.";
    const QString texto = Q(numero);
    for (const char32_t c : texto.toUcs4()) {
        if (c >= 0x20 && c < 0x7F)
            continue;
        const QString codigo = QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QChar('0')).toUpper();
        const QString cual = c < 0x20 || c == 0x7F ? QStringLiteral("el carácter de control %1").arg(codigo)
                                                   : QStringLiteral("«%1» (%2)").arg(QString::fromUcs4(&c, 1), codigo);
        return S(QStringLiteral("El número de trabajo «%1» contiene %2, que el código de barras Code 128 no "
                                "puede llevar. Use letras sin acentos, cifras y signos ASCII.")
                     .arg(texto, cual));
    }
    if (static_cast<std::size_t>(texto.size()) > kLargoMaximoTrabajo)
        return S(QStringLiteral("El número de trabajo «%1» tiene %2 caracteres; admite hasta %3.")
                     .arg(texto, QString::number(texto.size()), QString::number(kLargoMaximoTrabajo)));
    return std::nullopt;
}

std::string NumeroTrabajoPorFecha(const QDateTime& momento)
{
    return S(QStringLiteral("VT-") + momento.toString(QStringLiteral("yyyyMMdd-HHmm")));
}

std::string FechaHoraOrden(const QDateTime& momento) { return S(momento.toString(QStringLiteral("dd/MM/yyyy HH:mm"))); }
