#pragma once
// The adapter port fed by candump -L text as it arrives (LiveCandump.h): standard input
// ("-", a pipe from candump) or a file that is still being written. The start-up and
// stop dialogues are answered as the configured adapter would (ReplayPort), and the
// frames come as that adapter's monitor text.
//
// The input ends at the end of a pipe, or when a file has not grown for
// FileIdleEndMs; the listener then hears PortError::EndOfInput. POSIX only: on Windows
// open() fails with a reason.
#include "link/SerialPort.h"
#include "sources/replay/LiveCandump.h"
#include "sources/replay/ReplayPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <string>

namespace vcm {

class QtCandumpPort final : public QObject, public SerialPort, private PortListener {
    Q_OBJECT
public:
    static constexpr int PollMs = 10;
    static constexpr int FileIdleEndMs = 10000;

    explicit QtCandumpPort(LiveCandumpDevice device, QObject* parent = nullptr);
    ~QtCandumpPort() override;

    bool open(int portNumber, std::string_view settings) override;
    bool isOpen() const override { return fd_ >= 0; }
    void close() override;
    void write(std::string_view text) override;
    std::string readAll() override { return answers_.readAll(); }
    void discardInput() override { answers_.discardInput(); }
    std::string deviceName() const override;
    std::string errorText() const override { return error_; }

private:
    void onReceive() override;
    void onError(PortError) override {}
    void poll();
    void end();

    LiveCandumpDevice device_;
    ReplayPort answers_;
    CandumpFeed feed_;
    QTimer timer_;
    QElapsedTimer sinceGrowth_;
    int fd_ = -1;
    bool regularFile_ = false;
    std::string error_;
    std::string text_;
};

} // namespace vcm
