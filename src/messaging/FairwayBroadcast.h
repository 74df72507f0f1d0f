// Broadcasting a stored fairway with the area notice or route messages, and
// withdrawing it. The fairway's broadcast flag changes only when every
// sentence of every message was written to the AIS port.
#pragma once

#include <string>

#include "messaging/AreaNotice.h"
#include "messaging/FairwayList.h"

namespace norq::messaging {

// The header of a fairway's messages: linkage ID, notice and start of validity.
NoticeHeader FairwayHeader(const Fairway& f);

// The messages that broadcast the fairway: the circle around the first
// waypoint through the second, the polyline or polygon through every
// waypoint (at most 19), or the route (at most 16 waypoints).
NoticeSeries FairwayNotice(const Fairway& f);
ais::RouteInfoRecord FairwayRoute(const Fairway& f);

enum class BroadcastResult { Sent, NotBuilt, PortFailed };

// Sends the fairway; sets its broadcast flag when all went out. `error`
// gets the scale error text of a fairway that does not fit the messages.
BroadcastResult BroadcastFairway(Fairway& f, BinaryMessageSender& sender, int channel,
                                 std::string& error);
// Sends the cancellation; clears the broadcast flag when it went out.
BroadcastResult WithdrawFairway(Fairway& f, BinaryMessageSender& sender, int channel);

}  // namespace norq::messaging
