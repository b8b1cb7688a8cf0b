// The simulator's request side on any byte stream: the framer cuts it, the model
// answers each frame, the faults spoil each answer.
// Input: station, locked flag, fault seed, fault shares (4 bytes), elapsed time
// (8 bytes), then chunks as they arrive on the line: a length byte and that many
// bytes, a length of 0 standing for a silence on the line.

#include "modbus/frame.h"
#include "sim/faults.h"
#include "sim/framer.h"
#include "sim/module_model.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kHeader = 15;
constexpr int kMaxStray = 3;
constexpr int kMaxFrame = 256;

class Session {
public:
    explicit Session(const std::uint8_t *header)
        : m_model(header[0], (header[1] & 1) != 0), m_faults(rates(header + 3), header[2]),
          m_station(header[0]), m_locked((header[1] & 1) != 0)
    {
        std::uint64_t elapsed = 0;
        std::memcpy(&elapsed, header + 7, sizeof elapsed);
        m_elapsedMs = static_cast<qint64>(elapsed >> 1); // a clock never runs backwards
    }

    void feed(const QByteArray &chunk)
    {
        m_sent += chunk;
        const QList<QByteArray> frames = m_framer.feed(chunk);
        for (const QByteArray &frame : frames)
            serve(frame, true);
    }

    void silence() { serve(m_framer.silence(), false); }

    // Every byte sent reaches the model exactly once, in order.
    void finish()
    {
        silence();
        fuzz::check(m_served == m_sent, "framer lost, duplicated or reordered bytes");
    }

private:
    static sim::FaultRates rates(const std::uint8_t *shares)
    {
        return {0, shares[0] / 255.0, shares[1] / 255.0, shares[2] / 255.0, shares[3] / 255.0};
    }

    void serve(const QByteArray &frame, bool complete)
    {
        if (frame.isEmpty())
            return;
        m_served += frame;
        const auto function = frame.size() > 1 ? static_cast<std::uint8_t>(frame[1]) : 0;
        // Past the longest RTU frame the framer hands on whatever it holds, by design.
        const bool fixed = function == modbus::kReadHolding || function == modbus::kWriteSingle;
        if (complete && fixed && frame.size() <= kMaxFrame)
            fuzz::check(frame.size() == modbus::kFrameLength && modbus::HasValidCrc(frame),
                        "framer cut a bad fixed-length frame");
        const std::optional<QByteArray> reply = m_model.handleRequest(frame, m_elapsedMs);
        if (!reply)
            return;
        checkReply(frame, *reply);
        QStringList notes;
        const QByteArray spoilt = m_faults.spoil(*reply, notes);
        fuzz::check(!spoilt.isEmpty() && spoilt.size() <= reply->size() + 2 * kMaxStray,
                    "spoilt reply size");
    }

    void checkReply(const QByteArray &request, const QByteArray &reply)
    {
        fuzz::check(modbus::HasValidCrc(reply), "reply CRC");
        fuzz::check(static_cast<std::uint8_t>(reply[0]) == m_station, "reply station");
        fuzz::check(static_cast<std::uint8_t>(request[0]) == m_station, "answered another station");
        const auto function = static_cast<std::uint8_t>(reply[1]);
        if (function == modbus::kReadHolding) {
            const int count = static_cast<std::uint8_t>(reply[2]);
            fuzz::check(reply.size() == 5 + count && count % 2 == 0 && count > 0,
                        "read reply length");
        } else if (function == modbus::kWriteSingle) {
            fuzz::check(reply == request, "write reply is not the echo");
            const int address =
                static_cast<std::uint8_t>(request[2]) * 256 + static_cast<std::uint8_t>(request[3]);
            const int value =
                static_cast<std::uint8_t>(request[4]) * 256 + static_cast<std::uint8_t>(request[5]);
            fuzz::check(address >= regmap::kBaudRate && address < regmap::kRegisterCount,
                        "write to a register that is not writable");
            fuzz::check(m_locked || m_model.value(address, m_elapsedMs) == value,
                        "written value not kept");
        } else {
            fuzz::check(reply.size() == 5 && (function & 0x80) != 0, "exception reply");
        }
    }

    sim::ModuleModel m_model;
    sim::Faults m_faults;
    sim::Framer m_framer;
    int m_station;
    bool m_locked;
    qint64 m_elapsedMs = 0;
    QByteArray m_sent;
    QByteArray m_served;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < kHeader)
        return 0;
    Session session(data);
    for (std::size_t pos = kHeader; pos < size;) {
        const std::size_t wanted = data[pos];
        ++pos;
        const std::size_t length = std::min(wanted, size - pos);
        if (length == 0)
            session.silence();
        else
            session.feed(fuzz::bytes(data + pos, length));
        pos += length;
    }
    session.finish();
    return 0;
}
