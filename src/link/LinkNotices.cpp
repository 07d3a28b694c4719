#include "link/LinkNotices.h"

namespace vcm {

void tellGpsOpenFailed(Notices& notices, int port, const std::string& device)
{
    notices.tell("PROBLEME!",
                 "Ne peut ouvrir le port GPS COM [" + std::to_string(port) + "] (" + device +
                     "). L'acquisition continue sans GPS.",
                 MessageIcon::Exclamation);
}

void tellAdapterOpenFailed(Notices& notices, int port, const std::string& deviceAndReason)
{
    notices.tell("PROBLEME!",
                 "Ne peut ouvrir le port COM [" + std::to_string(port) + "] Essayez un autre port.\n" + deviceAndReason,
                 MessageIcon::Critical);
}

void tellGpsLost(Notices& notices, int port, const std::string& device)
{
    notices.tell("PROBLEME!",
                 "Le port GPS COM [" + std::to_string(port) + "] (" + device +
                     ") ne répond plus. L'acquisition continue sans GPS.",
                 MessageIcon::Exclamation);
}

} // namespace vcm
