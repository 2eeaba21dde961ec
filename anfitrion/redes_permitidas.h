#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <optional>
#include <string>
#include <vector>

// The networks whose devices may talk to the host; any other address is
// refused as soon as it connects.
class RedesPermitidas {
public:
    // "RED/BITS" each, as 192.168.1.0/24 or fd00::/8; a bare address is
    // that one machine. Nothing, with the reason, for one that is not.
    static std::optional<RedesPermitidas> Leer(const std::vector<std::string>& redes, std::string& error);
    // Loopback and the networks of the machine's own interfaces: the
    // laboratory's network, whatever it is numbered.
    static RedesPermitidas DeEstaMaquina();

    bool Admite(const QHostAddress& direccion) const;
    // For the log: "127.0.0.0/8, 192.168.1.0/24".
    std::string Describir() const;

private:
    QList<QPair<QHostAddress, int>> m_redes;
};

// An IPv4 client of a dual-stack socket arrives as ::ffff:a.b.c.d; it is
// checked and logged as the IPv4 address it is.
QHostAddress DireccionPropia(const QHostAddress& direccion);
