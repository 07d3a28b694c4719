#pragma once
// A serial port fed from a recording. The replay hands it each recorded chunk and it
// tells the receive path, as the real port does when text arrives. While the start-up
// and stop dialogues run it also answers each command as the adapter would, so that the
// dialogue ends at once; during the recording itself it answers nothing, since the
// recording holds the real adapter's text.
//
//   ELM327: "ATZ" -> "\r\rELM327 v1.5\r\n\r\n>", other "AT..." -> "OK\r\n\r\n>",
//           "ATMA" -> nothing (monitoring starts), then any character (the stop) ->
//           "STOPPED\r\n\r\n>"; anything else -> "\r\n>"
//   CANUSB: "V" -> "V1011\r", "N" -> "NA123\r", "t..." -> "z\r", others -> "\r"
#include "link/SerialPort.h"
#include "link/canformat/AdapterText.h"

#include <optional>
#include <string>

namespace vcm {

class ReplayPort final : public SerialPort {
public:
    // answersAs: the adapter whose replies to give (nothing for the GPS port).
    ReplayPort(std::string name, std::optional<AdapterForm> answersAs);

    bool open(int portNumber, std::string_view settings) override;
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    void write(std::string_view text) override;
    std::string readAll() override;
    void discardInput() override { input_.clear(); }
    std::string deviceName() const override { return name_; }
    std::string errorText() const override { return {}; }

    // Text arrives: held for readAll and the listener told.
    void deliver(std::string_view text);
    // Text waits to be read without a notification (the GPS port is read by its timer).
    void hold(std::string_view text);
    // Delivers the replies to the commands written since the last call.
    void deliverAnswers();
    void setAnswering(bool on) { answering_ = on; }

private:
    std::string answerTo(std::string_view command) const;

    std::string name_;
    std::optional<AdapterForm> answersAs_;
    bool open_ = false;
    bool answering_ = true;
    bool monitoring_ = false; // ELM327 after "ATMA"
    std::string input_;
    std::string commandLine_;
    std::string answers_;
};

} // namespace vcm
