#include "app/HttpClient.h"

#include <curl/curl.h>

#include <atomic>
#include <exception>

namespace {
std::atomic<int> g_connectMs{HttpTimeouts{}.connectMs};
std::atomic<int> g_totalMs{HttpTimeouts{}.totalMs};

bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

struct Sink {
    QByteArray* body;
    bool tooLarge = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t n = size * count;
    if (qsizetype(n) > HttpClient::kMaxReplyBytes - sink->body->size()) {
        sink->tooLarge = true;
        return 0;  // curl ends the transfer with a write error
    }
    sink->body->append(data, qsizetype(n));
    return n;
}

QString errorText(long number, const QString& description) {
    return QStringLiteral("Error: %1 - %2").arg(number).arg(description);
}

class EasyHandle {
public:
    EasyHandle() : m_curl(curl_easy_init()) {}
    ~EasyHandle() {
        if (m_headers) curl_slist_free_all(m_headers);
        if (m_curl) curl_easy_cleanup(m_curl);
    }
    EasyHandle(const EasyHandle&) = delete;
    EasyHandle& operator=(const EasyHandle&) = delete;
    CURL* get() const { return m_curl; }
    void addHeader(const QByteArray& line) {
        if (curl_slist* l = curl_slist_append(m_headers, line.constData())) m_headers = l;
    }
    curl_slist* headers() const { return m_headers; }

private:
    CURL* m_curl;
    curl_slist* m_headers = nullptr;
};

// postBody == nullptr makes a GET.
HttpResponse exchange(const QString& url, const QStringList& headers, const QByteArray* postBody) {
    HttpResponse r;
    if (!curlReady()) {
        r.error = errorText(CURLE_FAILED_INIT, QStringLiteral("HTTP library not available"));
        return r;
    }
    EasyHandle h;
    if (!h.get()) {
        r.error = errorText(CURLE_FAILED_INIT, QStringLiteral("HTTP library not available"));
        return r;
    }
    CURL* c = h.get();
    const QByteArray u = url.toUtf8();
    char detail[CURL_ERROR_SIZE] = {};
    Sink sink{&r.body};
    curl_easy_setopt(c, CURLOPT_URL, u.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(g_connectMs.load()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(g_totalMs.load()));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    for (const QString& line : headers) h.addHeader(line.toUtf8());
    if (postBody) {
        // No "Expect: 100-continue" round trip before the body.
        h.addHeader("Expect:");
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->constData());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(postBody->size()));
    } else {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    }
    if (h.headers()) curl_easy_setopt(c, CURLOPT_HTTPHEADER, h.headers());

    const CURLcode code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &r.status);
    if (code != CURLE_OK) {
        QString text = detail[0] ? QString::fromLocal8Bit(detail) : QString::fromLatin1(curl_easy_strerror(code));
        if (sink.tooLarge) text = QStringLiteral("Reply too large");
        r.error = errorText(long(code), text);
        r.body.clear();
        r.status = 0;
    } else if (r.status < 200 || r.status > 299) {
        r.error = errorText(r.status, QStringLiteral("HTTP status %1").arg(r.status));
    }
    return r;
}

HttpResponse guardedExchange(const QString& url, const QStringList& headers, const QByteArray* postBody) {
    try {
        return exchange(url, headers, postBody);
    } catch (const std::exception& e) {
        HttpResponse r;
        r.error = errorText(-1, QString::fromLocal8Bit(e.what()));
        return r;
    }
}
}  // namespace

namespace HttpClient {
HttpResponse post(const QString& url, const QStringList& headers, const QByteArray& body) {
    return guardedExchange(url, headers, &body);
}

HttpResponse get(const QString& url) { return guardedExchange(url, {}, nullptr); }

void setTimeouts(const HttpTimeouts& t) {
    g_connectMs = t.connectMs > 0 ? t.connectMs : HttpTimeouts{}.connectMs;
    g_totalMs = t.totalMs > 0 ? t.totalMs : HttpTimeouts{}.totalMs;
}

HttpTimeouts timeouts() { return {g_connectMs.load(), g_totalMs.load()}; }
}  // namespace HttpClient
