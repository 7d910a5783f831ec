#include "platform/sockets.h"

#include <sys/socket.h>

namespace platform {

bool shutdownSending(qintptr descriptor)
{
    if (descriptor < 0)
        return false;
    return ::shutdown(static_cast<int>(descriptor), SHUT_WR) == 0;
}

} // namespace platform
