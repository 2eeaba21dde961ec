#include "redes_permitidas.h"

#include <QNetworkInterface>

std::optional<RedesPermitidas> RedesPermitidas::Leer(const std::vector<std::string>& redes, std::string& error)
{
    RedesPermitidas r;
    for (const std::string& texto : redes) {
        const QString red = QString::fromStdString(texto);
        QPair<QHostAddress, int> subred = QHostAddress::parseSubnet(red);
        if (!red.contains(u'/')) {
            const QHostAddress una(red);
            subred = {una, una.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128};
        }
        if (subred.first.isNull() || subred.second < 0) {
            error = "--permitir: \"" + texto + "\" no es una red RED/BITS (por ejemplo 192.168.1.0/24)";
            return std::nullopt;
        }
        r.m_redes.append(subred);
    }
    return r;
}

RedesPermitidas RedesPermitidas::DeEstaMaquina()
{
    RedesPermitidas r;
    r.m_redes = {QHostAddress::parseSubnet(QStringLiteral("127.0.0.0/8")), {QHostAddress::LocalHostIPv6, 128}};
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        if (!(i.flags() & QNetworkInterface::IsUp) || (i.flags() & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.prefixLength() >= 0) {
                QHostAddress ip = e.ip();
                ip.setScopeId({});
                r.m_redes.append({ip, e.prefixLength()});
            }
    }
    return r;
}

bool RedesPermitidas::Admite(const QHostAddress& direccion) const
{
    const QHostAddress d = DireccionPropia(direccion);
    for (const auto& red : m_redes)
        if (d.isInSubnet(red))
            return true;
    return false;
}

std::string RedesPermitidas::Describir() const
{
    std::string s;
    for (const auto& [red, bits] : m_redes) {
        // The network's own address, not the interface's.
        const QString nombre =
            QHostAddress::parseSubnet(red.toString() + u'/' + QString::number(bits)).first.toString();
        s += (s.empty() ? "" : ", ") + nombre.toStdString() + "/" + std::to_string(bits);
    }
    return s;
}

QHostAddress DireccionPropia(const QHostAddress& direccion)
{
    bool v4 = false;
    const quint32 ip = direccion.toIPv4Address(&v4);
    return v4 ? QHostAddress(ip) : direccion;
}
