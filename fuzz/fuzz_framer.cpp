// Arbitrary server bytes, in arbitrary pieces, through the socket window's framer, the receive
// pump and the dispatcher. Nothing may crash, hang or grow without bound.
#include "ClientFixture.h"

#include "net/frmCon.h"
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "variants/frmomni.h"
#include "variants/frmteamomni.h"

#include <QApplication>

#include <cstdint>
#include <memory>

namespace {
QApplication* app = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Anything that would reach the web service is refused at once on this machine.
    qputenv("CORVADEX_WEBSERVICE", "http://127.0.0.1:9/RookfellWebService/RookfellWebService.asmx");
    qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:9");
    app = new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClientFixture fixture(ClientFixture::None);
    auto* con = new frmCon();
    // The first byte picks the size of the pieces the bytes arrive in.
    const size_t piece = size ? size_t(data[0] % 17) + 1 : 1;
    // Half the inputs meet open omni boards, so the game families' handlers draw on them.
    if (size && (data[0] & 0x80)) {
        form<frmomni>()->show();
        form<frmteamomni>()->show();
    }
    for (size_t at = size ? 1 : 0; at < size; at += piece) {
        const size_t n = std::min(piece, size - at);
        con->frameArrival(decode1252(reinterpret_cast<const char*>(data + at), qsizetype(n)));
        con->tmrPacket_Timer();
    }
    con->tmrPacket_Timer();
    if (con->sPendingData.size() > frmCon::kMaxPendingLine) __builtin_trap();
    delete con;
    return 0;
}
