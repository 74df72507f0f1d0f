#include "ais/SentenceIntake.h"

#include <cstring>

#include "codec/ArchiveLine.h"

namespace norq::ais {

namespace {

FragmentKind KindOf(std::string_view formatter, bool& known) {
    known = true;
    if (formatter == "VDM") return FragmentKind::Vdm;
    if (formatter == "VDO") return FragmentKind::Vdo;
    if (formatter == "ABM") return FragmentKind::Abm;
    if (formatter == "BBM") return FragmentKind::Bbm;
    known = false;
    return FragmentKind::Count;
}

}  // namespace

std::string_view SentenceIntake::takeFileLine(std::string_view line, char* formed,
                                              std::size_t capacity) {
    // Most lines are a bare sentence: nothing to take out.
    const std::size_t size = line.size();
    if (size >= 7 && (line[0] == '!' || line[0] == '$') && line[size - 5] == '*' &&
        line[size - 2] == '\r' && line[size - 1] == '\n' && line.find('*') == size - 5) {
        return line;
    }
    // A comment line of a recording ("# ...") holds no received sentence,
    // even when it quotes one.
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '#') {
        lastStatus_ = codec::ParseStatus::Framing;
        return {};
    }
    codec::ArchiveLine split;
    // A line without a checksummed sentence goes on as it is and is refused
    // for the reason it always was.
    if (!codec::SplitArchiveLine(line, split)) return line;
    receiveTime_ = split.receiveTime;
    const std::size_t n = split.sentence.size();
    // The line bound holds for what stands before the sentence too, as for a
    // live line; only tag blocks and station fields are not counted.
    if (n + 2 > capacity || split.prefixLength + n + 2 > codec::kMaxLineLength) {
        lastStatus_ = codec::ParseStatus::Length;
        return {};
    }
    std::memcpy(formed, split.sentence.data(), n);
    formed[n] = '\r';
    formed[n + 1] = '\n';
    return {formed, n + 2};
}

void SentenceIntake::ReceiveLine(std::string_view line, bool fromLivePort) {
    lastStatus_ = codec::ParseStatus::Ok;
    receiveTime_ = codec::kNoReceiveTime;
    IdentificationHandler* id = connections_.identification;
    if (fromLivePort && id != nullptr && id->waitingForIdentification()) {
        id->onIdentificationLine(line);
    }
    char formed[codec::kMaxLineLength + 1];
    if (!fromLivePort) {
        line = takeFileLine(line, formed, sizeof formed);
        if (line.empty()) return;
    }
    if (line.size() > codec::kMaxLineLength) {
        lastStatus_ = codec::ParseStatus::Length;
        return;
    }
    const std::size_t start = line.find_first_of("$!");
    if (start == std::string_view::npos) {
        lastStatus_ = codec::ParseStatus::Framing;
        return;
    }
    const std::string_view text = line.substr(start);

    if (text.find("$PKRV") != std::string_view::npos) {
        codec::ProductInfoBlock& block = codec_.productInfo();
        if (block.offer(text) == codec::ProductInfoBlock::Result::Complete && id != nullptr) {
            id->onProductInfo(block);
        }
    }

    const int countBefore = connections_.ais != nullptr ? connections_.ais->targetCount() : 0;
    codec::SentenceRecord& record = codec_.received();
    lastStatus_ = codec_.parse(text);
    if (lastStatus_ != codec::ParseStatus::Ok) return;
    codec_.StoreSentence(record);

    if (record.start != '!') {
        if (connections_.ais != nullptr) connections_.ais->clearDecodedMessage();
    } else if (!assembleAndDecode(record, fromLivePort)) {
        return;
    }
    dispatch(record, text, countBefore);
}

bool SentenceIntake::assembleAndDecode(const codec::SentenceRecord& record, bool live) {
    bool known = false;
    const FragmentKind kind = KindOf(record.formatterText(), known);
    const codec::Encapsulated* fragment = record.as<codec::Encapsulated>();
    if (!known || fragment == nullptr) return false;

    const AssemblySlot* slot = nullptr;
    FragmentOrigin origin;
    origin.live = live;
    if (clock_ != nullptr) origin.now = clock_->monotonicSeconds();
    origin.receiveTime = receiveTime_;
    if (assembly_.JoinFragment(kind, *fragment, slot, origin) !=
        FragmentAssembly::Result::Complete) {
        return false;
    }
    if (kind == FragmentKind::Abm || kind == FragmentKind::Bbm) return false;

    AisPayload p;
    p.payload = slot->payloadText();
    p.fillBits = slot->fillBits;
    p.channelPresent = slot->channel != codec::kEmptyByte;
    p.channelIndex = p.channelPresent ? slot->channel - 'A' : 0;
    p.own = kind == FragmentKind::Vdo;
    p.receiveTime = slot->receiveTime;
    return connections_.ais != nullptr && connections_.ais->onAisPayload(p);
}

void SentenceIntake::dispatch(const codec::SentenceRecord& record, std::string_view text,
                              int countBefore) {
    switch (record.group) {
        case codec::SentenceGroup::Gnss:
            if (connections_.gnss != nullptr) connections_.gnss->UpdateOwnShipFromGnss();
            break;
        case codec::SentenceGroup::Heading:
            if (connections_.gnss != nullptr) connections_.gnss->onHeadingSentence();
            break;
        case codec::SentenceGroup::Transponder:
            // The own ship's report is the !AIVDO line itself (it reaches here
            // only complete and decoded), not a text that quotes one.
            if (text.starts_with("!AIVDO") && connections_.transmitter != nullptr) {
                connections_.transmitter->OnOwnShipReport();
            }
            if (connections_.ais != nullptr) connections_.ais->UpdateAfterAisMessage(countBefore);
            break;
        case codec::SentenceGroup::Proprietary:
            if (record.is("MOB") && connections_.proprietary != nullptr) {
                connections_.proprietary->OnMobSentence();
            } else if (record.is("MRK") && connections_.proprietary != nullptr) {
                connections_.proprietary->OnMarkerSentence();
            } else if (record.is("KRV") && connections_.transmitter != nullptr) {
                connections_.transmitter->OnTransmitterReport();
            }
            break;
        default:
            break;
    }
}

}  // namespace norq::ais
