#include "Host.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tolvenk/Quernat.h"

namespace tolvenk::host {

namespace {

bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// A box's words as lines of a terminal: no carriage returns, no blank lines,
// no indent.
std::string asLines(const std::string& box) {
    std::string out, line;
    std::istringstream in(box);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos) out += line.substr(start) + "\n";
    }
    return out;
}

// Long enough for a server across a slow link to accept; the toolkit would
// wait no better.
constexpr int kConnectMillis = 5000;

bool connects(int family, const sockaddr* address, socklen_t length) {
    const int fd = socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool ok = connect(fd, address, length) == 0;
    // A local listener whose queue is full is there all the same.
    if (!ok && family == AF_UNIX && errno == EAGAIN) ok = true;
    if (!ok && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        ok = poll(&p, 1, kConnectMillis) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
             error == 0;
    }
    close(fd);
    return ok;
}

bool unixAnswers(long number) {
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    // The server's abstract socket first, as the X client library tries it,
    // then the file (a server in another namespace shares only the file).
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path + 1, path.data(), path.size());
    if (connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&a),
                 static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size())))
        return true;
    sockaddr_un f{};
    f.sun_family = AF_UNIX;
    std::memcpy(f.sun_path, path.data(), path.size());
    return connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&f), sizeof f);
}

bool tcpAnswers(std::string host, long number) {
    if (number > 65535 - 6000) return false;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(6000 + number).c_str(), &hints, &found) != 0) return false;
    bool ok = false;
    for (const addrinfo* a = found; a && !ok; a = a->ai_next) ok = connects(a->ai_family, a->ai_addr, a->ai_addrlen);
    freeaddrinfo(found);
    return ok;
}

}  // namespace

bool xServerAnswers(const std::string& display) {
    std::string rest = display, protocol;
    if (const std::size_t slash = rest.find('/'); slash != std::string::npos && slash > 0) {
        protocol = rest.substr(0, slash);
        rest = rest.substr(slash + 1);
    }
    const std::size_t colon = rest.rfind(':');
    if (rest.empty() || rest.front() == '/' || colon == std::string::npos) return true;
    const std::string host = rest.substr(0, colon);
    const std::string number = rest.substr(colon + 1, rest.find('.', colon) - colon - 1);
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos) return true;
    if (!host.empty() && host.back() == ':') return true;  // DECnet
    const long n = std::stol(number);
    if (protocol == "unix" || host.empty() || host == "unix") return unixAnswers(n);
    if (!protocol.empty() && protocol != "tcp" && protocol != "inet" && protocol != "inet6") return true;
    return tcpAnswers(host, n);
}

std::string noScreen() {
    if (named("QT_QPA_PLATFORM") || named("WAYLAND_DISPLAY")) return "";
    const std::string set = "set DISPLAY (or WAYLAND_DISPLAY) to a running display (QT_QPA_PLATFORM=offscreen is "
                            "for scripted runs and tests only: its window shows nowhere, so nobody can close it)\n";
    if (!named("DISPLAY")) return "tolvenk-host: no screen to show the window on: " + set;
    const std::string display = std::getenv("DISPLAY");
    if (xServerAnswers(display)) return "";
    return "tolvenk-host: no X server answers at DISPLAY=" + display + ": start one there, or " + set;
}

int run(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 3) {
        out << "usage: tolvenk-host <menu code;language;access code> <operator> "
               "<config folder;config file;password;;[money sign]>\n";
        return 2;
    }
    // Without one the toolkit would abort the process on its first window.
    if (const std::string why = noScreen(); !why.empty()) {
        out << why;
        return 3;
    }
    Quernat module;
    try {
        module.mnuLoad(args[0], args[1], args[2]);
    } catch (const TolvenkError& e) {
        out << "Error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
    // The module showed the operator a box and returned: the host's caller
    // is told as well.
    if (const std::string why = module.Open_Failure(); !why.empty()) {
        out << asLines(why);
        return 1;
    }
    return 0;
}

}  // namespace tolvenk::host
