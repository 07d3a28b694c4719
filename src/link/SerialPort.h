#pragma once
// One serial port as the acquisition loop uses it: the bus adapter, the auxiliary
// input and the GPS receiver each sit behind one. Implementations: Qt's serial port
// (src/link/qt), the simulated car's adapters (src/link/sim), and test fakes.
#include <string>
#include <string_view>

namespace vcm {

// Error events of a port. DeviceLost means the device went away (USB unplugged,
// Bluetooth link dropped): acquisition must stop cleanly. EndOfInput: a source that
// only sends (a candump pipe) has ended; acquisition stops as with Stop.
enum class PortError { Break, Framing, Overrun, RxOverflow, Parity, TxFull, Settings, DeviceLost, EndOfInput };

// Told by a port when text has arrived or an error happened. The host's event loop
// delivers these on the one thread that runs everything.
class PortListener {
public:
    virtual ~PortListener() = default;
    virtual void onReceive() = 0;
    virtual void onError(PortError error) = 0;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;
    // Opens port number n with a settings text such as "500000,N,8,1" and discards
    // anything already received. False (with errorText() saying why) on failure.
    virtual bool open(int portNumber, std::string_view settings) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    virtual void write(std::string_view text) = 0;
    // Everything received and not yet read.
    virtual std::string readAll() = 0;
    virtual void discardInput() = 0;
    // Which device the last open used or tried ("/dev/ttyUSB0", "COM3", "simulated ELM327").
    virtual std::string deviceName() const = 0;
    virtual std::string errorText() const = 0;

    void setListener(PortListener* listener) { listener_ = listener; }

protected:
    PortListener* listener() const { return listener_; }

private:
    PortListener* listener_ = nullptr;
};

} // namespace vcm
