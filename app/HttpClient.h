#pragma once
// Blocking HTTP exchanges over libcurl, made on the UI thread: the web-service request and the
// version record. A dead or stalled peer is cut off by the connect and total timeouts, so the
// client cannot freeze for longer than the total timeout. No exception leaves these functions.
#include <QByteArray>
#include <QString>
#include <QStringList>

struct HttpResponse {
    long status = 0;   // the HTTP status, 0 when no reply came
    QByteArray body;   // the reply body, also for an error status
    QString error;     // "" exactly when a 2xx reply came; else "Error: <number> - <description>"
    bool ok() const { return error.isEmpty(); }
};

struct HttpTimeouts {
    int connectMs = 5000;
    int totalMs = 30000;
};

namespace HttpClient {
// headers: whole lines, "Name: value".
HttpResponse post(const QString& url, const QStringList& headers, const QByteArray& body);
HttpResponse get(const QString& url);

// The timeouts of every later exchange (tests shorten them).
void setTimeouts(const HttpTimeouts& timeouts);
HttpTimeouts timeouts();

// A reply larger than this is refused, so a peer cannot grow memory without bound.
constexpr qsizetype kMaxReplyBytes = 64 * 1024 * 1024;
}  // namespace HttpClient
