#pragma once
// Local ports the client connects from when it has to pick one itself (a retry after a failed
// connect, a reconnect). The old client drew them blindly; here a draw that the system would
// refuse to bind is drawn again.
#include <functional>

// The lowest port an ordinary user may bind (1024 unless the system says otherwise).
int unprivilegedPortStart();
// True when this process may bind the port now: not a privileged port it lacks the rights for,
// and not taken by another socket.
bool localPortUsable(int port);

// Draws round(Rnd * span + 1) until it lies in [low, high] and usable() accepts it. After a
// bounded number of draws that all fail it gives 0, which leaves the choice to the system.
int drawLocalPort(int span, int low, int high, const std::function<bool(int)>& usable = localPortUsable);
