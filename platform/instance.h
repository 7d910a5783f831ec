#pragma once

#include <QString>

namespace platform {

// The name of the local channel (for QLocalServer and QLocalSocket) over
// which a later start of the program hands its command line to the running
// one. It follows from the user's data folder, so every user (and every test
// user) has a channel of their own, in a place no other user can reach.
QString instanceChannelName(const QString &dataFolder);

} // namespace platform
