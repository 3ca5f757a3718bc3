#include "app/clsXML.h"

#include "app/DataSetBuilder.h"
#include "app/Deployment.h"
#include "app/storedvars.h"

#include <QXmlStreamReader>

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace {
const QString kServicePath = QStringLiteral("/RookfellWebService/RookfellWebService.asmx");

constexpr std::string_view kXsd = "http://www.w3.org/2001/XMLSchema";
// What entities may add to a reply beyond a few times its length (the service sends none).
constexpr qsizetype kEntityExpansion = 8 * 1024 * 1024;

const char* chars(const xmlChar* s) { return reinterpret_cast<const char*>(s); }
bool isXsd(const xmlChar* uri) { return uri && chars(uri) == kXsd; }

// A reply names no outside file the client would read: an external entity or subset reads as
// empty, as if it were not read at all.
xmlParserInputPtr noExternalEntity(const char*, const char*, xmlParserCtxtPtr ctxt) {
    return ctxt ? xmlNewStringInputStream(ctxt, reinterpret_cast<const xmlChar*>("")) : nullptr;
}

// Faults the library tells outside any context (a byte the declared encoding does not
// decode, say), kept for the reading on this thread to word its failure with.
thread_local std::string t_untold;

void untold(void*, const char* format, ...) {
    if (t_untold.size() > 512) return;
    char part[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(part, sizeof part, format, args);
    va_end(args);
    if (n > 0) t_untold.append(part, size_t(qMin(n, int(sizeof part) - 1)));
}

void initLibxml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(noExternalEntity);
        // Nesting costs the parser no stack, only a pointer a level: the reply's size bounds it.
        xmlParserMaxDepth = 1u << 24;
        xmlThrDefSetGenericErrorFunc(nullptr, untold);
    });
    xmlSetGenericErrorFunc(nullptr, untold);  // this thread's: faults are told in the result
    t_untold.clear();
}

// One libxml2 SAX pass with namespaces resolved, entities expanded, nothing fetched and nothing
// printed.
class LibxmlReading {
public:
    // utf8: the bytes are UTF-8 whatever the reply declares.
    LibxmlReading(bool utf8, qsizetype inputSize)
        : m_utf8(utf8), m_expansionLeft(4 * inputSize + kEntityExpansion), m_builder(inputSize) {
        initLibxml();
        xmlSAXVersion(&m_sax, 2);
        m_sax.startDocument = onStartDocument;
        m_sax.entityDecl = onEntityDecl;
        m_sax.getEntity = onGetEntity;
        m_sax.getParameterEntity = onGetParameterEntity;
        m_sax.startElementNs = onStart;
        m_sax.endElementNs = onEnd;
        m_sax.characters = m_sax.ignorableWhitespace = m_sax.cdataBlock = onCharacters;
        m_sax.startElement = nullptr;
        m_sax.endElement = nullptr;
        m_sax.reference = nullptr;
        m_sax.comment = nullptr;
        m_sax.processingInstruction = nullptr;
        m_sax.warning = nullptr;
        m_sax.error = nullptr;
        m_sax.fatalError = nullptr;
        m_sax.serror = onError;
    }
    ~LibxmlReading() {
        if (!m_ctxt) return;
        if (m_ctxt->myDoc) xmlFreeDoc(m_ctxt->myDoc);
        xmlFreeParserCtxt(m_ctxt);
    }
    LibxmlReading(const LibxmlReading&) = delete;
    LibxmlReading& operator=(const LibxmlReading&) = delete;

    // The set, or a failed empty one; errorText phrases a reply that is not well-formed.
    template <class ErrorText>
    RecordSet read(const QByteArray& bytes, ErrorText&& errorText) {
        // One call over the whole reply where the parser takes its length in one int; beyond that
        // it is pushed in parts, a reply's first bytes first so that its encoding is told from them.
        constexpr qsizetype kChunk = 1 << 30;
        const bool whole = !bytes.isEmpty() && bytes.size() <= kChunk;
        const int head = m_utf8 ? 0 : int(qMin<qsizetype>(bytes.size(), 4));
        m_ctxt = whole ? xmlCreateMemoryParserCtxt(bytes.constData(), int(bytes.size()))
                       : xmlCreatePushParserCtxt(nullptr, nullptr, bytes.constData(), head, nullptr);
        if (!m_ctxt || !m_ctxt->sax) return RecordSet::failure(QStringLiteral("Error: -2 - out of memory"));
        // The library's own handlers take the context as their data, so this reading rides on it.
        *m_ctxt->sax = m_sax;
        m_ctxt->userData = m_ctxt;
        m_ctxt->_private = this;
        xmlCtxtUseOptions(m_ctxt, XML_PARSE_NOENT | XML_PARSE_NONET | (m_utf8 ? XML_PARSE_IGNORE_ENC : 0));
        if (m_utf8) {
            xmlSwitchEncoding(m_ctxt, XML_CHAR_ENCODING_UTF8);
            // A named encoding keeps the parser from guessing another from the first bytes.
            if (!m_ctxt->encoding) m_ctxt->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));
        }
        if (whole) {
            if (xmlParseDocument(m_ctxt) != 0) m_failed = true;
        } else {
            for (qsizetype at = head; !m_failed;) {  // a part of at most kChunk bytes a call
                const qsizetype n = qMin(bytes.size() - at, kChunk);
                const bool last = at + n == bytes.size();
                if (xmlParseChunk(m_ctxt, bytes.constData() + at, int(n), last) != 0) m_failed = true;
                at += n;
                if (last) break;
            }
        }
        // Bytes the declared encoding cannot decode end the input, after the root element too, and
        // a character cut off at the end is left undecoded.
        const xmlParserInputPtr in = m_ctxt->input;
        if (in && in->buf && (in->buf->error || (in->buf->raw && xmlBufUse(in->buf->raw) > 0))) {
            m_failed = true;
            takeUntold();
            if (m_why.isEmpty()) m_why = QStringLiteral("input conversion failed due to input error");
        }
        if (!m_ctxt->wellFormed) m_failed = true;
        if (m_builder.tooLarge() || m_expansionLeft < 0)
            return RecordSet::failure(QStringLiteral("Error: -3 - The data set is too large"));
        if (m_failed) {
            const QString text = errorText();
            if (!text.isEmpty()) return RecordSet::failure(text);
            takeUntold();
            if (m_why.isEmpty()) {
                const xmlError* e = xmlCtxtGetLastError(m_ctxt);
                m_why = e && e->message ? QString::fromUtf8(e->message).trimmed() : QStringLiteral("not well-formed");
                m_line = e ? e->line : 0;
            }
            return RecordSet::failure(QStringLiteral("Error: -2 - %1 (line %2)").arg(m_why).arg(m_line));
        }
        return m_builder.take();
    }

private:
    // The reading behind a context: the reply's own, or one an entity's text is parsed in.
    static LibxmlReading* reading(void* data) {
        return data ? static_cast<LibxmlReading*>(static_cast<xmlParserCtxtPtr>(data)->_private) : nullptr;
    }
    // The same, while it has not failed.
    static LibxmlReading* self(void* data) {
        LibxmlReading* r = reading(data);
        return r && !r->m_failed ? r : nullptr;
    }
    // The reading ends here. The parser is told to stop where it stands, not halted: halting
    // frees the input it is still reading from inside a callback.
    static void fail(void* data, LibxmlReading* r) {
        r->m_failed = true;
        for (xmlParserCtxtPtr c : {static_cast<xmlParserCtxtPtr>(data), r->m_ctxt}) {
            c->disableSAX = 1;  // an entity's context, or the reply's
            c->instate = XML_PARSER_EOF;
        }
    }
    // Spends n of what entities and attribute defaults may add; past it the reading fails.
    bool pay(void* data, qsizetype n) {
        if ((m_expansionLeft -= n) >= 0) return true;
        fail(data, this);
        return false;
    }
    // Every reference to an entity is paid for by its length: text, attribute values and markup
    // that entities make cannot grow far past the reply.
    static xmlEntityPtr charged(void* data, xmlEntityPtr entity) {
        LibxmlReading* r = reading(data);
        if (!r || !entity) return entity;
        // An entity's context between the one that failed and the reply's is stopped here.
        if (r->m_failed)
            fail(data, r);
        else
            r->pay(data, entity->length);
        return entity;
    }
    static xmlEntityPtr onGetEntity(void* data, const xmlChar* name) { return charged(data, xmlSAX2GetEntity(data, name)); }
    static xmlEntityPtr onGetParameterEntity(void* data, const xmlChar* name) {
        return charged(data, xmlSAX2GetParameterEntity(data, name));
    }
    // Only XML 1.0 is read, as the client always has.
    static void onStartDocument(void* data) {
        LibxmlReading* r = self(data);
        if (!r || data != r->m_ctxt) return;
        if (r->m_ctxt->version && std::strcmp(chars(r->m_ctxt->version), "1.0") != 0) return fail(data, r);
        xmlSAX2StartDocument(data);  // holds the declarations of an internal subset
    }
    static void onStart(void* data, const xmlChar* local, const xmlChar*, const xmlChar* uri, int, const xmlChar**,
                        int attributeCount, int defaulted, const xmlChar** attributes) {
        LibxmlReading* r = self(data);
        if (!r) return;
        // Attribute defaults the reply declares once are copied onto every element: paid for each time.
        for (int i = qMax(0, attributeCount - defaulted); i < attributeCount; ++i)
            if (!r->pay(data, attributes[5 * i + 4] - attributes[5 * i + 3])) return;
        // Each attribute is five pointers: local name, prefix, URI, value, end of the value.
        auto attr = [attributes, attributeCount](const char* wanted) -> std::string_view {
            for (int i = 0; i < attributeCount; ++i) {
                const xmlChar* const* a = attributes + 5 * i;
                if (!a[1] && std::strcmp(chars(a[0]), wanted) == 0) return {chars(a[3]), size_t(a[4] - a[3])};
            }
            return {};
        };
        const xmlParserInputPtr in = r->m_ctxt->input;
        const qint64 offset = in ? qint64(in->consumed) + (in->cur - in->base) : 0;
        if (!r->m_builder.startElement(isXsd(uri), chars(local), attr, offset)) fail(data, r);
    }
    static void onEnd(void* data, const xmlChar* local, const xmlChar*, const xmlChar* uri) {
        LibxmlReading* r = self(data);
        if (r) r->m_builder.endElement(isXsd(uri) && std::strcmp(chars(local), "element") == 0);
    }
    static void onCharacters(void* data, const xmlChar* text, int length) {
        LibxmlReading* r = self(data);
        if (r) r->m_builder.characters(chars(text), length);
    }
    // A namespace fault (an unbound prefix, say) is as fatal as a syntax error. Other errors are
    // not faults of form: an undeclared entity where an unread outside subset may declare it, a
    // namespace name that is not a well-formed URI. The first fault is the one told.
    static bool isFault(const xmlError& e) {
        if (e.level == XML_ERR_FATAL) return true;
        return e.level == XML_ERR_ERROR && e.domain == XML_FROM_NAMESPACE && e.code != XML_WAR_NS_URI &&
               e.code != XML_WAR_NS_URI_RELATIVE && e.code != XML_WAR_NS_COLUMN;
    }
    static void onError(void* data, xmlErrorPtr error) {
        LibxmlReading* r = self(data);
        if (!r || !error || !isFault(*error)) return;
        r->m_line = error->line;
        r->takeUntold();
        if (r->m_why.isEmpty()) r->m_why = error->message ? QString::fromUtf8(error->message).trimmed() : QString();
        fail(data, r);
    }
    // An outside entity keeps its kind but not its address, which is never looked at (a stat of a
    // path the reply names could hang on a dead mount).
    static void onEntityDecl(void* data, const xmlChar* name, int type, const xmlChar* publicId, const xmlChar* systemId,
                             xmlChar* content) {
        const bool outside = type == XML_EXTERNAL_GENERAL_PARSED_ENTITY || type == XML_EXTERNAL_PARAMETER_ENTITY;
        xmlSAX2EntityDecl(data, name, type, outside ? nullptr : publicId,
                          outside ? reinterpret_cast<const xmlChar*>("file:///") : systemId, content);
    }
    // A fault told outside the context came first: it is the one to tell.
    void takeUntold() {
        if (m_why.isEmpty() && !t_untold.empty())
            m_why = QString::fromUtf8(t_untold.data(), qsizetype(t_untold.size())).section(QLatin1Char('\n'), 0, 0).trimmed();
    }

    const bool m_utf8;
    xmlSAXHandler m_sax{};
    xmlParserCtxtPtr m_ctxt = nullptr;
    bool m_failed = false;
    qsizetype m_expansionLeft;  // what entities may still add
    QString m_why;  // the first fault of form, as the library words it
    int m_line = 0;
    DataSetBuilder m_builder;
};

// A reply that is not well-formed is phrased as the client has always phrased it.
template <class Input>
QString phrasedError(const Input& reply) {
    QXmlStreamReader xml(reply);
    while (!xml.atEnd()) xml.readNext();
    if (!xml.hasError()) return {};
    return QStringLiteral("Error: -2 - %1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber());
}
}  // namespace

RecordSet ParseDataSetReply(const QByteArray& reply) {
    return LibxmlReading(false, reply.size()).read(reply, [&] { return phrasedError(reply); });
}

RecordSet ParseDataSetText(const QString& reply) {
    return LibxmlReading(true, reply.size()).read(reply.toUtf8(), [&] { return phrasedError(reply); });
}

QString GetDataRequest(const QString& command64, const QString& key64) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                          "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                          " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
                          " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                          "<soap:Body>") +
           QStringLiteral("<GetData xmlns=\"") + Deployment::serviceNamespace() + QStringLiteral("\">") +
           QStringLiteral("<sCommand>") + command64 + QStringLiteral("</sCommand>") + QStringLiteral("<sKey>") + key64 +
           QStringLiteral("</sKey>") + QStringLiteral("</GetData></soap:Body></soap:Envelope>");
}

void clsXML::RookfellWebService(QString& command, QString& key, RecordSet& rs) {
    command = Crypt().Encode(command);
    key = Crypt().Encode(key);
    const QString url = ServiceURL();
    const QString request = GetDataRequest(command, key);
    const HttpResponse reply = PostSoap(url, Deployment::serviceNamespace() + QStringLiteral("GetData"), request);
    rs = reply.ok() ? ParseDataSet(reply.body) : RecordSet::failure(reply.error);
}

QString clsXML::ServiceURL() {
    clsClientConfig& config = ClientConfig();
    const QString defaultHost = Deployment::serverHost();
    if (config.IP().isEmpty()) config.IP(defaultHost);
    const QString override = Deployment::webServiceOverride();
    if (!override.isEmpty()) return override;

    QString host;
    if (config.Username() == Deployment::developerNickname() && config.IP() == defaultHost)
        host = Deployment::developmentServiceHost();
    else if (config.IP() == defaultHost && config.Port() != QStringLiteral("1300"))
        host = Deployment::publicServiceHost();
    else
        host = Deployment::developmentServiceHost();
    return QStringLiteral("http://") + host + QStringLiteral(":3310") + kServicePath;
}

HttpResponse clsXML::PostSoap(const QString& url, const QString& action, const QString& request) {
    return HttpClient::post(url,
                            {QStringLiteral("Content-Type: text/xml; charset=utf-8"), QStringLiteral("SOAPAction: ") + action},
                            request.toUtf8());
}

RecordSet clsXML::ParseDataSet(const QByteArray& reply) { return ParseDataSetReply(reply); }
