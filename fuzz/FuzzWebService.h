#pragma once
// The web service answered in-process. Include it in one file of a target only: it defines the
// client's HTTP exchange, so app/HttpClient.cpp is then not linked in. Every exchange gets the
// current reply at once, as the service's HTTP reply hands it over (status 200, the body as
// sent), and reaches the client's reading code unchanged. A real round trip to a fake service on
// a thread of its own cost two milliseconds a call, and that thread's allocations and frees fell
// into any input's count. A function HttpClient gains must be defined here too (the link then
// fails until it is).
#include "FakeWebService.h"
#include "app/HttpClient.h"

#include <QByteArray>

namespace fuzzclient {

// The reply every exchange gets.
inline QByteArray& serviceReply() {
    static QByteArray reply;
    return reply;
}

// A table of one row of zeros, which every window that reads the service loads without closing.
inline const QByteArray& quietReply() {
    static const QByteArray reply = [] {
        FakeWebService::Reply r;
        for (const char* c : {"Value", "AAPoints", "AATrained", "deck"}) r.columns.append({QString::fromLatin1(c), QStringLiteral("string")});
        r.rows = {{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QString()}};
        return FakeWebService::dataSetXml(r);
    }();
    return reply;
}

}  // namespace fuzzclient

namespace HttpClient {
HttpResponse post(const QString&, const QStringList&, const QByteArray&) {
    HttpResponse r;
    r.status = 200;
    r.body = fuzzclient::serviceReply();
    return r;
}

// No window fetches from the web site here; it is refused, as an unreachable one is.
HttpResponse get(const QString&) {
    HttpResponse r;
    r.error = QStringLiteral("Error: 7 - Couldn't connect to server");
    return r;
}

void setTimeouts(const HttpTimeouts&) {}
HttpTimeouts timeouts() { return {}; }
}  // namespace HttpClient
