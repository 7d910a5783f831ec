#pragma once

#include "helper/session.h"
#include "platform/network.h"

#include <QString>

// The machine's own address and MAC as the headset should see them: never
// loopback's, which the headset could not reach or tell apart.

// The IPv4 address of the network in use (the default route's first); empty
// when no network is up.
QString getLocalIPv4();

// The hardware address of the first up adapter that has one; empty when
// there is none.
QString getMacAddress();

// The adapters of a described network, loopback left out; what
// Session::getLanAdapters reports for this machine.
QList<LanAdapterInfo> lanAdaptersOf(const platform::NetworkSnapshot &network);
