#include "crew/DrillReport.h"

#include "ais/AisEncoder.h"
#include "ais/AisMessage.h"
#include "codec/SentenceCodec.h"
#include "crew/AisMobList.h"

namespace norq::crew {

std::string DrillReportLine(double longitude, double latitude) {
    ais::AisMessage m{};
    m.messageId = 1;
    m.mmsi = kDrillMmsi;
    m.layout = ais::AisLayoutId::PositionReport;
    m.position.navStatus = 14;
    m.position.positionAccuracy = 1;
    m.position.longitude = longitude;
    m.position.latitude = latitude;
    m.position.cog = 360.0f;
    m.position.heading = 511;
    m.position.rateOfTurn = 0.0f;
    ais::AisBitBuffer bits{};
    if (!ais::PackAisMessage(m, bits)) return {};
    const ais::ArmouredPayload payload = ais::ArmourPayload(bits);
    codec::SentenceText text;
    text.appendf("!AIVDM,1,1,,A,%.*s,%d", static_cast<int>(payload.length), payload.text.data(),
                 payload.fillBits);
    if (!codec::AppendChecksum(text)) return {};
    return std::string(text.view());
}

}  // namespace norq::crew
