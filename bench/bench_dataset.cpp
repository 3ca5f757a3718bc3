// Reading a data-set reply of 10,000 rows, as the web service sends a large list (indented, as
// the service writes it, with entities and a missing value here and there).
#include "app/clsXML.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

namespace {
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

void BM_ReadDataSet(benchmark::State& state) {
    const int rows = int(state.range(0));
    const QByteArray reply = buildReply(rows);
    for (auto _ : state) {
        RecordSet rs = ParseDataSetReply(reply);
        if (rs.RecordCount() != rows || rs.failed()) {
            state.SkipWithError("reply misread");
            break;
        }
        benchmark::DoNotOptimize(rs);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * reply.size());
    state.counters["reply_bytes"] = double(reply.size());
}
BENCHMARK(BM_ReadDataSet)->Arg(10000)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
