#include "sources/replay/ReplayPort.h"

namespace vcm {

ReplayPort::ReplayPort(std::string name, std::optional<AdapterForm> answersAs)
    : name_(std::move(name)), answersAs_(answersAs)
{
}

bool ReplayPort::open(int, std::string_view)
{
    open_ = true;
    input_.clear();
    return true;
}

void ReplayPort::write(std::string_view text)
{
    if (!answering_ || !answersAs_)
        return;
    const bool elm327 = *answersAs_ == AdapterForm::Elm327;
    for (char c : text) {
        if (elm327 && monitoring_) {
            // Any character ends monitoring and is itself discarded.
            monitoring_ = false;
            answers_ += "STOPPED\r\n\r\n>";
            continue;
        }
        if (c != '\r') {
            commandLine_.push_back(c);
            continue;
        }
        answers_ += answerTo(commandLine_);
        monitoring_ = elm327 && commandLine_ == "ATMA";
        commandLine_.clear();
    }
}

std::string ReplayPort::answerTo(std::string_view command) const
{
    if (*answersAs_ == AdapterForm::Elm327) {
        if (command == "ATMA")
            return {};
        if (command == "ATZ")
            return "\r\rELM327 v1.5\r\n\r\n>";
        if (command.substr(0, 2) == "AT")
            return "OK\r\n\r\n>";
        return "\r\n>";
    }
    if (command == "V")
        return "V1011\r";
    if (command == "N")
        return "NA123\r";
    if (!command.empty() && command[0] == 't')
        return "z\r";
    return "\r";
}

void ReplayPort::deliverAnswers()
{
    if (answers_.empty())
        return;
    std::string text;
    text.swap(answers_);
    deliver(text);
}

void ReplayPort::deliver(std::string_view text)
{
    if (!open_)
        return;
    input_.append(text);
    if (PortListener* l = listener())
        l->onReceive();
}

void ReplayPort::hold(std::string_view text)
{
    if (open_)
        input_.append(text);
}

std::string ReplayPort::readAll()
{
    std::string text;
    text.swap(input_);
    return text;
}

} // namespace vcm
