#include "comm/MessageLog.h"

#include "base/Files.h"

namespace norq::comm {

void MessageLog::addAlways(std::string_view line) {
    if (lines_.size() >= kMaxLines) {
        lines_.pop_front();
        ++dropped_;
    }
    lines_.emplace_back(line);
    ++added_;
    if (view_ != nullptr) view_->onLogChanged();
}

void MessageLog::clear() {
    dropped_ += lines_.size();
    ++clears_;
    lines_.clear();
    if (view_ != nullptr) view_->onLogChanged();
}

bool MessageLog::saveTo(const std::string& path) const {
    std::string text;
    std::size_t size = 0;
    for (const std::string& line : lines_)
        size += line.size() + 2;
    text.reserve(size);
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return base::WriteFileAtomically(path, text);
}

}  // namespace norq::comm
