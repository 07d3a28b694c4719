#pragma once
// The adapter's transmit wire towards the host, at the speed the port was opened
// with: each character takes 10 bit times (start bit, 8 data bits, stop bit, no
// parity), so 500000 bit/s carries 50 characters a millisecond and 38400 bit/s 3.84.
// Text handed over queues behind what is still going out; the host receives each
// character when its last bit has gone.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace vcm::sim {

class SerialLine {
public:
    explicit SerialLine(double bitsPerSecond = 500000) { setSpeed(bitsPerSecond); }

    void setSpeed(double bitsPerSecond) { msPerChar_ = 10.0 * 1000.0 / bitsPerSecond; }
    double msPerChar() const { return msPerChar_; }

    // Queues text that the adapter produced at time atMs.
    void send(std::string_view text, double atMs);
    // Characters handed over but not yet fully sent at time ms.
    std::size_t backlogAt(double ms) const;
    // Appends to out every character fully sent by time ms.
    void deliverUntil(double ms, std::string& out);
    // Drops everything not yet delivered (adapter reset, port closed).
    void clear() { pending_.clear(); }

private:
    // Text that goes out back to back from startMs on; sent counts characters delivered.
    struct Chunk {
        std::string text;
        double startMs;
        std::size_t sent = 0;
        double doneMs(std::size_t i, double msPerChar) const { return startMs + static_cast<double>(i + 1) * msPerChar; }
    };
    // Characters of a chunk fully sent by time ms.
    std::size_t doneBy(const Chunk& c, double ms) const;
    std::deque<Chunk> pending_;
    double msPerChar_ = 0.02;
    double busyUntil_ = 0;
};

} // namespace vcm::sim
