// What the sentence intake calls in the rest of the system. Each interface
// is small and optional: a subsystem that is not connected is skipped.
#pragma once

#include <cstdint>
#include <string_view>

namespace norq::codec {
class ProductInfoBlock;
}

namespace norq::ais {

// A complete VDM or VDO payload, ready to be decoded and applied.
struct AisPayload {
    std::string_view payload;  // armoured characters
    int fillBits = 0;
    int channelIndex = 0;  // channel letter minus 'A'
    bool channelPresent = false;
    bool own = false;  // VDO
    // Unix seconds of reception a file gives for the message, or -1.
    std::int64_t receiveTime = -1;
};

// The AIS decoder and the target table.
class AisMessageHandler {
  public:
    virtual ~AisMessageHandler() = default;
    // Number of used table entries, noted before each line.
    virtual int targetCount() const = 0;
    // De-armours, decodes and applies one message; counts it on its target.
    // False when the payload does not decode (the line then ends).
    virtual bool onAisPayload(const AisPayload& payload) = 0;
    // A parametric sentence arrived: the decoded-message areas are cleared.
    virtual void clearDecodedMessage() = 0;
    // After every accepted transponder sentence.
    virtual void UpdateAfterAisMessage(int countBefore) = 0;
};

// The own ship's GNSS state.
class GnssHandler {
  public:
    virtual ~GnssHandler() = default;
    virtual void UpdateOwnShipFromGnss() = 0;
    // After every stored heading sentence (HDT, ROT, VBW, GNS).
    virtual void onHeadingSentence() {}
};

// The transmitter state indicator.
class TransmitterHandler {
  public:
    virtual ~TransmitterHandler() = default;
    // A complete, decodable own-ship report (!AIVDO) arrived.
    virtual void OnOwnShipReport() = 0;
    // A KRV report of the transponder's transmit mode arrived.
    virtual void OnTransmitterReport() = 0;
};

// Proprietary device reports other than the transmitter state.
class ProprietaryHandler {
  public:
    virtual ~ProprietaryHandler() = default;
    // A crew-watch controller report (MOB) is in the proprietary store.
    virtual void OnMobSentence() = 0;
    // A marker exchange sentence (MRK) is in the proprietary store.
    virtual void OnMarkerSentence() = 0;
};

// Device detection: sees live lines first while the AIS link waits for the
// device's identification, and shows a completed product-information block.
class IdentificationHandler {
  public:
    virtual ~IdentificationHandler() = default;
    virtual bool waitingForIdentification() const = 0;
    virtual void onIdentificationLine(std::string_view line) = 0;
    virtual void onProductInfo(const codec::ProductInfoBlock& block) = 0;
};

struct IntakeConnections {
    AisMessageHandler* ais = nullptr;
    GnssHandler* gnss = nullptr;
    TransmitterHandler* transmitter = nullptr;
    ProprietaryHandler* proprietary = nullptr;
    IdentificationHandler* identification = nullptr;
};

}  // namespace norq::ais
