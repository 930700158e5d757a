#pragma once
// Sockets on this machine for the tests of what the host finds behind DISPLAY.
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace tolvenk::test {

// A socket listening until the object goes: on a loopback TCP port of the
// system's choosing (display number port - 6000 reaches it), or on a Linux
// abstract Unix socket by that name.
class Listener {
public:
    Listener() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&a), size) == 0 && listen(fd_, 4) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &size) == 0)
            port_ = ntohs(a.sin_port);
    }
    explicit Listener(const std::string& abstractName) {
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::memcpy(a.sun_path + 1, abstractName.data(), abstractName.size());
        const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());
        listening_ = bind(fd_, reinterpret_cast<sockaddr*>(&a), size) == 0 && listen(fd_, 4) == 0;
    }
    ~Listener() { close(fd_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int port() const { return port_; }
    bool listening() const { return listening_ || port_ > 0; }

private:
    int fd_ = -1;
    int port_ = 0;
    bool listening_ = false;
};

// A loopback TCP port that nothing listens on: one a listener had and gave
// back.
inline int closedPort() { return Listener().port(); }

}  // namespace tolvenk::test
