// The message log: the received, replayed and sent sentence lines that the log
// window shows while its "Enable Log" box is ticked, plus the TCP/IP
// disconnect notes, which are always added. The log keeps the newest
// kMaxLines lines, so a log left on during a long watch cannot use up the
// memory; the window shows what the log holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace norq::comm {

// The window that shows the log; told when lines came or went.
class MessageLogView {
  public:
    virtual ~MessageLogView() = default;
    virtual void onLogChanged() = 0;
};

class MessageLog {
  public:
    static constexpr std::size_t kMaxLines = 100000;

    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    void setView(MessageLogView* view) { view_ = view; }

    // Adds the line while "Enable Log" is ticked.
    void add(std::string_view line) {
        if (enabled_) addAlways(line);
    }
    // Adds the line whether or not "Enable Log" is ticked.
    void addAlways(std::string_view line);
    void clear();

    std::size_t size() const { return lines_.size(); }
    const std::string& line(std::size_t index) const { return lines_[index]; }
    // Lines ever added (so a view can tell the new ones) and lines dropped at the front.
    std::uint64_t added() const { return added_; }
    std::uint64_t dropped() const { return dropped_; }
    // Times the log was cleared.
    std::uint64_t clears() const { return clears_; }

    // Every line ended by CR LF; the file is replaced atomically. False when it
    // cannot be written (the old file then stays as it was).
    bool saveTo(const std::string& path) const;

  private:
    std::deque<std::string> lines_;
    bool enabled_ = false;
    std::uint64_t added_ = 0;
    std::uint64_t dropped_ = 0;
    std::uint64_t clears_ = 0;
    MessageLogView* view_ = nullptr;
};

}  // namespace norq::comm
