// Arbitrary bytes as a web-service reply: the data-set reader must not crash, hang or grow, and
// what it returns must hold together.
#include "app/clsXML.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {
void walk(RecordSet rs) {
    if (rs.failed() && (rs.FieldCount() != 0 || rs.RecordCount() != 0)) std::abort();
    if (rs.RecordCount() > 0 && rs.isEOF()) std::abort();  // a fresh result stands on its last row
    qsizetype chars = 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        for (int i = 0; i < rs.FieldCount(); ++i) chars += rs.Fields(i).toString().size();
    for (const QString& name : rs.fieldNames())
        if (rs.fieldIndex(name) < 0) std::abort();
    (void)chars;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    walk(ParseDataSetReply(bytes));
    walk(ParseDataSetText(QString::fromUtf8(bytes)));
    return 0;
}
