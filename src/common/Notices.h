#pragma once
// What the core tells the user in a box of its own ("PROBLEME!"): the window shows a
// message box, a host without a window prints the text.
#include <string>
#include <string_view>
#include <vector>

namespace vcm {

enum class MessageIcon { Information, Critical, Exclamation };

class Notices {
public:
    virtual ~Notices() = default;
    virtual void tell(std::string_view title, std::string_view text, MessageIcon icon) = 0;
};

// Keeps what was told, for a host that reports it later (headless, replay, tests).
class NoticeList final : public Notices {
public:
    struct Notice {
        std::string title, text;
        MessageIcon icon;
    };
    void tell(std::string_view title, std::string_view text, MessageIcon icon) override
    {
        told.push_back({std::string(title), std::string(text), icon});
    }
    std::vector<Notice> told;
};

} // namespace vcm
