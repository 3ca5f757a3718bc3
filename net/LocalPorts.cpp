#include "net/LocalPorts.h"

#include "platform/Services.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>

#include <cmath>
#include <unistd.h>

namespace {
// Draws that fall outside the range are cheap and do not count; this many refused ports do.
constexpr int kMaxRefusedPorts = 64;
// A random source that returns one value forever must not hang the client.
constexpr int kMaxDraws = 100000;
}  // namespace

int unprivilegedPortStart() {
    QFile f(QStringLiteral("/proc/sys/net/ipv4/ip_unprivileged_port_start"));
    if (f.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const int v = f.readAll().trimmed().toInt(&ok);
        if (ok && v >= 0) return v;
    }
    return 1024;
}

bool localPortUsable(int port) {
    if (port <= 0 || port > 65535) return false;
    if (port < unprivilegedPortStart() && ::geteuid() != 0) return false;
    // The same binding the socket control makes, tried and given back at once.
    QTcpSocket probe;
    const bool ok = probe.bind(QHostAddress::AnyIPv4, quint16(port),
                               QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
    probe.abort();
    return ok;
}

int drawLocalPort(int span, int low, int high, const std::function<bool(int)>& usable) {
    int refused = 0;
    for (int draws = 0; draws < kMaxDraws && refused < kMaxRefusedPorts; ++draws) {
        const int port = int(std::lround(services().random->Rnd() * span + 1));
        if (port < low || port > high) continue;
        if (usable(port)) return port;
        ++refused;
    }
    return 0;
}
