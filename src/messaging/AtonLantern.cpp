#include "messaging/AtonLantern.h"

#include <cstdio>

namespace norq::messaging {

namespace {
std::string Printf(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}  // namespace

LanternTexts LanternStatusTexts(const ais::TargetRecord& t) {
    LanternTexts texts;
    switch ((t.lanternMode >> 6) & 0x03) {
        case 0:
            texts.mode = "AUTO";
            break;
        case 1:
            texts.mode = "FORCED OFF";
            break;
        case 2:
            texts.mode = "FORCED ON";
            break;
        default:
            break;
    }
    // The stored current is a 32-bit float compared as a double with 0.1 A.
    texts.light = static_cast<double>(t.lanternCurrent) > 0.1 ? "ON" : "OFF";
    switch (t.lanternStatus & 0x22) {
        case 0x02:
            texts.light += ",Error";
            break;
        case 0x20:
            texts.light += ",Low Voltage";
            break;
        case 0x22:
            texts.light += ",Error,Low Voltage";
            break;
        default:
            break;
    }
    texts.voltage = Printf("%5.3f", t.lanternVoltage);
    texts.current = Printf("%5.3f", t.lanternCurrent);
    return texts;
}

AtonOwnFields AtonOwnFieldTexts(const ais::TargetRecord& t) {
    AtonOwnFields d;
    d.status = (t.atonRegional & 0x01) == 0 ? "Good health" : "Alarm";
    d.positionIndicator = (t.atonFlags & 0x01) == 0 ? "On position" : "Off position";
    d.dimensionA = std::to_string(t.toBow & 0x1FF);
    d.dimensionB = std::to_string(t.toStern & 0x1FF);
    d.dimensionC = std::to_string(t.toPort & 0x3F);
    d.dimensionD = std::to_string(t.toStarboard & 0x3F);
    return d;
}

bool SendLanternCommand(codec::SentenceCodec& codec, ais::SentenceSender& sender,
                        LanternMode mode) {
    codec::Dbg& dbg = codec.proprietary().dbg;
    dbg.pairs[0] = {300, static_cast<int>(mode)};
    for (int i = 1; i < 4; ++i)
        dbg.pairs[static_cast<std::size_t>(i)] = {999, -100000};
    return sender.SendSentence(ais::kAisSensor, "P", "DBG");
}

}  // namespace norq::messaging
