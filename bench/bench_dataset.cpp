// Reading a data-set reply of 10,000 rows, as the web service sends a large list (indented, as
// the service writes it, with entities and a missing value here and there): the reply's bytes as
// the HTTP client hands them over, read into a RecordSet, and every field read by name the way
// the client's lists read them. Beside each figure, QXmlStreamReader's bare tokenizer over the
// same bytes, timed in the same iterations: only the ratio holds on a shared machine.
#include "app/Deployment.h"
#include "app/HttpClient.h"
#include "app/clsXML.h"
#include "tests/support/FakeWebService.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QXmlStreamReader>

#include <cstdio>
#include <ctime>

namespace {
constexpr int kRows = 10000;

QByteArray buildReply(int rows) {
    QByteArray x;
    x.reserve(rows * 320 + 4096);
    x += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\""
         " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
         "  <soap:Body>\r\n    <GetDataResponse xmlns=\"http://corvadex.net/webservices/\">\r\n      <GetDataResult>\r\n"
         "        <xs:schema id=\"NewDataSet\" xmlns=\"\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\""
         " xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\">\r\n"
         "          <xs:element name=\"NewDataSet\" msdata:IsDataSet=\"true\" msdata:UseCurrentLocale=\"true\">\r\n"
         "            <xs:complexType>\r\n              <xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\">\r\n"
         "                <xs:element name=\"Table\">\r\n                  <xs:complexType>\r\n"
         "                    <xs:sequence>\r\n"
         "                      <xs:element name=\"Card\" type=\"xs:string\" minOccurs=\"0\" />\r\n"
         "                      <xs:element name=\"Deck_x0020_Name\" type=\"xs:string\" minOccurs=\"0\" />\r\n"
         "                      <xs:element name=\"Total\" type=\"xs:integer\" minOccurs=\"0\" />\r\n"
         "                      <xs:element name=\"Level\" type=\"xs:unsignedByte\" minOccurs=\"0\" />\r\n"
         "                      <xs:element name=\"Price\" type=\"xs:decimal\" minOccurs=\"0\" />\r\n"
         "                      <xs:element name=\"Special\" type=\"xs:string\" minOccurs=\"0\" />\r\n"
         "                    </xs:sequence>\r\n                  </xs:complexType>\r\n                </xs:element>\r\n"
         "              </xs:choice>\r\n            </xs:complexType>\r\n          </xs:element>\r\n        </xs:schema>\r\n"
         "        <diffgr:diffgram xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\""
         " xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\">\r\n          <NewDataSet xmlns=\"\">\r\n";
    for (int i = 0; i < rows; ++i) {
        const QByteArray n = QByteArray::number(i);
        x += "            <Table diffgr:id=\"Table" + QByteArray::number(i + 1) + "\" msdata:rowOrder=\"" + n + "\">\r\n";
        x += "              <Card>Card &amp; Spell " + n + "</Card>\r\n";
        x += "              <Deck_x0020_Name>Starter Deck " + QByteArray::number(i % 12) + "</Deck_x0020_Name>\r\n";
        x += "              <Total>" + QByteArray::number(i * 7 % 100000) + "</Total>\r\n";
        x += "              <Level>" + QByteArray::number(i % 10 + 1) + "</Level>\r\n";
        if (i % 5) x += "              <Price>" + QByteArray::number(i % 1000) + ".25</Price>\r\n";
        x += "              <Special>" + QByteArray(i % 9 ? "No" : "Yes") + "</Special>\r\n";
        x += "            </Table>\r\n";
    }
    x += "          </NewDataSet>\r\n        </diffgr:diffgram>\r\n      </GetDataResult>\r\n"
         "    </GetDataResponse>\r\n  </soap:Body>\r\n</soap:Envelope>\r\n";
    return x;
}

// The reply as the client's HTTP exchange hands it to the reader, fetched once from the fake
// web service.
const QByteArray& replyBytes() {
    static const QByteArray bytes = [] {
        FakeWebService service;
        service.answerRaw(QStringLiteral("q"), buildReply(kRows));
        const QString key64 = QString::fromLatin1(Deployment::serviceKey().toLatin1().toBase64());
        const HttpResponse r = HttpClient::post(service.url(),
                                                {QStringLiteral("Content-Type: text/xml; charset=utf-8"),
                                                 QStringLiteral("SOAPAction: ") + Deployment::serviceNamespace() + QStringLiteral("GetData")},
                                                GetDataRequest(QStringLiteral("cQ=="), key64).toUtf8());
        if (!r.ok()) std::fprintf(stderr, "%s\n", qPrintable(r.error));
        return r.ok() ? r.body : QByteArray();
    }();
    return bytes;
}

// Process CPU time, the clock the benchmark's own rate is taken on.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The bare tokenizer: every token read, nothing kept.
void tokenize(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) xml.readNext();
    benchmark::DoNotOptimize(xml.hasError());
}

const QStringList kFields = {"Card", "Deck Name", "Total", "Level", "Price", "Special"};

// A list filled from the set: every field of every row by name, as text.
qsizetype consume(RecordSet& rs) {
    qsizetype chars = 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        for (const QString& f : kFields) chars += rs.Fields(f).toString().size();
    return chars;
}

template <RecordSet (*Read)(const QByteArray&)>
void BM_ReadDataSet(benchmark::State& state) {
    const QByteArray& reply = replyBytes();
    if (reply.isEmpty()) {
        state.SkipWithError("the fake web service gave no reply");
        return;
    }
    double readerSeconds = 0, tokenizerSeconds = 0;
    for (auto _ : state) {
        const double t0 = cpuSeconds();
        {
            RecordSet rs = Read(reply);
            if (rs.RecordCount() != kRows || rs.failed()) {
                state.SkipWithError("reply misread");
                break;
            }
            benchmark::DoNotOptimize(consume(rs));
        }
        readerSeconds += cpuSeconds() - t0;
        state.PauseTiming();
        const double t1 = cpuSeconds();
        tokenize(reply);
        tokenizerSeconds += cpuSeconds() - t1;
        state.ResumeTiming();
    }
    const double bytes = double(state.iterations()) * double(reply.size());
    state.SetBytesProcessed(int64_t(bytes));
    state.counters["reply_bytes"] = double(reply.size());
    if (readerSeconds > 0 && tokenizerSeconds > 0) {
        state.counters["reader_MB/s"] = bytes / readerSeconds / 1e6;
        state.counters["tokenizer_MB/s"] = bytes / tokenizerSeconds / 1e6;
        state.counters["reader/tokenizer"] = tokenizerSeconds / readerSeconds;
    }
}
BENCHMARK(BM_ReadDataSet<ParseDataSetReply>)->Name("BM_ReadDataSet/libxml2")->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
