#include "nav/MarkerExchange.h"

#include <cstdio>
#include <cstring>

#include "codec/SentenceCodec.h"

namespace norq::nav {

namespace {

// The small number the manager always sends.
constexpr int kSmallNumber = 1;
// The list query's count and index.
constexpr int kQueryAll = 1024;
// Reported positions beyond these are not positions.
constexpr std::int64_t kMaxLatitude = 90000000;
constexpr std::int64_t kMaxLongitude = 180000000;

// A name travels as plain printable ASCII: characters that would end or break
// the sentence (and anything outside ASCII) go out as '_'.
void SentenceName(std::string_view name, char (&out)[codec::kTextCapacity]) {
    std::size_t n = 0;
    for (char c : name) {
        if (n + 1 >= sizeof out || n >= static_cast<std::size_t>(kMarkerNameLength)) break;
        const auto u = static_cast<unsigned char>(c);
        const bool plain = u >= 0x20 && u < 0x7F && std::strchr(",*$!\\^~", c) == nullptr;
        out[n++] = plain ? c : '_';
    }
    out[n] = '\0';
}

bool SamePoint(const MarkerRecord& r, std::int64_t lat, std::int64_t lon) {
    return ToMillionths(r.latitude) == lat && ToMillionths(r.longitude) == lon;
}

}  // namespace

void MarkerExchange::clearDevice() {
    for (DeviceMarker& m : device_) {
        m = DeviceMarker{};
        m.record.deviceIndex = -1;
    }
    count_ = 0;
}

std::string_view MarkerExchange::Compose(char subtype, MarkerOperation operation, int count,
                                         int index, std::int64_t latitude, std::int64_t longitude,
                                         std::string_view name, char (&buffer)[128]) {
    codec::SentenceRecord r;
    r.start = '$';
    std::strcpy(r.talker, "P");
    std::strcpy(r.formatter, "MRK");
    r.subtype = subtype;
    codec::Mrk body;
    body.operation = static_cast<int>(operation);
    body.count = count;
    body.deviceIndex = index;
    body.latitude = latitude;
    body.longitude = longitude;
    SentenceName(name, body.name);
    body.small = kSmallNumber;
    r.body = body;
    codec::SentenceText text;
    if (!codec::ComposeSentence(r, text) || text.overflowed()) return {};
    const std::size_t n = std::min(text.size(), sizeof buffer - 1);
    std::memcpy(buffer, text.c_str(), n);
    buffer[n] = '\0';
    return {buffer, n};
}

bool MarkerExchange::send(char subtype, MarkerOperation operation, int count, int index,
                          std::int64_t lat, std::int64_t lon, std::string_view name) {
    char buffer[128];
    const std::string_view line = Compose(subtype, operation, count, index, lat, lon, name, buffer);
    return !line.empty() && port_ != nullptr && port_->sendMarkerLine(line);
}

bool MarkerExchange::sendCommand(MarkerOperation operation, int count, int index,
                                 const MarkerRecord& r) {
    const std::int64_t lat = ToMillionths(r.latitude);
    const std::int64_t lon = ToMillionths(r.longitude);
    // Every command is followed by the end-of-command sentence.
    const bool sent = send('C', operation, count, index, lat, lon, r.nameText());
    return send('C', MarkerOperation::End, count, index, lat, lon, r.nameText()) && sent;
}

bool MarkerExchange::queryList() {
    clearDevice();
    return send('Q', MarkerOperation::List, kQueryAll, kQueryAll, 0, 0, {});
}

bool MarkerExchange::canSendToDevice(int viewerIndex) const {
    if (!viewer_.valid(viewerIndex)) return false;
    return viewer_.at(viewerIndex).deviceIndex >= 0 || count_ < kMaxDeviceMarkers;
}

bool MarkerExchange::sendToDevice(int viewerIndex) {
    if (!canSendToDevice(viewerIndex)) return false;
    const MarkerRecord& r = viewer_.at(viewerIndex);
    if (r.deviceIndex < 0) return sendCommand(MarkerOperation::Add, count_, -1, r);
    return sendCommand(MarkerOperation::Modify, count_, r.deviceIndex, r);
}

bool MarkerExchange::deleteOnDevice(int row) {
    if (!deviceValid(row)) return false;
    const MarkerRecord& r = device(row).record;
    return sendCommand(MarkerOperation::Delete, count_, r.deviceIndex, r);
}

bool MarkerExchange::modifyOnDevice(int row, const MarkerRecord& edited) {
    if (!deviceValid(row)) return false;
    return sendCommand(MarkerOperation::Modify, count_, device(row).record.deviceIndex, edited);
}

int MarkerExchange::copyToViewer(int row) {
    if (!deviceValid(row)) return -1;
    const MarkerRecord& r = device(row).record;
    for (int i = 0; i < viewer_.count(); ++i) {
        if (viewer_.at(i).deviceIndex + 1 == row + 1) {
            viewer_.replace(i, r);
            return i;
        }
    }
    if (!viewer_.add(r)) return -1;
    return viewer_.count() - 1;
}

bool MarkerExchange::linkViewerMarkers(std::int64_t lat, std::int64_t lon, int index) {
    bool changed = false;
    for (int i = 0; i < viewer_.count(); ++i) {
        MarkerRecord& v = viewer_.at(i);
        if (SamePoint(v, lat, lon) && v.deviceIndex != index) {
            v.deviceIndex = static_cast<std::int16_t>(index);
            changed = true;
        }
    }
    return changed;
}

MarkerReportResult MarkerExchange::onSentence(char subtype, const codec::Mrk& mrk) {
    if (subtype != 'R') return {};
    const auto operation = static_cast<MarkerOperation>(mrk.operation);
    if (operation == MarkerOperation::End) return {};
    DeviceMarker m;
    m.latitude = mrk.latitude;
    m.longitude = mrk.longitude;
    const bool onGlobe = mrk.latitude >= -kMaxLatitude && mrk.latitude <= kMaxLatitude &&
                         mrk.longitude >= -kMaxLongitude && mrk.longitude <= kMaxLongitude;
    if (!onGlobe) return {};
    m.record.setName(mrk.name);
    m.record.latitude = static_cast<float>(static_cast<double>(mrk.latitude) * 0.000001);
    m.record.longitude = static_cast<float>(static_cast<double>(mrk.longitude) * 0.000001);
    const bool indexOk = mrk.deviceIndex >= -1 && mrk.deviceIndex < kMaxDeviceMarkers;
    m.record.deviceIndex = static_cast<std::int16_t>(indexOk ? mrk.deviceIndex : -1);
    switch (operation) {
        case MarkerOperation::Add:
            return onAdded(m);
        case MarkerOperation::Modify:
            return onModified(m);
        case MarkerOperation::Delete:
            return onDeleted(m);
        case MarkerOperation::ListEntry:
            return onListEntry(m, mrk.count);
        default:
            return {};
    }
}

MarkerReportResult MarkerExchange::onAdded(const DeviceMarker& reported) {
    // A full list takes nothing more: the transponder holds no more either.
    if (count_ >= kMaxDeviceMarkers) return {};
    DeviceMarker m = reported;
    m.record.deviceIndex = count_;
    device_[static_cast<std::size_t>(count_)] = m;
    ++count_;
    MarkerReportResult result;
    result.deviceChanged = true;
    result.viewerChanged = linkViewerMarkers(m.latitude, m.longitude, count_ - 1);
    return result;
}

MarkerReportResult MarkerExchange::onModified(const DeviceMarker& m) {
    if (m.record.deviceIndex < 0) return {};
    for (int row = 0; row < count_; ++row) {
        DeviceMarker& d = device_[static_cast<std::size_t>(row)];
        if (d.record.deviceIndex != m.record.deviceIndex) continue;
        d = m;
        MarkerReportResult result;
        result.deviceChanged = true;
        return result;
    }
    return {};
}

MarkerReportResult MarkerExchange::onDeleted(const DeviceMarker& m) {
    if (m.record.deviceIndex < 0) return {};
    // The record at the reported position; of several at one point, the one
    // with the reported index.
    int found = -1;
    for (int row = 0; row < count_; ++row) {
        const DeviceMarker& d = device_[static_cast<std::size_t>(row)];
        if (d.latitude != m.latitude || d.longitude != m.longitude) continue;
        if (found < 0 || d.record.deviceIndex == m.record.deviceIndex) found = row;
    }
    if (found < 0) return {};
    const int removedIndex = device_[static_cast<std::size_t>(found)].record.deviceIndex;
    for (int row = found; row + 1 < count_; ++row)
        device_[static_cast<std::size_t>(row)] = device_[static_cast<std::size_t>(row + 1)];
    --count_;
    device_[static_cast<std::size_t>(count_)] = DeviceMarker{};
    MarkerReportResult result;
    result.deviceChanged = true;
    // The transponder's later markers moved up by one as well.
    for (int row = found; row < count_; ++row) {
        MarkerRecord& d = device_[static_cast<std::size_t>(row)].record;
        if (d.deviceIndex > removedIndex) --d.deviceIndex;
    }
    for (int i = 0; i < viewer_.count(); ++i) {
        MarkerRecord& v = viewer_.at(i);
        if (v.deviceIndex > removedIndex) {
            --v.deviceIndex;
            result.viewerChanged = true;
        } else if (v.deviceIndex == removedIndex) {
            v.deviceIndex = -1;
            result.viewerChanged = true;
        }
    }
    return result;
}

MarkerReportResult MarkerExchange::onListEntry(const DeviceMarker& m, int count) {
    MarkerReportResult result;
    result.viewerChanged = linkViewerMarkers(m.latitude, m.longitude, m.record.deviceIndex);
    if (count_ < kMaxDeviceMarkers) {
        device_[static_cast<std::size_t>(count_)] = m;
        ++count_;
        result.deviceChanged = true;
    }
    if (count_ != count) return result;
    result.listComplete = true;
    // The whole list is known now: a viewer marker still linked to an index at
    // which the transponder holds a different point is linked no more (a
    // modify command would overwrite that other marker).
    for (int i = 0; i < viewer_.count(); ++i) {
        MarkerRecord& v = viewer_.at(i);
        if (v.deviceIndex < 0) continue;
        bool confirmed = false;
        for (int row = 0; row < count_ && !confirmed; ++row) {
            const DeviceMarker& d = device_[static_cast<std::size_t>(row)];
            confirmed =
                d.record.deviceIndex == v.deviceIndex && SamePoint(v, d.latitude, d.longitude);
        }
        if (!confirmed) {
            v.deviceIndex = -1;
            result.viewerChanged = true;
        }
    }
    return result;
}

}  // namespace norq::nav
