// The simulator's request side on any byte stream: the framer cuts it, the module
// answers each frame, the faults spoil each answer.
// Input: station, locked flag, fault seed, four fault shares, elapsed time (a byte and a
// shift; 6 more bytes unused), then chunks as they arrive on the line: a length byte and that many
// bytes, a length of 0 standing for a silence on the line.
// FUZZ_CHECK comes from fuzz_support.h, which the build includes ahead of this file.

#include "modbus/frame.h"
#include "sim/faults.h"
#include "sim/framer.h"
#include "sim/module_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 15)
        return 0;
    const auto share = [&](int i) { return data[i] / 255.0; };
    sim::ModuleModel model(data[0], data[1] & 1);
    sim::Faults faults({0, share(3), share(4), share(5), share(6)}, data[2]);
    sim::Framer framer;
    const auto input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray sent, served;
    QStringList notes;
    for (qsizetype pos = 15; pos <= input.size();) { // ending with a silence
        const QByteArray chunk = input.mid(pos + 1, pos < input.size() ? data[pos] : 0);
        sent += chunk;
        for (const QByteArray &frame :
             chunk.isEmpty() ? QByteArrayList{framer.silence()} : framer.feed(chunk)) {
            served += frame;
            if (const auto reply = model.handleRequest(frame, qint64(data[7]) << (data[8] % 48)))
                FUZZ_CHECK(modbus::HasValidCrc(*reply) && reply->at(0) == frame.at(0) &&
                           !faults.spoil(*reply, notes).isEmpty());
        }
        pos += 1 + chunk.size();
    }
    FUZZ_CHECK(served == sent); // every byte sent reaches the module once, in order
    return 0;
}
