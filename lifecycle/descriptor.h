#pragma once

#include <unistd.h>
#include <utility>

// An open file descriptor that is closed whatever path the code takes out of
// its scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Cerrar(); }

    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& otro) noexcept : m_fd(std::exchange(otro.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& otro) noexcept
    {
        if (this != &otro) {
            Cerrar();
            m_fd = std::exchange(otro.m_fd, -1);
        }
        return *this;
    }

    int fd() const { return m_fd; }
    bool abierto() const { return m_fd >= 0; }

    // Closes now; returns close()'s verdict, which on some file systems is the
    // first report of a write that did not reach the disk.
    bool Cerrar()
    {
        if (m_fd < 0)
            return true;
        return ::close(std::exchange(m_fd, -1)) == 0;
    }

private:
    int m_fd = -1;
};
