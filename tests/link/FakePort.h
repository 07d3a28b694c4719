#pragma once
// A serial port for tests: records every byte written, answers through a script, and
// delivers its input (and errors) when the test's event pump runs.
#include "support/RecordingListener.h"

#include "link/SerialPort.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vcm::test {

class FakePort final : public SerialPort {
public:
    // Reply to one written text ("ATZ\r" -> "ATZ\r\r\rELM327 v1.5\r\r>"); "" = no reply.
    using Script = std::function<std::string(const std::string& written)>;

    bool open(int portNumber, std::string_view settings) override
    {
        opened.push_back(std::to_string(portNumber) + " " + std::string(settings));
        open_ = !failOpen;
        return open_;
    }
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    void write(std::string_view text) override
    {
        if (!open_)
            return;
        written += text;
        writes.emplace_back(text);
        if (std::string reply = script ? script(std::string(text)) : ""; !reply.empty())
            pendingReplies.push_back(std::move(reply));
    }
    std::string readAll() override { return std::exchange(input_, {}); }
    void discardInput() override
    {
        input_.clear();
        ++discards;
    }
    std::string deviceName() const override { return device; }
    std::string errorText() const override { return failOpen ? "No such file or directory" : ""; }

    // Text arriving from the device: the listener hears of it at once.
    void receive(std::string_view text)
    {
        input_ += text;
        if (listener())
            listener()->onReceive();
    }
    void raise(PortError error)
    {
        if (listener())
            listener()->onError(error);
    }
    // One pass of the event loop: the oldest scripted reply arrives.
    void deliver()
    {
        if (pendingReplies.empty() || !open_)
            return;
        std::string reply = std::move(pendingReplies.front());
        pendingReplies.pop_front();
        receive(reply);
    }

    std::vector<std::string> opened; // "3 500000,N,8,1", one per open
    std::string written;
    std::vector<std::string> writes;
    std::deque<std::string> pendingReplies;
    Script script;
    bool failOpen = false;
    int discards = 0;
    std::string device = "/dev/ttyFAKE";

private:
    bool open_ = false;
    std::string input_;
};

} // namespace vcm::test
