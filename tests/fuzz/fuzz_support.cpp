#include "tests/fuzz/fuzz_support.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {
void dropMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "qFatal: %s\n", qPrintable(text));
        std::abort();
    }
}
} // namespace

void fail(const char *what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace fuzz

// Qt warnings about odd input are expected here and would only slow the run.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(fuzz::dropMessage);
    return 0;
}
